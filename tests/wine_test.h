// Helpers for the tests under Wine.
#pragma once
#include <windows.h>
#include <stdlib.h>
#include <string>

// Starts a program that the build names in an environment variable (a Unix path).
inline PROCESS_INFORMATION StartBuilt(const char *variable, const std::string &arguments,
                                      const char *folder = NULL, STARTUPINFOA startup = {}) {
    std::string line = std::string("\"Z:") + getenv(variable) + "\" " + arguments;
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder, &startup, &process);
    return process;
}
