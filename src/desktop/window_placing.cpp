#include "desktop/window_placing.h"

static const LONG FRAME_STYLES = WS_CAPTION | WS_THICKFRAME;

PlaceResult PlaceWindow(HWND window, const MonitorPlace *monitor, bool fullScreen) {
    if (IsHungAppWindow(window))
        return PLACE_KEPT;
    RECT now;
    GetWindowRect(window, &now);
    int32_t target[4];
    if (fullScreen)
        CopyMemory(target, monitor->full, sizeof target);
    else if (IsZoomed(window))
        CopyMemory(target, monitor->work, sizeof target);
    else
        CentreIn(monitor->work, now.right - now.left, now.bottom - now.top, target);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    bool framed = fullScreen && (style & FRAME_STYLES) != 0;
    bool away = fullScreen && IsIconic(window);
    if (!framed && !away && now.left == target[0] && now.top == target[1] &&
        now.right == target[2] && now.bottom == target[3])
        return PLACE_KEPT;
    if (framed) {
        SetLastError(0);
        if (SetWindowLongW(window, GWL_STYLE, style & ~FRAME_STYLES) == 0 && GetLastError() != 0)
            return PLACE_REFUSED;
    }
    // Asked of the window's own thread, not waited for: a program busy for a moment never
    // holds the launcher.
    if (away)
        ShowWindowAsync(window, SW_SHOWNOACTIVATE);
    UINT flags =
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS | (framed ? SWP_FRAMECHANGED : 0);
    if (!SetWindowPos(window, NULL, target[0], target[1], target[2] - target[0],
                      target[3] - target[1], flags))
        return PLACE_REFUSED;
    return PLACE_MOVED;
}
