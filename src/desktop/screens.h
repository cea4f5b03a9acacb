// The monitors as the show sees them: their list in the order of their numbers, the one a
// window is on, the displays' power, and what a window shows on them.
#pragma once
#include "text/screen_values.h"
#include <windows.h>

enum { LISTED_MONITORS = 16 };

// Up to max monitors into monitors, numbered as OrderMonitors says. Returns how many.
size_t ListMonitors(MonitorPlace *monitors, size_t max);

// The monitor window is on (the nearest when it is on none). False when it cannot be told.
bool MonitorOfWindow(HWND window, MonitorPlace *monitor);

// Switches every display off or on through the window procedure of window (the backdrop's),
// as the system menu would. On, a mouse move of no distance wakes displays that Windows 8 and
// later keep off until some input comes.
void SwitchDisplays(HWND window, bool on);

// Whether the client area of window, as the screen shows it now, is one colour: read at a few
// hundred points spread over it. False when there is nothing of it on the screen to read.
bool ShowsOneColour(HWND window);
