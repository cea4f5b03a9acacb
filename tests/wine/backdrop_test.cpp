// The backdrop as the screen shows it: real windows, real pixels, a real click.
#include "desktop/backdrop.h"
#include "desktop/window_lookup.h"
#include "wine_test_support.h"
#include <gtest/gtest.h>

namespace {

HINSTANCE Instance() {
    return GetModuleHandleA(NULL);
}

// Reads and dispatches this thread's messages for ms milliseconds.
void PumpFor(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while ((int)(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

// The screen's colour at x,y once it shows expected, or what it shows after 2 s.
COLORREF ScreenPixel(int x, int y, COLORREF expected) {
    HDC screen = GetDC(NULL);
    COLORREF seen = CLR_INVALID;
    for (int i = 0; i < 100 && seen != expected; i++) {
        PumpFor(20);
        seen = GetPixel(screen, x, y);
    }
    ReleaseDC(NULL, screen);
    return seen;
}

HWND MakeBackdrop(BackdropColor color, int showCommand) {
    if (!RegisterBackdropClass(Instance(), &color))
        return NULL;
    HWND window = NULL;
    if (!CreateBackdropWindow(Instance(), showCommand, &window))
        return NULL;
    return window;
}

void RemoveBackdrop(HWND window) {
    DestroyWindow(window);
    UnregisterClassA("Korvane App", Instance());
}

struct ColorCase {
    const char *name;
    BackdropColor color;
    COLORREF expected;
};

TEST(Backdrop, ScreenShowsTheConfiguredColour) {
    const ColorCase cases[] = {
        {"red", {255, 0, 0}, RGB(255, 0, 0)},
        {"red out of range", {256, 0, 0}, RGB(0, 0, 0)},
        {"blue below range", {0, 0, -1}, RGB(0, 0, 0)},
        {"defaults", {0, 0, 0}, RGB(0, 0, 0)},
        {"dark blue", {0, 0, 128}, RGB(0, 0, 128)},
        {"mixed", {18, 200, 77}, RGB(18, 200, 77)},
    };
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const POINT points[] = {{cx / 2, cy / 2}, {10, 10}, {cx - 10, cy - 10}};
    for (const ColorCase &c : cases) {
        // A white window underneath shows through anything the backdrop fails to paint.
        HWND under = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, NULL,
                                     NULL, Instance(), NULL);
        PumpFor(50);
        HWND backdrop = MakeBackdrop(c.color, SW_SHOWNORMAL);
        ASSERT_TRUE(backdrop != NULL) << c.name;
        for (const POINT &p : points)
            EXPECT_EQ(c.expected, ScreenPixel(p.x, p.y, c.expected))
                << c.name << " at " << p.x << "," << p.y;
        RemoveBackdrop(backdrop);
        DestroyWindow(under);
    }
}

TEST(Backdrop, FullScreenPopupWithThinBorder) {
    HWND backdrop = MakeBackdrop({0, 0, 0}, SW_SHOWNORMAL);
    ASSERT_TRUE(backdrop != NULL);
    char text[64] = "";
    GetClassNameA(backdrop, text, sizeof text);
    EXPECT_STREQ("Korvane App", text);
    GetWindowTextA(backdrop, text, sizeof text);
    EXPECT_STREQ("Korvane Window", text);
    EXPECT_EQ(backdrop, FindWindowA("Korvane App", "Korvane Window"));

    LONG style = GetWindowLongA(backdrop, GWL_STYLE);
    EXPECT_EQ((LONG)(WS_POPUP | WS_BORDER), style & (WS_POPUP | WS_BORDER));
    EXPECT_EQ(0, style & WS_DLGFRAME) << "no caption";
    RECT rect;
    GetWindowRect(backdrop, &rect);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), rect.bottom);
    EXPECT_TRUE(IsWindowVisible(backdrop));
    RemoveBackdrop(backdrop);
}

TEST(Backdrop, HiddenWithShowCommandZeroButFindable) {
    HWND backdrop = MakeBackdrop({255, 0, 0}, SW_HIDE);
    ASSERT_TRUE(backdrop != NULL);
    EXPECT_FALSE(IsWindowVisible(backdrop));
    EXPECT_EQ(backdrop, FindWindowByTitle("Korvane Window", NULL));
    EXPECT_EQ(NULL, FindWindowByTitle("KORVANE WINDOW", backdrop)) << "the run's own backdrop";
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    PumpFor(100);
    HDC screen = GetDC(NULL);
    EXPECT_NE(RGB(255, 0, 0), GetPixel(screen, cx / 2, cy / 2));
    ReleaseDC(NULL, screen);
    RemoveBackdrop(backdrop);
}

TEST(Backdrop, ClickLeavesTheActiveWindowActive) {
    HWND backdrop = MakeBackdrop({0, 0, 128}, SW_SHOWNORMAL);
    ASSERT_TRUE(backdrop != NULL);
    EXPECT_EQ(MA_NOACTIVATEANDEAT, SendMessageA(backdrop, WM_MOUSEACTIVATE, (WPARAM)backdrop,
                                                MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));

    HWND active = CreateWindowExA(0, "STATIC", "active", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                  200, 100, NULL, NULL, Instance(), NULL);
    SetForegroundWindow(active);
    SetActiveWindow(active);
    PumpFor(100);
    ASSERT_EQ(active, GetActiveWindow());

    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT clicks[3] = {};
    for (INPUT &in : clicks) {
        in.type = INPUT_MOUSE;
        in.mi.dx = 65535 * 3 / 4;
        in.mi.dy = 65535 * 3 / 4;
    }
    clicks[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    clicks[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ASSERT_EQ(3u, SendInput(3, clicks, sizeof(INPUT)));
    PumpFor(300);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(backdrop, WindowFromPoint(cursor))
        << "the click landed on the backdrop at " << cursor.x << "," << cursor.y << " of " << cx
        << "x" << cy;
    EXPECT_EQ(active, GetActiveWindow());
    EXPECT_EQ(active, GetForegroundWindow());
    DestroyWindow(active);
    RemoveBackdrop(backdrop);
}

} // namespace
