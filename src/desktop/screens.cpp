#include "desktop/screens.h"

enum {
    POINTS_ACROSS = 24, // the points read of a window, spread evenly over its client area
    POINTS_DOWN = 16,
    DISPLAYS_OFF = 2, // SC_MONITORPOWER's values
    DISPLAYS_ON = -1,
};

static void CopyRect(int32_t to[4], const RECT *from) {
    to[0] = from->left, to[1] = from->top, to[2] = from->right, to[3] = from->bottom;
}

static bool ReadMonitor(HMONITOR handle, MonitorPlace *monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(handle, &info))
        return false;
    CopyRect(monitor->full, &info.rcMonitor);
    CopyRect(monitor->work, &info.rcWork);
    monitor->primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    return true;
}

struct MonitorList {
    MonitorPlace *monitors;
    size_t count, max;
};

static BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM listParam) {
    MonitorList *list = (MonitorList *)listParam;
    if (list->count < list->max && ReadMonitor(handle, &list->monitors[list->count]))
        list->count++;
    return TRUE;
}

size_t ListMonitors(MonitorPlace *monitors, size_t max) {
    MonitorList list = {monitors, 0, max};
    EnumDisplayMonitors(NULL, NULL, AddMonitor, (LPARAM)&list);
    OrderMonitors(monitors, list.count);
    return list.count;
}

bool MonitorOfWindow(HWND window, MonitorPlace *monitor) {
    return ReadMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), monitor);
}

void SwitchDisplays(HWND window, bool on) {
    SendMessageW(window, WM_SYSCOMMAND, SC_MONITORPOWER, on ? DISPLAYS_ON : DISPLAYS_OFF);
    if (!on)
        return;
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
}

// The screen and the points read from it, kept for the run: made once, not at every look.
static HDC shown, copy;
static uint32_t *points;

static bool MakePointCopy() {
    // A display context of the whole virtual screen, which may be kept (GetDC's may not).
    shown = CreateDCW(L"DISPLAY", NULL, NULL, NULL);
    if (shown == NULL)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = POINTS_ACROSS;
    info.bmiHeader.biHeight = -POINTS_DOWN;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(shown, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    copy = bitmap != NULL ? CreateCompatibleDC(shown) : NULL;
    if (copy == NULL) { // tried again at the next look
        if (bitmap != NULL)
            DeleteObject(bitmap);
        DeleteDC(shown);
        return false;
    }
    SelectObject(copy, bitmap);
    SetStretchBltMode(copy, COLORONCOLOR); // the points as they are, not blended
    points = (uint32_t *)bits;
    return true;
}

bool ShowsOneColour(HWND window) {
    RECT area, screen;
    GetClientRect(window, &area);
    MapWindowPoints(window, NULL, (POINT *)&area, 2);
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    SetRect(&screen, left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (!IntersectRect(&area, &area, &screen))
        return false;
    // A row of the screen for each line of points: what is copied stays small, whatever the
    // window's size.
    int width = area.right - area.left, height = area.bottom - area.top;
    bool one = copy != NULL || MakePointCopy();
    for (int row = 0; row < POINTS_DOWN && one; row++)
        one = StretchBlt(copy, 0, row, POINTS_ACROSS, 1, shown, area.left,
                         area.top + (2 * row + 1) * height / (2 * POINTS_DOWN), width, 1,
                         SRCCOPY) != FALSE;
    return one && GdiFlush() &&
           IsOneColour(points, POINTS_ACROSS * POINTS_DOWN, ONE_COLOUR_TOLERANCE);
}
