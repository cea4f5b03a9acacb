// The demo show's first program: a window that plays an "intro" for a few seconds and ends.
// Usage: intro.exe [milliseconds]
#include <windows.h>
#include <stdlib.h>

static const char kText[] = "Intro playing...";

static LRESULT CALLBACK IntroWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        HFONT font = CreateFontA(48, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 220, 0));
        DrawTextA(dc, kText, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        DeleteObject(font);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    UINT ms = (UINT)strtoul(commandLine, NULL, 10);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = IntroWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB(90, 0, 60));
    windowClass.lpszClassName = "KorvaneDemoIntro";
    RegisterClassA(&windowClass);
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HWND window =
        CreateWindowExA(0, "KorvaneDemoIntro", "Korvane Demo Intro", WS_POPUP | WS_VISIBLE, cx / 6,
                        cy / 4, cx * 2 / 3, cy / 2, NULL, NULL, instance, NULL);
    SetTimer(window, 1, ms ? ms : 3000, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
