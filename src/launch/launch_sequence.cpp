#include "launch/launch_sequence.h"
#include "launch/keeper.h"
#include "launch/launch_state.h"
#include "launch/unattended.h"
#include "desktop/backdrop.h"
#include "desktop/window_lookup.h"
#include "launch/alert.h"
#include "launch/arguments.h"
#include "launch/message_waits.h"
#include "launch/picture_loading.h"
#include "launch/program_start.h"
#include "platform/run_log.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <string.h>

enum {
    DEFAULT_FIRST_DELAY_MS = 1500,
    FIRST_IDLE_LIMIT_MS = 3000,
    EXIT_POLL_MS = 1000,
    TITLE_POLL_MS = 500,
};

// A negative delay reads as none, so no wait is ever handed to the platform as endless.
static DWORD NonNegativeDelayMs(const char *value) {
    int32_t delay = ParseDelay(value);
    return delay < 0 ? 0 : (DWORD)delay;
}

static void RepaintBackdrop(LaunchState *state) {
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
    if (result == WAIT_SHOW_ENDS)
        return;
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
    while (FindWindowByTitle(title, state->backdrop) != NULL && !ShowEnding()) {
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
    if (ShowEnding())
        return;

    memset(&state->startup, 0, sizeof state->startup);
    state->startup.cb = sizeof state->startup;
    state->startup.wShowWindow = SW_SHOWDEFAULT;
    state->which = "first";
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
    if (ShowEnding())
        return; // its handles stay, to ask it to close
    ReleaseProgram(&state->process);
    if (IsValueSet(Value(state, SLOT_TITLE1)))
        WaitForTitleToGo(state);
    BringWindowToTop(state->backdrop);
}

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
    if (StartSecondProgram(state, true) && state->restartMs > 0)
        KeepSecondProgram(state);
}

// The exit key: nothing more is started; the program waited for or kept is asked to close,
// not forced: it may have work to save.
static void EndOnExitKey(LaunchState *state) {
    WriteRunLog(&state->log, "EXITKEY pressed: the show ends, nothing more is started");
    if (state->process.hProcess == NULL ||
        WaitForSingleObject(state->process.hProcess, 0) != WAIT_TIMEOUT)
        return;
    char count[16];
    FormatUnsigned(count, sizeof count,
                   (unsigned long)AskWindowsToClose(GetProcessId(state->process.hProcess)));
    WriteRunLog(&state->log, "%s program asked to close: %s window(s)", state->which, count);
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

// The values read once for the whole run.
static void ReadRunValues(LaunchState *state) {
    state->alertWaitMs = NonNegativeDelayMs(Value(state, SLOT_ALERTWAIT));
    state->firstTimeoutMs = NonNegativeDelayMs(Value(state, SLOT_TIMEOUT1));
    state->restartMs = NonNegativeDelayMs(Value(state, SLOT_RESTART2));
    state->hungMs = NonNegativeDelayMs(Value(state, SLOT_HUNG2));
    state->color.red = ParseColorComponent(Value(state, SLOT_RED));
    state->color.green = ParseColorComponent(Value(state, SLOT_GREEN));
    state->color.blue = ParseColorComponent(Value(state, SLOT_BLUE));
    state->showCommand = IsSwitchedOff(Value(state, SLOT_BACKGROUND)) ? SW_HIDE : SW_SHOWNORMAL;
    state->look.primaryOnly = IsPrimaryScreenOnly(Value(state, SLOT_SCREENS));
    state->look.hideCursor = IsSwitchedOff(Value(state, SLOT_CURSOR));
    state->look.log = &state->log;
}

int RunLaunchSequence(HINSTANCE instance, HINSTANCE previous, const char *argumentText) {
    // Lives as long as the process: the picture's thread may still write to its log at the end.
    LaunchState *state =
        (LaunchState *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LaunchState));
    if (state == NULL)
        return 0;
    if (!ParseArguments(argumentText, &state->settings))
        return 0;
    OpenLog(state, argumentText);
    ReadRunValues(state);
    if (!BecomeOnlyKeeper(state)) {
        WriteRunLog(&state->log, "end");
        return 0;
    }
    KeepAwake(state);
    // Only 16-bit Windows hands over a previous instance, whose class would still stand.
    if ((previous == NULL && !RegisterBackdropClass(instance, &state->color)) ||
        !CreateBackdropWindow(instance, state->showCommand, &state->look, &state->backdrop)) {
        WriteRunLog(&state->log, "the backdrop could not be made");
        LetSleep(state);
        WriteRunLog(&state->log, "end");
        return 0;
    }
    TakeForeground(state);
    RegisterExitKey(state);
    if (IsValueSet(Value(state, SLOT_IMAGE)))
        StartPictureLoading(&state->log, Value(state, SLOT_IMAGE), &state->color, state->backdrop);

    if (IsValueSet(Value(state, SLOT_EXE1)))
        RunFirstProgram(state);
    RepaintBackdrop(state);
    if (IsValueSet(Value(state, SLOT_EXE2)) && !ShowEnding())
        RunSecondProgram(state);
    if (ShowEnding())
        EndOnExitKey(state);
    DestroyWindow(state->backdrop);
    WriteRunLog(&state->log, "backdrop removed");
    LetSleep(state);
    WriteRunLog(&state->log, "end");
    return 0;
}
