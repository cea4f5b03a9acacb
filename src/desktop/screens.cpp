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

bool ShowsOneColour(HWND window) {
    RECT area, screen;
    GetClientRect(window, &area);
    MapWindowPoints(window, NULL, (POINT *)&area, 2);
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    SetRect(&screen, left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (!IntersectRect(&area, &area, &screen))
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = POINTS_ACROSS;
    info.bmiHeader.biHeight = -POINTS_DOWN;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC shown = GetDC(NULL), copy = CreateCompatibleDC(shown);
    void *bits = NULL;
    HBITMAP points = CreateDIBSection(shown, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    bool one = false;
    if (copy != NULL && points != NULL) {
        HGDIOBJ previous = SelectObject(copy, points);
        SetStretchBltMode(copy, COLORONCOLOR); // the points as they are, not blended
        one =
            StretchBlt(copy, 0, 0, POINTS_ACROSS, POINTS_DOWN, shown, area.left, area.top,
                       area.right - area.left, area.bottom - area.top, SRCCOPY) &&
            GdiFlush() &&
            IsOneColour((const uint32_t *)bits, POINTS_ACROSS * POINTS_DOWN, ONE_COLOUR_TOLERANCE);
        SelectObject(copy, previous);
    }
    if (points != NULL)
        DeleteObject(points);
    if (copy != NULL)
        DeleteDC(copy);
    ReleaseDC(NULL, shown);
    return one;
}
