#pragma once
// Resource numbers of the About picture (the About window owns 1600-1699). Shared by the
// resource script and the code, so plain #defines only.

// The picture at 100, 125, 150 and 200 %, in that order.
#define IDB_ABOUT_PICTURE 1600
