#pragma once
// Resource numbers of the drop-down list's drop button pictures (this control owns 1100-1199).

// Each look at the four screen scales, under consecutive ids.
#define IDB_DROP_BUTTON_NORMAL 1100
#define IDB_DROP_BUTTON_HOVER 1104
#define IDB_DROP_BUTTON_PRESSED 1108
#define IDB_DROP_BUTTON_DISABLED 1112
