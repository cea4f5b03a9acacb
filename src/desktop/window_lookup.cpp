#include "desktop/window_lookup.h"
#include "platform/wide_text.h"
#include "text/launch_settings.h"
#include "text/text.h"

struct TitleSearch {
    const char *title;
    HWND ignored;
    HWND found;
};

static BOOL CALLBACK CheckTitle(HWND window, LPARAM searchParam) {
    TitleSearch *search = (TitleSearch *)searchParam;
    if (window == search->ignored)
        return TRUE;
    wchar_t wideTitle[VALUE_UNITS];
    if (GetWindowTextW(window, wideTitle, VALUE_UNITS) == 0)
        wideTitle[0] = L'\0';
    char windowTitle[VALUE_CHARS];
    ToUtf8(wideTitle, windowTitle, VALUE_CHARS);
    if (!TextEqualsNoCase(windowTitle, search->title))
        return TRUE;
    search->found = window;
    return FALSE;
}

// EnumWindows takes the list in one go: a walk from window to window would end early when
// the window it stands on is destroyed, and miss the one sought below it.
HWND FindWindowByTitle(const char *title, HWND ignored) {
    TitleSearch search = {title, ignored, NULL};
    EnumWindows(CheckTitle, (LPARAM)&search);
    return search.found;
}

static BOOL CALLBACK CheckTopWindow(HWND window, LPARAM foundParam) {
    if (!IsWindowVisible(window) || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
        return TRUE;
    *(HWND *)foundParam = window;
    return FALSE;
}

HWND FindTopWindow() {
    HWND found = NULL;
    EnumWindows(CheckTopWindow, (LPARAM)&found);
    return found;
}

struct ProcessWindows {
    const DWORD *processIds;
    size_t count;
    HWND found;
    int closing; // -1: looking for the main window; else windows asked to close so far
};

static bool OfProcesses(const ProcessWindows *search, DWORD processId) {
    for (size_t i = 0; i < search->count; i++)
        if (search->processIds[i] == processId)
            return true;
    return false;
}

static BOOL CALLBACK CheckProcessWindow(HWND window, LPARAM searchParam) {
    ProcessWindows *search = (ProcessWindows *)searchParam;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (!OfProcesses(search, processId) || !IsWindowVisible(window))
        return TRUE;
    if (search->closing >= 0) {
        search->closing += PostMessageW(window, WM_CLOSE, 0, 0) != 0;
        return TRUE;
    }
    if (GetWindow(window, GW_OWNER) != NULL)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindMainWindow(const DWORD *processIds, size_t count) {
    ProcessWindows search = {processIds, count, NULL, -1};
    EnumWindows(CheckProcessWindow, (LPARAM)&search);
    return search.found;
}

int AskWindowsToClose(const DWORD *processIds, size_t count) {
    ProcessWindows search = {processIds, count, NULL, 0};
    EnumWindows(CheckProcessWindow, (LPARAM)&search);
    return search.closing;
}
