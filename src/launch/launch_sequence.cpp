#include "launch/launch_sequence.h"
#include "desktop/backdrop.h"
#include "desktop/window_lookup.h"
#include "launch/alert.h"
#include "launch/arguments.h"
#include "launch/message_waits.h"
#include "launch/picture_loading.h"
#include "launch/program_start.h"
#include "launch/run_log.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/restart_wait.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <string.h>

enum {
    DEFAULT_FIRST_DELAY_MS = 1500,
    FIRST_IDLE_LIMIT_MS = 3000,
    EXIT_POLL_MS = 1000,
    TITLE_POLL_MS = 500,
};

struct LaunchState {
    LaunchSettings settings;
    BackdropColor color;
    BackdropLook look;
    int showCommand;
    HWND backdrop;
    STARTUPINFOW startup;
    PROCESS_INFORMATION process; // no process handle when the shell started none
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
    DWORD restartMs; // 0: the second program is started once and left to itself
};

static const char *Value(const LaunchState *state, SettingSlot slot) {
    return state->settings.values[slot];
}

// A negative delay reads as none, so no wait is ever handed to the platform as endless.
static DWORD NonNegativeDelayMs(const char *value) {
    int32_t delay = ParseDelay(value);
    return delay < 0 ? 0 : (DWORD)delay;
}

static void Alert(const LaunchState *state, const char *caption, const char *format,
                  const char *arg1, const char *arg2 = nullptr) {
    ShowRunAlert(&state->log, state->alertWaitMs, caption, format, arg1, arg2);
}

static void RepaintBackdrop(const LaunchState *state) {
    RedrawWindow(state->backdrop, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ms, or what is left of TIMEOUT1 when that is less.
static DWORD FirstWaitLeft(const LaunchState *state, DWORD ms) {
    if (state->firstTimeoutMs == 0)
        return ms;
    DWORD left = RemainingMs(state->firstStartTick, state->firstTimeoutMs);
    return left < ms ? left : ms;
}

static bool FirstTimeoutOver(const LaunchState *state) {
    return state->firstTimeoutMs != 0 && FirstWaitLeft(state, 1) == 0;
}

// The first program's end is its process handle being signalled; the exit status alone
// cannot tell a program that ended with 259 from a running one. A failed wait ends it too.
// When TIMEOUT1 runs out first, the program is left running: it may be a set-up step.
static void WaitForFirstProgramEnd(LaunchState *state) {
    state->exitStatus = STILL_ACTIVE;
    DWORD result;
    do {
        result = WaitServicing(state->process.hProcess, FirstWaitLeft(state, EXIT_POLL_MS));
        GetExitCodeProcess(state->process.hProcess, &state->exitStatus);
    } while (result == WAIT_TIMEOUT && state->exitStatus == STILL_ACTIVE &&
             !FirstTimeoutOver(state));
    char number[16];
    if (result == WAIT_TIMEOUT && state->exitStatus == STILL_ACTIVE) {
        FormatUnsigned(number, sizeof number, state->firstTimeoutMs);
        WriteRunLog(&state->log,
                    "TIMEOUT1 of %s ms ran out: the first program still runs and "
                    "is left running; going on",
                    number);
        return;
    }
    FormatUnsigned(number, sizeof number, state->exitStatus);
    WriteRunLog(&state->log, "first program ended: exit code %s", number);
}

// The run's own backdrop never counts as the window waited for.
static void WaitForTitleToGo(LaunchState *state) {
    const char *title = Value(state, SLOT_TITLE1);
    SleepServicing(FirstWaitLeft(state, TITLE_POLL_MS));
    while (FindWindowByTitle(title, state->backdrop) != NULL) {
        if (FirstTimeoutOver(state)) {
            WriteRunLog(&state->log, "TIMEOUT1 ran out with a window '%s' still there; going on",
                        title);
            return;
        }
        SleepServicing(FirstWaitLeft(state, TITLE_POLL_MS));
    }
    WriteRunLog(&state->log, "title wait ended: no window '%s'", title);
}

static void RunFirstProgram(LaunchState *state) {
    char directory[PATH_CHARS];
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR1), directory, sizeof directory))
        Alert(state, "Error", "Directory  = %s not Found", Value(state, SLOT_WDIR1));
    DWORD firstDelay = NonNegativeDelayMs(Value(state, SLOT_DELAY1));
    if (firstDelay == 0)
        firstDelay = DEFAULT_FIRST_DELAY_MS;
    RepaintBackdrop(state);
    SleepServicing(firstDelay);

    memset(&state->startup, 0, sizeof state->startup);
    state->startup.cb = sizeof state->startup;
    state->startup.wShowWindow = SW_SHOWDEFAULT;
    state->started =
        StartProgram(&state->log, "first", Value(state, SLOT_EXE1), Value(state, SLOT_WDIR1),
                     directory, &state->startup, &state->process);
    if (!state->started) {
        Alert(state, "Error", "Unable to launch : %s\n", Value(state, SLOT_EXE1));
        return;
    }
    state->firstStartTick = GetTickCount();
    state->topWindow = GetTopWindow(NULL);
    if (state->process.hProcess != NULL) {
        WaitForInputIdleServicing(state->process.hProcess,
                                  FirstWaitLeft(state, FIRST_IDLE_LIMIT_MS));
        WaitForFirstProgramEnd(state);
    }
    ReleaseProgram(&state->process);
    if (IsValueSet(Value(state, SLOT_TITLE1)))
        WaitForTitleToGo(state);
    BringWindowToTop(state->backdrop);
}

// Raises the window that was on top when the first program started, if one was recorded.
static void RaiseRecordedTopWindow(const LaunchState *state) {
    if (state->topWindow != NULL)
        BringWindowToTop(state->topWindow);
}

// Starts the second program, or reports that it could not.
static bool StartSecondProgram(LaunchState *state) {
    state->started =
        StartProgram(&state->log, "second", Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2),
                     state->secondDirectory, &state->startup, &state->process);
    state->secondStartTick = GetTickCount();
    if (!state->started)
        Alert(state, "Alert", "Unable to execute file : %s \n Current Directory : %s",
              Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2));
    return state->started;
}

// The program is raised around its getting ready; then its window gets the keyboard within
// the pause, so the pause stays as long as it was.
static void RunSecondProgram(LaunchState *state) {
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR2), state->secondDirectory,
                              sizeof state->secondDirectory))
        Alert(state, "Alert", "Directory  = %s not Found", Value(state, SLOT_WDIR2));

    memset(&state->startup, 0, sizeof state->startup);
    GetStartupInfoW(&state->startup);
    state->startup.dwFlags = 0;
    state->secondDelay = NonNegativeDelayMs(Value(state, SLOT_DELAY2));
    if (state->restartMs > 0)
        KeepCrashesQuiet(&state->log);
    if (!StartSecondProgram(state))
        return;
    RaiseRecordedTopWindow(state);
    WaitForInputIdleServicing(state->process.hProcess, state->secondDelay);
    RaiseRecordedTopWindow(state);
    DWORD pauseStart = GetTickCount();
    HandOverForeground(&state->log, "second", state->process.hProcess, state->secondDelay);
    SleepServicing(RemainingMs(pauseStart, state->secondDelay));
}

// Waits for the kept program to end; true when it ended with the QUIT2 code.
static bool WaitForSecondProgramEnd(LaunchState *state) {
    DWORD result;
    do
        result = WaitServicing(state->process.hProcess, INFINITE);
    while (result == WAIT_TIMEOUT);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(state->process.hProcess, &code);
    char number[16], ran[16];
    FormatUnsigned(number, sizeof number, code);
    FormatUnsigned(ran, sizeof ran, GetTickCount() - state->secondStartTick);
    WriteRunLog(&state->log, "second program ended: exit code %s after %s ms", number, ran);
    const char *quit = Value(state, SLOT_QUIT2);
    if (!IsValueSet(quit) || (int32_t)code != ParseDelay(quit))
        return false;
    WriteRunLog(&state->log, "exit code %s is QUIT2: the show is over", number);
    return true;
}

// RESTART2: whenever the second program ends it is started again, after a wait that doubles
// with every short run in a row, until it ends with the QUIT2 code. The backdrop stays below
// it all the while, so the screens never show the desktop between two runs.
static void KeepSecondProgram(LaunchState *state) {
    uint32_t shortRuns = 0;
    for (;;) {
        if (state->started && state->process.hProcess == NULL) {
            WriteRunLog(&state->log, "second program has no process of its own to keep: the "
                                     "show ends as without RESTART2");
            return;
        }
        if (state->started && WaitForSecondProgramEnd(state))
            return;
        bool longRun = state->started && GetTickCount() - state->secondStartTick >= LONG_RUN_MS;
        shortRuns = longRun ? 0 : shortRuns + 1;
        DWORD wait = RestartWaitMs(state->restartMs, shortRuns);
        char number[16];
        FormatUnsigned(number, sizeof number, wait);
        WriteRunLog(&state->log, "starting the second program again in %s ms", number);
        ReleaseProgram(&state->process);
        SleepServicing(wait);
        if (StartSecondProgram(state)) {
            WaitForInputIdleServicing(state->process.hProcess, state->secondDelay);
            HandOverForeground(&state->log, "second", state->process.hProcess, state->secondDelay);
        }
    }
}

// With LOG set the run appends to that file; it says where its settings came from.
static void OpenLog(LaunchState *state, const char *argumentText) {
    if (!IsValueSet(Value(state, SLOT_LOG)) || !OpenRunLog(&state->log, Value(state, SLOT_LOG)))
        return;
    WriteRunLog(&state->log, "start: arguments '%s'; settings from profile %s, section [%s]",
                argumentText, state->settings.profile, state->settings.section);
    if (state->settings.encoding[0] != '\0')
        WriteRunLog(&state->log, "profile read as %s", state->settings.encoding);
}

// The launcher was just started, so it may take the foreground; holding it, it can later hand
// it to the second program.
static void TakeForeground(const LaunchState *state) {
    if (state->showCommand == SW_HIDE)
        return;
    SetForegroundWindow(state->backdrop);
    if (GetForegroundWindow() != state->backdrop)
        WriteRunLog(&state->log, "the backdrop could not take the foreground");
}

int RunLaunchSequence(HINSTANCE instance, HINSTANCE previous, const char *argumentText) {
    LaunchState state = {};
    if (!ParseArguments(argumentText, &state.settings))
        return 0;
    OpenLog(&state, argumentText);
    state.alertWaitMs = NonNegativeDelayMs(Value(&state, SLOT_ALERTWAIT));
    state.firstTimeoutMs = NonNegativeDelayMs(Value(&state, SLOT_TIMEOUT1));
    state.restartMs = NonNegativeDelayMs(Value(&state, SLOT_RESTART2));
    state.color.red = ParseColorComponent(Value(&state, SLOT_RED));
    state.color.green = ParseColorComponent(Value(&state, SLOT_GREEN));
    state.color.blue = ParseColorComponent(Value(&state, SLOT_BLUE));
    state.showCommand = IsSwitchedOff(Value(&state, SLOT_BACKGROUND)) ? SW_HIDE : SW_SHOWNORMAL;
    state.look.primaryOnly = IsPrimaryScreenOnly(Value(&state, SLOT_SCREENS));
    state.look.hideCursor = IsSwitchedOff(Value(&state, SLOT_CURSOR));
    // Only 16-bit Windows hands over a previous instance, whose class would still stand.
    if ((previous == NULL && !RegisterBackdropClass(instance, &state.color)) ||
        !CreateBackdropWindow(instance, state.showCommand, &state.look, &state.backdrop)) {
        WriteRunLog(&state.log, "the backdrop could not be made");
        WriteRunLog(&state.log, "end");
        return 0;
    }
    TakeForeground(&state);
    if (IsValueSet(Value(&state, SLOT_IMAGE)))
        StartPictureLoading(&state.log, Value(&state, SLOT_IMAGE), &state.color, state.backdrop);

    if (IsValueSet(Value(&state, SLOT_EXE1)))
        RunFirstProgram(&state);
    RepaintBackdrop(&state);
    if (IsValueSet(Value(&state, SLOT_EXE2))) {
        RunSecondProgram(&state);
        if (state.restartMs > 0)
            KeepSecondProgram(&state);
    }
    DestroyWindow(state.backdrop);
    WriteRunLog(&state.log, "backdrop removed");
    WriteRunLog(&state.log, "end");
    return 0;
}
