// Helpers for the tests under Wine.
#pragma once
#include <windows.h>
#include <atomic>
#include <stdlib.h>
#include <string>
#include <thread>

// A program the build names in an environment variable (a Unix path), started with arguments.
inline PROCESS_INFORMATION StartBuilt(const char *variable, const std::string &arguments,
                                      const char *folder = NULL, STARTUPINFOA startup = {}) {
    std::string line = std::string("\"Z:") + getenv(variable) + "\" " + arguments;
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder, &startup, &process);
    return process;
}

// Watches for the message boxes of one process as a user would: notes each as
// "caption: text\n" and presses its OK button.
struct AlertCollector {
    explicit AlertCollector(DWORD processId = GetCurrentProcessId())
        : thread([this, processId] {
              for (HWND box = NULL, answered = NULL; !stop; Sleep(20)) {
                  DWORD owner = 0;
                  while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
                      if (GetWindowThreadProcessId(box, &owner) && owner == processId &&
                          box != answered && IsWindowVisible(box)) {
                          char caption[512] = "", text[1024] = "";
                          GetWindowTextA(box, caption, sizeof caption);
                          GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                          seen += std::string(caption) + ": " + text + "\n";
                          PostMessageA(answered = box, WM_COMMAND, IDOK, 0);
                      }
                  }
              }
          }) {}
    ~AlertCollector() {
        Finish();
    }
    // Stops watching and returns every box seen, in order.
    std::string Finish() {
        stop = true;
        if (thread.joinable())
            thread.join();
        return seen;
    }
    std::atomic<bool> stop{false};
    std::string seen;
    std::thread thread;
};
