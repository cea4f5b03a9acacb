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

struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

static BOOL CALLBACK CheckMainWindow(HWND window, LPARAM searchParam) {
    MainWindowSearch *search = (MainWindowSearch *)searchParam;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        GetWindow(window, GW_OWNER) != NULL)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindMainWindow(DWORD processId) {
    MainWindowSearch search = {processId, NULL};
    EnumWindows(CheckMainWindow, (LPARAM)&search);
    return search.found;
}
