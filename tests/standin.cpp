// Stand-in for the started programs. Usage: standin TAG [HOLD_MS [EXIT [DOCUMENT]]]. It appends
// to the file STANDIN_LOG names "TAG TICK folder|=C: entry|start-up flags|show field|backdrop
// visible|colour near the screen's bottom right corner|DOCUMENT", holds HOLD_MS reading messages
// and ends with EXIT.
// TAG "churn": for HOLD_MS it makes and destroys windows.
#include "launch/message_waits.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
    int x = GetSystemMetrics(SM_CXSCREEN) - 2, y = GetSystemMetrics(SM_CYSCREEN) - 2;
    FILE *log = fopen(getenv("STANDIN_LOG"), "a");
    fprintf(log, "%s %lu %s|%s|%lu|%u|%d|%06lx|%s\n", argc > 1 ? argv[1] : "-", GetTickCount(),
            folder, drive, startup.dwFlags, startup.wShowWindow,
            IsWindowVisible(FindWindowA("Korvane App", "Korvane Window")),
            GetPixel(GetDC(NULL), x, y), argc > 4 ? argv[4] : "");
    fclose(log);
    SleepServicing(hold);
    return argc > 3 ? atoi(argv[3]) : 0;
}
