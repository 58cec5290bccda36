#pragma once
// Resource numbers of the spin box's arrow pictures (this control owns 1200-1299). Slot s at
// scale k (0 for 100 %, 1 for 125 %, 2 for 150 %, 3 for 200 %) is IDB_SPIN_ARROW_FIRST + 4 s + k.

#define IDB_SPIN_ARROW_FIRST 1200
