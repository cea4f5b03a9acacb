// Looking up top-level windows: by their title, a program's main window, a program's windows.
#pragma once
#include <windows.h>

// The first top-level window from the top of the Z-order, of any process, hidden ones
// included, whose title (its first 149 characters) equals title with A-Z compared without
// case; ignored is passed over. NULL when there is none.
HWND FindWindowByTitle(const char *title, HWND ignored);

// The top visible top-level window that is not topmost, from the top of the Z-order: on
// Windows the very top is often a topmost shell window (the taskbar, a hidden tooltip). NULL
// when there is none.
HWND FindTopWindow();

// The main window of a program made of the count processes processIds: a visible top-level
// window without owner of any of them, the first from the top of the Z-order. NULL when
// they show none.
HWND FindMainWindow(const DWORD *processIds, size_t count);

// Asks every visible top-level window of the count processes processIds to close (WM_CLOSE,
// posted: the program may save its work, or refuse). Returns how many were asked.
int AskWindowsToClose(const DWORD *processIds, size_t count);
