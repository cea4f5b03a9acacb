#include "launch/screen_keeper.h"
#include "desktop/screens.h"
#include "desktop/taskbar.h"
#include "desktop/window_placing.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <string.h>

enum {
    SCREEN_TIMER_ID = 1,
    SCREEN_LOOK_MS = 1000,
    DISPLAYS_OFF_AGAIN_MS = 60000, // a touch or a program wakes them; out of hours, off again
};

static LaunchState *keptRun; // the run whose screens the backdrop's timer looks after
static bool looked;          // some key asks for the screens to be looked after

// The monitors as last listed, and what tells that they may have changed: listed again when
// the virtual screen or the number of monitors changes, and every MONITORS_AGAIN looks anyway.
enum { MONITORS_AGAIN = 10 };
static MonitorPlace listed[LISTED_MONITORS];
static size_t listedCount;
static int virtualScreen[5], looksSinceListed;

static size_t CurrentMonitors() {
    int now[5] = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                  GetSystemMetrics(SM_CMONITORS)};
    if (listedCount == 0 || memcmp(now, virtualScreen, sizeof now) != 0 ||
        ++looksSinceListed >= MONITORS_AGAIN) {
        listedCount = ListMonitors(listed, LISTED_MONITORS);
        memcpy(virtualScreen, now, sizeof now);
        looksSinceListed = 0;
    }
    return listedCount;
}

static void LogMonitors(LaunchState *state) {
    size_t count = CurrentMonitors();
    for (size_t i = 0; i < count; i++) {
        char number[16], rect[64];
        FormatUnsigned(number, sizeof number, (unsigned long)(i + 1));
        FormatRect(listed[i].full, rect, sizeof rect);
        WriteRunLog(&state->log, "monitor %s: %s", number, rect);
    }
}

// Puts a program's new main window on its monitor (and logs where), and keeps one that is to
// be full screen so, every look.
static void KeepWindowPlaced(LaunchState *state, RunningProgram *program, WindowKeeping *keeping) {
    if (program->process.hProcess == NULL || ProgramHasEnded(program))
        return;
    // The window placed last stays the one looked at while it shows: no search of every
    // window each second.
    HWND window = keeping->placed;
    if (window == NULL || !IsWindowVisible(window))
        window = FindProgramWindow(program);
    bool fresh = window != keeping->placed;
    if (window == NULL || (!fresh && !keeping->fullScreen))
        return; // placed once, a window may then go where its visitors move it
    MonitorPlace target;
    size_t count = CurrentMonitors();
    char number[16];
    FormatUnsigned(number, sizeof number, keeping->monitor);
    if (keeping->monitor == 0 ? !MonitorOfWindow(window, &target) : count == 0)
        return;
    if (keeping->monitor != 0)
        target = listed[keeping->monitor <= count ? keeping->monitor - 1 : 0];
    if (fresh) {
        keeping->placed = window;
        keeping->refusalTold = false;
        if (keeping->monitor > count)
            WriteRunLog(&state->log, "%s program: there is no monitor %s; the primary is used",
                        program->which, number);
    }
    PlaceResult result = PlaceWindow(window, &target, keeping->fullScreen);
    if (result == PLACE_REFUSED && !keeping->refusalTold) {
        keeping->refusalTold = true;
        WriteRunLog(&state->log,
                    "%s program's window cannot be moved or changed by the launcher (a program "
                    "with higher rights?): left as it is",
                    program->which);
    } else if (result == PLACE_MOVED) {
        WriteRunLog(&state->log,
                    !fresh                ? "%s program's window had left its place: put back"
                    : keeping->fullScreen ? "%s program's window made full screen"
                                          : "%s program's window put on its monitor",
                    program->which);
    }
}

// Switches the displays on or off, with AWAKE's hold on them.
static void SetDisplays(LaunchState *state, bool on) {
    HoldDisplay(&state->awake, on);
    SwitchDisplays(state->backdrop, on);
    state->displaysOff = !on;
    state->woken = on;
    state->displaysTick = GetTickCount();
}

// The displays off outside HOURS, again every minute while so; on when the hours begin.
static void KeepHours(LaunchState *state) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    bool on = IsWithinHours(&state->hours, now.wDayOfWeek, now.wHour * 60u + now.wMinute);
    if (on != state->displaysOff &&
        (on || GetTickCount() - state->displaysTick < DISPLAYS_OFF_AGAIN_MS))
        return;
    if (on || !state->displaysOff)
        WriteRunLog(&state->log,
                    on ? "HOURS %s begin: the displays are switched on"
                       : "outside HOURS %s: the displays are switched off",
                    Value(state, SLOT_HOURS));
    SetDisplays(state, on);
}

void LookAfterScreensNow(LaunchState *state) {
    if (!looked)
        return;
    if (state->hoursSet)
        KeepHours(state);
    if (state->look.hideTaskbar && HideTaskbars() > 0)
        WriteRunLog(&state->log, "the taskbar showed again: hidden");
    WindowKeeping *first = &state->firstWindow, *second = &state->secondWindow;
    if (state->current == &state->first && (first->monitor != 0 || first->fullScreen))
        KeepWindowPlaced(state, &state->first, first);
    if (state->started && (second->monitor != 0 || second->fullScreen))
        KeepWindowPlaced(state, &state->second, second);
}

static void CALLBACK LookAfterScreens(HWND, UINT, UINT_PTR, DWORD) {
    LookAfterScreensNow(keptRun);
}

void ScreenLooksByKeeper(bool byKeeper) {
    if (!looked)
        return;
    if (byKeeper)
        KillTimer(keptRun->backdrop, SCREEN_TIMER_ID);
    else
        SetTimer(keptRun->backdrop, SCREEN_TIMER_ID, SCREEN_LOOK_MS, LookAfterScreens);
}

void StartScreenKeeping(LaunchState *state) {
    keptRun = state;
    state->firstWindow.monitor = ParseMonitorNumber(Value(state, SLOT_MONITOR1));
    state->firstWindow.fullScreen = IsSwitchedOn(Value(state, SLOT_FULLSCREEN1));
    state->secondWindow.monitor = ParseMonitorNumber(Value(state, SLOT_MONITOR2));
    state->secondWindow.fullScreen = IsSwitchedOn(Value(state, SLOT_FULLSCREEN2));
    if (state->firstWindow.monitor != 0 || state->secondWindow.monitor != 0)
        LogMonitors(state);
    const char *hours = Value(state, SLOT_HOURS);
    state->hoursSet = IsValueSet(hours) && ParseHours(hours, &state->hours);
    if (IsValueSet(hours) && !state->hoursSet)
        WriteRunEvent(&state->log, EVENT_BAD_VALUE,
                      "HOURS '%s' does not read as hours: the screens are always on", hours);
    state->look.hideTaskbar = IsSwitchedOff(Value(state, SLOT_TASKBAR));
    if (state->look.hideTaskbar && HideTaskbars() > 0)
        WriteRunLog(&state->log, "TASKBAR 0: the taskbar is hidden for the run");
    looked = state->hoursSet || state->look.hideTaskbar || state->firstWindow.monitor != 0 ||
             state->firstWindow.fullScreen || state->secondWindow.monitor != 0 ||
             state->secondWindow.fullScreen;
    ScreenLooksByKeeper(false);
}

void EndScreenKeeping(LaunchState *state) {
    if (!state->displaysOff)
        return;
    WriteRunLog(&state->log, "the launcher ends: the displays are switched on");
    SetDisplays(state, true);
}
