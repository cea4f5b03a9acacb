// A stand-in for the programs the launcher starts. It writes down what it was started
// with, and can hold, show a window, leave a window behind after it ends, and exit with a
// given status. Arguments are name=value words:
//   log=FILE       append what it saw to FILE, and the time it ends
//   hold=MS        keep running (reading messages) for MS milliseconds
//   window=TITLE   show a window titled TITLE at x:y:w:h from rect= (default 100:100:300:200)
//   window-ms=MS   close that window after MS milliseconds and hold on without it
//   leave=TITLE    start a second copy that keeps a window titled TITLE for leave-ms= ms
//   exit=N         end with status N
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

std::string Option(int argc, char **argv, const char *name, const char *fallback = "") {
    size_t length = strlen(name);
    for (int i = 1; i < argc; i++)
        if (strncmp(argv[i], name, length) == 0 && argv[i][length] == '=')
            return argv[i] + length + 1;
    return fallback;
}

void WriteLog(const std::string &path) {
    FILE *f = fopen(path.c_str(), "ab");
    if (f == NULL)
        return;
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    char driveC[MAX_PATH] = "(unset)";
    GetEnvironmentVariableA("=C:", driveC, sizeof driveC);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    fprintf(f,
            "start=%llu\ncommandline=%s\ndirectory=%s\ndriveC=%s\nflags=%lu\nshow=%u\ntitle=%s\n",
            (unsigned long long)GetTickCount64(), GetCommandLineA(), directory, driveC,
            (unsigned long)startup.dwFlags, (unsigned)startup.wShowWindow,
            startup.lpTitle ? startup.lpTitle : "(none)");
    fclose(f);
}

void WriteEnd(const std::string &path) {
    FILE *f = fopen(path.c_str(), "ab");
    if (f == NULL)
        return;
    fprintf(f, "end=%llu\n", (unsigned long long)GetTickCount64());
    fclose(f);
}

LRESULT CALLBACK StandinWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND ShowStandinWindow(const std::string &title, const std::string &rect) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StandinWndProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszClassName = "KorvaneStandin";
    RegisterClassA(&windowClass);
    int x = 100, y = 100, w = 300, h = 200;
    sscanf(rect.c_str(), "%d:%d:%d:%d", &x, &y, &w, &h);
    HWND window = CreateWindowExA(0, "KorvaneStandin", title.c_str(), WS_POPUP | WS_VISIBLE, x, y,
                                  w, h, NULL, NULL, windowClass.hInstance, NULL);
    UpdateWindow(window);
    return window;
}

// Reads and dispatches messages until ms milliseconds have passed.
void HoldFor(DWORD ms) {
    ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now; (now = GetTickCount64()) < end;) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)(end - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

} // namespace

int main(int argc, char **argv) {
    std::string log = Option(argc, argv, "log");
    if (!log.empty())
        WriteLog(log);

    std::string leave = Option(argc, argv, "leave");
    if (!leave.empty()) {
        char self[MAX_PATH];
        GetModuleFileNameA(NULL, self, sizeof self);
        std::string line = std::string("\"") + self + "\" \"window=" + leave +
                           "\" hold=" + Option(argc, argv, "leave-ms", "2000");
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info);
        WaitForInputIdle(info.hProcess, 5000);
        for (int i = 0; i < 250 && FindWindowA("KorvaneStandin", leave.c_str()) == NULL; i++)
            Sleep(20);
    }

    DWORD hold = strtoul(Option(argc, argv, "hold", "0").c_str(), NULL, 10);
    std::string title = Option(argc, argv, "window");
    if (!title.empty()) {
        HWND window = ShowStandinWindow(title, Option(argc, argv, "rect"));
        std::string windowMs = Option(argc, argv, "window-ms");
        if (!windowMs.empty()) {
            DWORD shown = strtoul(windowMs.c_str(), NULL, 10);
            HoldFor(shown);
            DestroyWindow(window);
            hold = hold > shown ? hold - shown : 0;
        }
    }
    HoldFor(hold);
    if (!log.empty())
        WriteEnd(log);
    return (int)strtoul(Option(argc, argv, "exit", "0").c_str(), NULL, 0);
}
