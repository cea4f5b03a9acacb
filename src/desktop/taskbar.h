// The taskbars of every monitor: the main one, those of the other monitors, and the separate
// Start button of Windows Vista and 7.
#pragma once
#include <windows.h>

// Hides (shown false) or shows every taskbar window that is not so already, asked of
// Explorer's thread without waiting on it. Returns how many were changed.
int ShowTaskbars(bool shown);
