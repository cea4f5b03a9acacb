// The backdrop: a full-screen popup window in one solid colour that covers the desktop
// while the launcher waits on its programs.
#pragma once
#include <stdint.h>
#include <windows.h>

// Other programs find the backdrop by these.
extern const char kBackdropClassName[]; // "Korvane App"
extern const char kBackdropTitle[];     // "Korvane Window"

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

// Ignores WM_CLOSE and mouse activation; everything else as any window.
LRESULT CALLBACK BackdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
