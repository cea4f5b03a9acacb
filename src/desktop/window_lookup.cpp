#include "desktop/window_lookup.h"
#include "launch/launch_settings.h"
#include "launch/text.h"

HWND FindWindowByTitle(const char *title, HWND ignored) {
    for (HWND window = GetTopWindow(NULL); window != NULL;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == ignored)
            continue;
        char windowTitle[VALUE_CHARS];
        if (GetWindowTextA(window, windowTitle, sizeof windowTitle) == 0)
            windowTitle[0] = '\0';
        if (TextEqualsNoCase(windowTitle, title))
            return window;
    }
    return NULL;
}
