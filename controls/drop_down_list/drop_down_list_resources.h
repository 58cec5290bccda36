#pragma once
// Resource numbers of the drop-down list's drop button pictures (this control owns 1100-1199).

#define IDB_DROP_BUTTON_NORMAL 1100
#define IDB_DROP_BUTTON_HOVER 1101
#define IDB_DROP_BUTTON_PRESSED 1102
#define IDB_DROP_BUTTON_DISABLED 1103
