#pragma once
// Resource numbers of the check box's pictures (this control owns 1000-1099). Shared by the
// resource script and the code, so plain #defines only.

// Twelve glyphs by slot (4 x value + look), each at the four screen scales: the glyph of
// slot s at scale k is IDB_CHECK_BOX_GLYPH0 + 4 x s + k. The background follows them.
#define IDB_CHECK_BOX_GLYPH0 1000
#define IDB_CHECK_BOX_BACKGROUND 1048
