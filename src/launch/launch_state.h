// The record of one run of the launcher, shared by the stages of the run: its settings, the
// backdrop, the program it waits for or keeps, the log.
#pragma once
#include "desktop/backdrop.h"
#include "launch/alert.h"
#include "platform/run_log.h"
#include "text/launch_settings.h"
#include <stdint.h>
#include <windows.h>

struct LaunchState {
    LaunchSettings settings;
    BackdropColor color;
    BackdropLook look;
    int showCommand;
    HWND backdrop;
    STARTUPINFOW startup;
    PROCESS_INFORMATION process; // the program waited for or kept; no handle when none
    HANDLE job;                  // the job holding it and all it starts (TREE1, TREE2), or NULL
    const char *which;           // "first" or "second": the program in process
    bool started;
    HWND topWindow; // top of the Z-order right after the first start; NULL until then
    DWORD exitStatus;
    DWORD secondDelay;
    RunLog log;
    DWORD alertWaitMs;    // 0: an alert waits for OK
    DWORD firstTimeoutMs; // 0: the first program and the title are waited for for ever
    DWORD firstStartTick;
    char secondDirectory[PATH_CHARS]; // full folder of the second program, empty if unknown
    DWORD secondStartTick;
    DWORD restartMs;       // 0: the second program is started once and left to itself
    DWORD hungMs;          // 0: a kept program that stops responding is left so
    bool daily;            // DAILY2 read as a time
    uint32_t dailySecond;  // its second of the day
    uint32_t renewedDay;   // YYYYMMDD of the last daily renewal, or of a start after its time
    bool screenSaverWasOn; // switched off for the run, to be switched on at its end
    DWORD idleMs;          // 0: a kept program is never closed for want of input
    bool skipFirst;        // input during the first program ends it (SKIP1)
    bool firstTree;        // the first program counts with every program it starts (TREE1)
    bool secondTree;       // so does the second (TREE2)
};

inline const char *Value(const LaunchState *state, SettingSlot slot) {
    return state->settings.values[slot];
}

inline void Alert(LaunchState *state, const char *caption, const char *format, const char *arg1,
                  const char *arg2 = nullptr) {
    ShowRunAlert(&state->log, state->alertWaitMs, caption, format, arg1, arg2);
}

// The backdrop takes the foreground (when it shows), so that Windows lets the program it
// starts next take it in turn.
void TakeForeground(LaunchState *state);

// Starts the second program in its folder, gives it up to DELAY2 to get ready and hands it
// the keyboard; on its first start the recorded top window is raised around its getting
// ready and the pause after it is waited out. An alert when it cannot start; false then.
bool StartSecondProgram(LaunchState *state, bool firstStart);
