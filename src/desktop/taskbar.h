// The taskbars of every monitor: the main one, those of the other monitors, and the separate
// Start button of Windows Vista and 7.
#pragma once
#include <windows.h>

// Hides every taskbar window that shows, asked of Explorer's thread without waiting on it,
// and remembers it. Returns how many were hidden.
int HideTaskbars();

// Shows again the taskbar windows HideTaskbars hid (not one that was hidden before), once.
// Returns how many.
int ShowHiddenTaskbars();
