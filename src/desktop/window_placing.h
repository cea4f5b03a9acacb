// Putting another program's window on a monitor, and keeping it over that monitor whole.
#pragma once
#include "text/screen_values.h"
#include <windows.h>

enum PlaceResult {
    PLACE_KEPT,    // it already was where it belongs, or is not to be touched now
    PLACE_MOVED,   // it has been asked to go there
    PLACE_REFUSED, // Windows does not let the launcher change it (an elevated program's)
};

// Without fullScreen: moves window to the monitor's work area, centred, keeping its size but
// no larger than that area (a maximised one takes the area). With fullScreen: takes its
// caption and frame away and makes it cover the monitor's whole rectangle, restoring it when
// minimised. A window that does not respond is left alone: the launcher waits on nothing
// the program does.
PlaceResult PlaceWindow(HWND window, const MonitorPlace *monitor, bool fullScreen);
