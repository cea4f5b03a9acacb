// The record of one run of the launcher, shared by the stages of the run: its settings, the
// backdrop, the programs it waits for or keeps, the log.
#pragma once
#include "desktop/backdrop.h"
#include "launch/alert.h"
#include "launch/program_tree.h"
#include "platform/keep_awake.h"
#include "platform/run_log.h"
#include "platform/run_report.h"
#include "text/input_clock.h"
#include "text/launch_settings.h"
#include "text/screen_values.h"
#include <stdint.h>
#include <windows.h>

// Where a program's main window is kept (MONITORn, FULLSCREENn), and the window last placed.
struct WindowKeeping {
    uint32_t monitor; // its number from 1; 0: where the program puts it
    bool fullScreen;  // kept over its monitor whole
    HWND placed;      // the window placed last; another one is placed afresh
    bool refusalTold; // Windows refused a change of it, logged once
};

// What a program waits for before each start (WAIT1, WAIT2).
struct WorldWait {
    bool set;
    bool tcp;                   // a TCP port that accepts a connection, else a path that exists
    wchar_t target[PATH_UNITS]; // the full path, or the host
    wchar_t port[8];
};

struct LaunchState {
    LaunchSettings settings;
    BackdropColor color;
    BackdropLook look;
    int showCommand;
    HWND backdrop;
    STARTUPINFOW startup;
    RunningProgram first;    // kept from one round to the next while TIMEOUT1 left it running
    RunningProgram second;   // the program started last, or kept
    RunningProgram *current; // the program of the stage now running; NULL when none
    bool started;            // the second program's last start went through
    HWND topWindow;          // top window right after the first start; NULL until then
    DWORD secondDelay;
    RunLog log;
    AwakeHold awake;
    wchar_t startFolder[PATH_UNITS]; // the launcher's folder at its start; each round's too
    DWORD alertWaitMs;               // 0: an alert waits for OK
    DWORD firstTimeoutMs;            // 0: the first program and the title are waited for for ever
    DWORD firstStartTick;
    char secondDirectory[PATH_CHARS]; // full folder of the second program, empty if unknown
    DWORD secondStartTick;
    InputClock input;     // input since the program of the stage started
    DWORD restartMs;      // 0: the second program is started once and left to itself
    DWORD hungMs;         // 0: a kept program that stops responding is left so
    bool daily;           // DAILY2 read as a time
    uint32_t dailySecond; // its second of the day
    uint32_t renewedDay;  // YYYYMMDD of the last daily renewal, or of a start after its time
    DWORD idleMs;         // 0: a kept program is never closed for want of input
    bool skipFirst;       // input during the first program ends it (SKIP1)
    bool firstTree;       // the first program counts with every program it starts (TREE1)
    bool secondTree;      // so does the second (TREE2)
    WindowKeeping firstWindow, secondWindow;
    bool hoursSet; // HOURS read: the displays are off outside them
    HoursPlan hours;
    bool displaysOff;   // switched off for HOURS
    bool woken;         // switched on for HOURS, with a mouse move of no distance
    DWORD displaysTick; // when the displays were last switched either way
    DWORD blankMs;      // 0: a kept program showing one colour is left so (BLANK2)
    RunReport report;   // the event log and the status file, when asked for
    WorldWait waits[2]; // the first program's and the second's
    DWORD waitLimitMs;  // 0: each of those waits lasts until what it waits for is there
};

inline const char *Value(const LaunchState *state, SettingSlot slot) {
    return state->settings.values[slot];
}

inline void Alert(LaunchState *state, const char *caption, const char *format, const char *arg1,
                  const char *arg2 = nullptr) {
    ShowRunAlert(&state->log, state->alertWaitMs, caption, format, arg1, arg2);
}
