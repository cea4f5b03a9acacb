// The backdrop: a popup window in one solid colour, optionally with a picture on every
// monitor, that covers the desktop while the launcher waits on its programs.
#pragma once
#include <stdint.h>
#include <windows.h>

// Other programs find the backdrop by these.
extern const wchar_t kBackdropClassName[]; // "Korvane App"
extern const wchar_t kBackdropTitle[];     // "Korvane Window"

struct BackdropColor {
    int32_t red;
    int32_t green;
    int32_t blue;
};

// What the backdrop covers and shows besides its colour. It must outlive the window.
struct BackdropLook {
    bool primaryOnly; // the primary monitor only, else every monitor
    bool hideCursor;  // no mouse pointer over the backdrop
    HBITMAP picture;  // drawn centred on each covered monitor; NULL for the colour alone
    int pictureWidth, pictureHeight;
};

// Whether every component lies within 0 to 255; if not, the backdrop is black.
bool IsSolidColor(const BackdropColor *color);

// Registers the "Korvane App" class, painted by a brush of the colour (black when any
// component lies outside 0 to 255). True on success.
bool RegisterBackdropClass(HINSTANCE instance, const BackdropColor *color);

// Reads the picture file (any format the Windows Imaging Component reads: BMP, PNG, JPEG, GIF,
// TIFF...) into look's picture, before the backdrop needs it, so that painting never waits
// on the file. Its transparent parts are blended over the backdrop's colour once, here.
// False, with the reason in *why, and no picture, when it cannot be read.
bool LoadBackdropPicture(const char *fileName, const BackdropColor *color, BackdropLook *look,
                         HRESULT *why);

// Creates the backdrop over the monitors look names, stores its handle in *window, shows
// it with showCommand and paints it at once. It follows display changes until it is
// destroyed. True on success.
bool CreateBackdropWindow(HINSTANCE instance, int showCommand, const BackdropLook *look,
                          HWND *window);

// Ignores WM_CLOSE and mouse activation; takes the new area on a display change; draws the
// picture; ends the launcher at once, with 0, when the session ends; everything else as any
// window.
LRESULT CALLBACK BackdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
