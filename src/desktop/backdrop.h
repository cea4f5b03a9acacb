// The backdrop: a full-screen popup window in one solid colour that covers the desktop
// while the launcher waits on its programs.
#pragma once
#include <stdint.h>
#include <windows.h>

struct BackdropColor {
    int32_t red;
    int32_t green;
    int32_t blue;
};

// Registers the "Korvane App" class, painted by a brush of the colour (black when any
// component lies outside 0 to 255). True on success.
bool RegisterBackdropClass(HINSTANCE instance, const BackdropColor *color);

// Creates the backdrop over the whole screen, stores its handle in *window, shows it with
// showCommand and paints it at once. True on success.
bool CreateBackdropWindow(HINSTANCE instance, int showCommand, HWND *window);

LRESULT CALLBACK BackdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
