// Stand-in for the started programs. Usage: standin TAG [HOLD_MS [EXIT [DOCUMENT]]]. It appends
// to the file STANDIN_LOG names "TAG TICK folder|=C: entry|start-up flags|show field|backdrop
// visible|pointer shown over it|then per monitor the colours at its bottom right corner, its
// centre and 20 pixels in from its left edge|DOCUMENT", holds HOLD_MS reading messages and
// ends with EXIT.
// TAG "churn": for HOLD_MS it makes and destroys windows.
#include "launch/message_waits.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static BOOL CALLBACK ReadMonitor(HMONITOR, HDC, LPRECT area, LPARAM textParam) {
    char *text = (char *)textParam;
    HDC screen = GetDC(NULL);
    int middle = (area->top + area->bottom) / 2;
    sprintf(text + strlen(text), "|%06lx %06lx %06lx",
            GetPixel(screen, area->right - 2, area->bottom - 2),
            GetPixel(screen, (area->left + area->right) / 2, middle),
            GetPixel(screen, area->left + 20, middle));
    ReleaseDC(NULL, screen);
    return TRUE;
}

int main(int argc, char **argv) {
    DWORD hold = argc > 2 ? atoi(argv[2]) : 0, start = GetTickCount();
    if (argc > 1 && strcmp(argv[1], "churn") == 0) {
        for (HWND windows[16]; GetTickCount() - start < hold;) {
            for (HWND &window : windows)
                window = CreateWindowExA(0, "STATIC", "Churn", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
            for (HWND window : windows)
                DestroyWindow(window);
        }
        return 0;
    }
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    const char *drive = "(no =C:)"; // environment names match without case: look at it as set
    for (const char *entry = GetEnvironmentStringsA(); *entry; entry += strlen(entry) + 1)
        drive = strncmp(entry, "=C:=", 4) == 0 ? entry : drive;
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2); // on it
    SleepServicing(100);
    CURSORINFO cursor = {sizeof cursor, 0, NULL, {0, 0}};
    GetCursorInfo(&cursor);
    char monitors[512] = "";
    EnumDisplayMonitors(NULL, NULL, ReadMonitor, (LPARAM)monitors);
    FILE *log = fopen(getenv("STANDIN_LOG"), "a");
    fprintf(log, "%s %lu %s|%s|%lu|%u|%d %d%s|%s\n", argc > 1 ? argv[1] : "-", GetTickCount(),
            folder, drive, startup.dwFlags, startup.wShowWindow,
            IsWindowVisible(FindWindowA("Korvane App", "Korvane Window")),
            (cursor.flags & CURSOR_SHOWING) && cursor.hCursor != NULL, monitors,
            argc > 4 ? argv[4] : "");
    fclose(log);
    SleepServicing(hold);
    return argc > 3 ? atoi(argv[3]) : 0;
}
