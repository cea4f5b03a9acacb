// Looking up top-level windows by their title.
#pragma once
#include <windows.h>

// The first top-level window from the top of the Z-order, of any process, hidden ones
// included, whose title (its first 149 characters) equals title with A-Z compared without
// case; ignored is passed over. NULL when there is none.
HWND FindWindowByTitle(const char *title, HWND ignored);
