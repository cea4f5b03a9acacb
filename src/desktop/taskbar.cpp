#include "desktop/taskbar.h"
#include <wchar.h>

static int ShowIfNot(HWND window, bool shown) {
    if (window == NULL || (IsWindowVisible(window) != FALSE) == shown)
        return 0;
    return ShowWindowAsync(window, shown ? SW_SHOWNA : SW_HIDE) ? 1 : 0;
}

struct StartButtons {
    bool shown;
    int changed;
};

// Windows Vista and 7 show the Start button as a top-level window of its own, of the class
// "Button", made by the taskbar's thread; its title differs by language, its class does not.
static BOOL CALLBACK ShowStartButton(HWND window, LPARAM buttonsParam) {
    StartButtons *buttons = (StartButtons *)buttonsParam;
    wchar_t name[8];
    if (GetClassNameW(window, name, 8) && wcscmp(name, L"Button") == 0)
        buttons->changed += ShowIfNot(window, buttons->shown);
    return TRUE;
}

int ShowTaskbars(bool shown) {
    HWND main = FindWindowW(L"Shell_TrayWnd", NULL);
    StartButtons buttons = {shown, ShowIfNot(main, shown)};
    for (HWND other = NULL;
         (other = FindWindowExW(NULL, other, L"Shell_SecondaryTrayWnd", NULL)) != NULL;)
        buttons.changed += ShowIfNot(other, shown);
    DWORD thread = main != NULL ? GetWindowThreadProcessId(main, NULL) : 0;
    if (thread != 0)
        EnumThreadWindows(thread, ShowStartButton, (LPARAM)&buttons);
    return buttons.changed;
}
