#include "desktop/backdrop.h"
#include "resources/resource_ids.h"

const char kBackdropClassName[] = "Korvane App";
const char kBackdropTitle[] = "Korvane Window";

static bool IsComponent(int32_t value) {
    return value >= 0 && value <= 255;
}

bool RegisterBackdropClass(HINSTANCE instance, const BackdropColor *color) {
    HBRUSH brush;
    if (IsComponent(color->red) && IsComponent(color->green) && IsComponent(color->blue))
        brush = CreateSolidBrush(RGB(color->red, color->green, color->blue));
    else
        brush = (HBRUSH)GetStockObject(BLACK_BRUSH);

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BackdropWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_BACKDROP));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = kBackdropClassName;
    return RegisterClassA(&windowClass) != 0;
}

bool CreateBackdropWindow(HINSTANCE instance, int showCommand, HWND *window) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    *window = CreateWindowExA(0, kBackdropClassName, kBackdropTitle, WS_POPUP | WS_BORDER, 0, 0,
                              width, height, NULL, NULL, instance, NULL);
    if (*window == NULL)
        return false;
    ShowWindow(*window, showCommand);
    UpdateWindow(*window);
    return true;
}

LRESULT CALLBACK BackdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        return 0; // only the run ends the backdrop: not Alt+F4, not another program
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT; // a click neither activates nor reaches it
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
