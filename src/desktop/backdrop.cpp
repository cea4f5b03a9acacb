#include "desktop/backdrop.h"
#include "desktop/taskbar.h"
#include "platform/run_report.h"
#include "platform/show_wait.h"
#include "resources/resource_ids.h"

const wchar_t kBackdropClassName[] = L"Korvane App";
const wchar_t kBackdropTitle[] = L"Korvane Window";

enum { WM_BACKDROP_PICTURE = WM_APP + 1 }; // lParam: the BackdropPicture read

// Sent to every top-level window when Explorer has started anew and shows its taskbar again.
static UINT taskbarCreated;

void ShowBackdropPicture(HWND backdrop, const BackdropPicture *picture) {
    PostMessageW(backdrop, WM_BACKDROP_PICTURE, 0, (LPARAM)picture);
}

static bool IsComponent(int32_t value) {
    return value >= 0 && value <= 255;
}

bool IsSolidColor(const BackdropColor *color) {
    return IsComponent(color->red) && IsComponent(color->green) && IsComponent(color->blue);
}

bool RegisterBackdropClass(HINSTANCE instance, const BackdropColor *color) {
    HBRUSH brush;
    if (IsSolidColor(color))
        brush = CreateSolidBrush(RGB(color->red, color->green, color->blue));
    else
        brush = (HBRUSH)GetStockObject(BLACK_BRUSH);

    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BackdropWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BACKDROP));
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = kBackdropClassName;
    taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    // Explorer runs at a lower integrity level than an elevated launcher: let its word through.
    if (taskbarCreated != 0)
        ChangeWindowMessageFilter(taskbarCreated, MSGFLT_ADD);
    return RegisterClassW(&windowClass) != 0;
}

// The area to cover, in screen coordinates: the primary monitor, or the virtual screen
// that holds every monitor.
static RECT BackdropArea(const BackdropLook *look) {
    RECT area;
    if (look->primaryOnly) {
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    } else {
        int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        SetRect(&area, left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    }
    return area;
}

bool CreateBackdropWindow(HINSTANCE instance, int showCommand, BackdropLook *look, HWND *window) {
    RECT area = BackdropArea(look);
    *window = CreateWindowExW(0, kBackdropClassName, kBackdropTitle, WS_POPUP | WS_BORDER,
                              area.left, area.top, area.right - area.left, area.bottom - area.top,
                              NULL, NULL, instance, (void *)look);
    if (*window == NULL)
        return false;
    ShowWindow(*window, showCommand);
    UpdateWindow(*window);
    return true;
}

// The look handed over at creation, kept with the window.
static BackdropLook *LookOf(HWND window) {
    return (BackdropLook *)GetWindowLongPtrW(window, GWLP_USERDATA);
}

struct PictureDrawing {
    HWND window;
    HDC target, source;
    const BackdropLook *look;
};

// Draws the picture centred on one monitor, shrunk with its proportions kept when the
// monitor is smaller than it, never enlarged. Monitors the backdrop does not cover are
// passed over.
static BOOL CALLBACK DrawOnMonitor(HMONITOR, HDC, LPRECT monitor, LPARAM drawingParam) {
    const PictureDrawing *drawing = (const PictureDrawing *)drawingParam;
    RECT covered, inWindow = *monitor;
    GetWindowRect(drawing->window, &covered);
    if (!IntersectRect(&covered, &covered, monitor))
        return TRUE;
    MapWindowPoints(NULL, drawing->window, (POINT *)&inWindow, 2);
    int width = inWindow.right - inWindow.left, height = inWindow.bottom - inWindow.top;
    int pictureWidth = drawing->look->picture.width, pictureHeight = drawing->look->picture.height;
    int drawWidth = pictureWidth, drawHeight = pictureHeight;
    if (drawWidth > width) {
        drawHeight = MulDiv(drawHeight, width, drawWidth);
        drawWidth = width;
    }
    if (drawHeight > height) {
        drawWidth = MulDiv(drawWidth, height, drawHeight);
        drawHeight = height;
    }
    StretchBlt(drawing->target, inWindow.left + (width - drawWidth) / 2,
               inWindow.top + (height - drawHeight) / 2, drawWidth, drawHeight, drawing->source, 0,
               0, pictureWidth, pictureHeight, SRCCOPY);
    return TRUE;
}

static void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    const BackdropLook *look = LookOf(window);
    if (look->picture.bitmap != NULL) {
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ previous = SelectObject(source, look->picture.bitmap);
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, NULL);
        PictureDrawing drawing = {window, target, source, look};
        EnumDisplayMonitors(NULL, NULL, DrawOnMonitor, (LPARAM)&drawing);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    EndPaint(window, &paint);
}

// A monitor added or removed, or a resolution or layout changed: cover the new area.
static void FollowDisplay(HWND window) {
    RECT area = BackdropArea(LookOf(window));
    SetWindowPos(window, NULL, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

static void HideTaskbarsAgain(HWND window) {
    if (LookOf(window)->hideTaskbar && HideTaskbars() > 0)
        WriteRunLog(LookOf(window)->log, "Explorer started anew: the taskbar hidden again");
}

static void ShowTaskbarsAtEnd(HWND window) {
    if (ShowHiddenTaskbars() > 0)
        WriteRunLog(LookOf(window)->log, "the taskbar shown again");
}

LRESULT CALLBACK BackdropWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated && taskbarCreated != 0 && LookOf(window) != NULL) {
        HideTaskbarsAgain(window);
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          (LONG_PTR)((const CREATESTRUCTW *)lParam)->lpCreateParams);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
        return 0; // only the run ends the backdrop: not Alt+F4, not another program
    case WM_DESTROY:
        ShowTaskbarsAtEnd(window);
        PostQuitMessage(0);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT; // a click neither activates it nor takes the keyboard
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_QUERYENDSESSION:
        // Nothing is started until Windows says whether the session really ends: a program
        // closed for the log-off must not come back.
        NoteSessionQuestion(true);
        WriteRunLog(LookOf(window)->log, "Windows asks whether the session may end: agreed; "
                                         "nothing is started until it says");
        return TRUE;
    case WM_ENDSESSION:
        // Logging off, shutting down, or an update closing the launcher (ENDSESSION_CLOSEAPP):
        // nothing more is started, the programs are left to Windows, the computer may sleep
        // again. A log-off that was cancelled lets the keeping go on.
        NoteSessionQuestion(false);
        WriteRunLog(LookOf(window)->log, !wParam ? "the Windows session goes on: so does the show"
                                         : (lParam & ENDSESSION_CLOSEAPP)
                                             ? "Windows closes the launcher for an update"
                                             : "the Windows session ends: so does the launcher");
        if (!wParam)
            return 0;
        ShowTaskbarsAtEnd(window);
        LetSleep(LookOf(window)->awake);
        WriteRunEvent(LookOf(window)->log, EVENT_SHOW_ENDS, "end");
        ExitProcess(0);
    case WM_HOTKEY:
        NoteShowEnds();
        PostQuitMessage(0);
        return 0;
    case WM_DISPLAYCHANGE:
        FollowDisplay(window);
        return 0;
    case WM_BACKDROP_PICTURE:
        LookOf(window)->picture = *(const BackdropPicture *)lParam;
        InvalidateRect(window, NULL, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (!LookOf(window)->hideCursor)
            return DefWindowProcW(window, message, wParam, lParam);
        SetCursor(NULL);
        return TRUE;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
