#include "desktop/taskbar.h"
#include <wchar.h>

enum { REMEMBERED_TASKBARS = 32 };

// What this launcher hid: only those are shown again at its end. Explorer started anew makes
// new windows, which are hidden and remembered in turn.
static HWND hidden[REMEMBERED_TASKBARS];
static int hiddenCount;

static void Remember(HWND window) {
    for (int slot = 0; slot < hiddenCount; slot++)
        if (hidden[slot] == window || !IsWindow(hidden[slot])) {
            hidden[slot] = window;
            return;
        }
    if (hiddenCount < REMEMBERED_TASKBARS)
        hidden[hiddenCount++] = window;
}

static int HideOne(HWND window) {
    if (!IsWindowVisible(window) || !ShowWindowAsync(window, SW_HIDE))
        return 0;
    Remember(window);
    return 1;
}

// Windows Vista and 7 show the Start button as a top-level window of its own, of the class
// "Button", made by the taskbar's thread; its title differs by language, its class does not.
static BOOL CALLBACK HideStartButton(HWND window, LPARAM countParam) {
    wchar_t name[8];
    if (GetClassNameW(window, name, 8) && wcscmp(name, L"Button") == 0)
        *(int *)countParam += HideOne(window);
    return TRUE;
}

int HideTaskbars() {
    int count = 0;
    static const wchar_t *const classes[] = {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"};
    for (const wchar_t *name : classes) {
        for (HWND bar = NULL; (bar = FindWindowExW(NULL, bar, name, NULL)) != NULL;) {
            int hid = HideOne(bar);
            count += hid;
            // The main taskbar's Start button comes and goes with it: looked for when the
            // taskbar itself showed.
            DWORD thread = GetWindowThreadProcessId(bar, NULL);
            if (hid > 0 && name == classes[0] && thread != 0)
                EnumThreadWindows(thread, HideStartButton, (LPARAM)&count);
        }
    }
    return count;
}

int ShowHiddenTaskbars() {
    int count = 0;
    for (int slot = 0; slot < hiddenCount; slot++)
        if (IsWindow(hidden[slot]) && ShowWindowAsync(hidden[slot], SW_SHOWNA))
            count++;
    hiddenCount = 0;
    return count;
}
