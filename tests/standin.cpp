// Stand-in for the started programs: standin TAG [HOLD_MS [EXIT [DOCUMENT]]]. Appends to the file
// STANDIN_LOG "TAG TICK-AT-START folder|=C: entry|start-up flags|show field|backdrop
// visible|pointer shown over it|per monitor the colours at its bottom right, centre and 20 px in
// from the left|DOCUMENT" (names in UTF-8), holds HOLD_MS reading messages, ends with EXIT: a
// number, "count" (starts of TAG so far), "crash", "window" (0; a window that ends it with 0 when
// asked to close) or "hang" (a window, and after HOLD_MS no more messages read; "hidehang": the
// window hidden first, as Windows hides a hung one behind its ghost) or "stub" (starts "TAG+2
// HOLD_MS window", and ends at once with 0, as an update stub before the real program; "stub:EXIT":
// the child ends with EXIT; "breakaway": the child started outside the stub's job). With
// STANDIN_KEYS it shows such a window and on leaving (or asked to close: "TAG closed") appends
// there "TAG keys typed into it|whether it showed above the backdrop after at most 1 s". TAG
// "churn": for HOLD_MS it makes and destroys windows. EXIT "pattern": a window like "window" with
// a cross-hatched background in place of one colour.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

static const COLORREF kKeysColour = RGB(10, 200, 10);
static char typed[64];
static int aboveBackdrop = -1;
static const char *tag, *keys;

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

static LRESULT CALLBACK KeysWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && strlen(typed) + 1 < sizeof typed)
        typed[strlen(typed)] = (char)wParam;
    if (message == WM_CLOSE) {
        FILE *record = keys ? fopen(keys, "a") : NULL;
        if (record)
            fprintf(record, "%s closed\n", tag), fclose(record);
        ExitProcess(0);
    }
    if (message == WM_TIMER) { // seen on the screen: its own colour in its middle
        KillTimer(window, 1);
        HDC screen = GetDC(NULL);
        aboveBackdrop = GetPixel(screen, 250, 150) == kKeysColour;
        ReleaseDC(NULL, screen);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static std::string Utf8(const wchar_t *text) {
    char buffer[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    return buffer;
}

// Holds ms, with the messages translated and dispatched so that keys arrive as characters.
static void Hold(DWORD ms) {
    for (DWORD start = GetTickCount(), now; (now = GetTickCount() - start) < ms;) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, ms - now, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

static int StartsSoFar(const char *logName, std::string wanted) {
    FILE *log = fopen(logName, "r");
    int count = 0;
    for (char line[1024]; fgets(line, sizeof line, log);)
        count += strncmp(line, (wanted + " ").c_str(), wanted.size() + 1) == 0;
    fclose(log);
    return count;
}

int main(int argc, char **argv) {
    DWORD hold = argc > 2 ? atoi(argv[2]) : 0, start = GetTickCount();
    tag = argc > 1 ? argv[1] : "-", keys = getenv("STANDIN_KEYS");
    const char *exit = argc > 3 ? argv[3] : "0";
    if (strcmp(tag, "churn") == 0) {
        for (HWND windows[16]; GetTickCount() - start < hold;) {
            for (HWND &window : windows)
                window = CreateWindowExA(0, "STATIC", "Churn", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
            for (HWND window : windows)
                DestroyWindow(window);
        }
        return 0;
    }
    if (strncmp(exit, "stub", 4) == 0 || strcmp(exit, "breakaway") == 0) {
        char self[MAX_PATH] = "";
        GetModuleFileNameA(NULL, self, MAX_PATH);
        std::string line = std::string("\"") + self + "\" " + std::to_string(atoi(tag) + 2) + " " +
                           std::to_string(hold) + " " + (exit[4] == ':' ? exit + 5 : "window");
        STARTUPINFOA child = {};
        child.cb = sizeof child;
        PROCESS_INFORMATION started = {};
        DWORD flags = strcmp(exit, "breakaway") == 0 ? CREATE_BREAKAWAY_FROM_JOB : 0;
        CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, flags, NULL, NULL, &child, &started);
        hold = 0;
    }
    bool hang = !strcmp(exit, "hang") || !strcmp(exit, "hidehang");
    bool pattern = !strcmp(exit, "pattern");
    HWND window = NULL;
    if (keys || !strcmp(exit, "window") || hang || pattern) { // clear of the points read
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = KeysWndProc;
        windowClass.lpszClassName = "StandinKeys";
        windowClass.hbrBackground =
            pattern ? CreateHatchBrush(HS_DIAGCROSS, kKeysColour) : CreateSolidBrush(kKeysColour);
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "StandinKeys", "Stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 100, 60, 300, 150, NULL, NULL, NULL, NULL);
        SetTimer(window, 1, hold < 2000 ? hold / 2 : 1000, NULL);
    }
    // Names as Windows holds them, wide, written in UTF-8.
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::string drive = "(no =C:)"; // environment names match without case: look at it as set
    for (const wchar_t *entry = GetEnvironmentStringsW(); *entry; entry += wcslen(entry) + 1)
        drive = wcsncmp(entry, L"=C:=", 4) == 0 ? Utf8(entry) : drive;
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string document = count > 4 ? Utf8(arguments[4]) : "";
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    if (!keys)
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2); // on it
    Hold(100);
    CURSORINFO cursor = {sizeof cursor, 0, NULL, {0, 0}};
    GetCursorInfo(&cursor);
    char monitors[512] = "";
    EnumDisplayMonitors(NULL, NULL, ReadMonitor, (LPARAM)monitors);
    const char *logName = getenv("STANDIN_LOG");
    FILE *log = fopen(logName, "a");
    fprintf(log, "%s %lu %s|%s|%lu|%u|%d %d%s|%s\n", tag, start, Utf8(folder).c_str(),
            drive.c_str(), startup.dwFlags, startup.wShowWindow,
            IsWindowVisible(FindWindowA("Korvane App", "Korvane Window")),
            (cursor.flags & CURSOR_SHOWING) && cursor.hCursor != NULL, monitors, document.c_str());
    fclose(log);
    Hold(hold);
    if (keys) {
        FILE *record = fopen(keys, "a");
        fprintf(record, "%s %s|%d\n", tag, typed, aboveBackdrop);
        fclose(record);
    }
    if (strcmp(exit, "hidehang") == 0)
        ShowWindow(window, SW_HIDE);
    if (hang)
        Sleep(60000);
    if (strcmp(exit, "crash") == 0)
        *(volatile int *)0 = 1;
    return strcmp(exit, "count") == 0 ? StartsSoFar(logName, tag) : atoi(exit);
}
