// The backdrop: a popup window in one solid colour, optionally with a picture on every
// monitor, that covers the desktop while the launcher waits on its programs.
#pragma once
#include "platform/keep_awake.h"
#include "platform/run_log.h"
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

// A picture for the backdrop, read into a 32-bit bitmap of its size in pixels.
struct BackdropPicture {
    HBITMAP bitmap; // NULL: none
    int width, height;
};

// What the backdrop covers and shows besides its colour. It must outlive the window.
struct BackdropLook {
    bool primaryOnly;        // the primary monitor only, else every monitor
    bool hideCursor;         // no mouse pointer over the backdrop
    BackdropPicture picture; // drawn centred on each covered monitor once it has been read
    RunLog *log;             // where the session's end is told
    AwakeHold *awake;        // given back when the session ends
    bool hideTaskbar;        // TASKBAR 0: hidden again when Explorer starts anew, shown when
                             // the backdrop goes or the session ends
};

// Whether every component lies within 0 to 255; if not, the backdrop is black.
bool IsSolidColor(const BackdropColor *color);

// Registers the "Korvane App" class, painted by a brush of the colour (black when any
// component lies outside 0 to 255). True on success.
bool RegisterBackdropClass(HINSTANCE instance, const BackdropColor *color);

// Reads the picture file (any format the Windows Imaging Component reads: BMP, PNG, JPEG, GIF,
// TIFF...) into *picture, so that painting never waits on the file. Its transparent parts
// are blended over the backdrop's colour once, here. A picture of more than 64 megapixels is
// refused before its pixels are decoded. False, with the reason in *why, and no bitmap, when
// it cannot be read; the size is set whenever it was read.
bool LoadBackdropPicture(const wchar_t *fileName, const BackdropColor *color,
                         BackdropPicture *picture, HRESULT *why);

// Hands the backdrop a picture (read on any thread): it shows from the next paint on.
// The picture's record must outlive the window.
void ShowBackdropPicture(HWND backdrop, const BackdropPicture *picture);

// Creates the backdrop over the monitors look names, stores its handle in *window, shows
// it with showCommand and paints it at once. It follows display changes until it is
// destroyed. True on success.
bool CreateBackdropWindow(HINSTANCE instance, int showCommand, BackdropLook *look, HWND *window);

// Ignores WM_CLOSE and mouse activation; takes the new area on a display change; draws the
// picture once it has been handed over. Agrees when Windows asks whether the session may end,
// and tells the run's wait that the session is undecided until it says: when it ends (an
// update's restart included), the launcher gives back what AWAKE asked and ends at once with
// 0, after a log line, the taskbars shown again when they were hidden. When Explorer starts
// anew it hides the taskbars again if asked to. The exit key tells the run's wait that the show
// ends and asks the thread to quit (WM_QUIT), which also closes an alert that is open. Everything
// else as any window.
LRESULT CALLBACK BackdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
