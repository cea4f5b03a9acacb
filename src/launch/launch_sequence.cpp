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
#include "launch/program_tree.h"
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
    SKIP_POLL_MS = 250, // how often input is looked for with SKIP1
    SKIP_CLOSE_MS = 2000,
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

// SKIP1: whether anyone has touched the computer since the first program started.
static bool VisitorSkips(const LaunchState *state) {
    LASTINPUTINFO input = {sizeof input, 0};
    DWORD now = GetTickCount();
    return state->skipFirst && GetLastInputInfo(&input) &&
           now - input.dwTime < now - state->firstStartTick;
}

// The intro skipped at a touch: it is asked to close, and ended when it has not within 2 s.
static void SkipFirstProgram(LaunchState *state) {
    WriteRunLog(&state->log, "input during the first program: SKIP1 ends it and the second "
                             "program starts now");
    CloseProgram(&state->log, "first", state->process.hProcess, state->job, SKIP_CLOSE_MS);
}

// The first program's end is its process handle being signalled (with TREE1, every process in
// its job having ended); the exit status alone cannot tell a program that ended with 259 from
// a running one. A failed wait ends it too. When TIMEOUT1 runs out first, the program is left
// running: it may be a set-up step. False when input skipped it (SKIP1).
static bool WaitForFirstProgramEnd(LaunchState *state) {
    state->exitStatus = STILL_ACTIVE;
    DWORD poll = state->skipFirst ? SKIP_POLL_MS : EXIT_POLL_MS;
    DWORD result;
    bool skipped;
    do {
        result = WaitForProgram(state->process.hProcess, state->job, FirstWaitLeft(state, poll));
        GetExitCodeProcess(state->process.hProcess, &state->exitStatus);
        skipped = result == WAIT_TIMEOUT && VisitorSkips(state);
    } while (result == WAIT_TIMEOUT && !skipped &&
             !ProgramHasEnded(state->process.hProcess, state->job) && !FirstTimeoutOver(state));
    if (skipped) {
        SkipFirstProgram(state);
        return false;
    }
    if (result == WAIT_SHOW_ENDS)
        return true;
    char number[16];
    if (result == WAIT_TIMEOUT && !ProgramHasEnded(state->process.hProcess, state->job)) {
        FormatUnsigned(number, sizeof number, state->firstTimeoutMs);
        WriteRunLog(&state->log,
                    "TIMEOUT1 of %s ms ran out: the first program still runs and "
                    "is left running; going on",
                    number);
        return true;
    }
    FormatUnsigned(number, sizeof number, state->exitStatus);
    WriteRunLog(&state->log,
                state->job != NULL
                    ? "first program ended, and every program it started: exit code %s"
                    : "first program ended: exit code %s",
                number);
    return true;
}

// The run's own backdrop never counts as the window waited for. With SKIP1 a touch ends the
// wait too: the intro's window is the intro.
static void WaitForTitleToGo(LaunchState *state) {
    const char *title = Value(state, SLOT_TITLE1);
    SleepServicing(FirstWaitLeft(state, TITLE_POLL_MS));
    while (FindWindowByTitle(title, state->backdrop) != NULL && !ShowEnding()) {
        if (FirstTimeoutOver(state)) {
            WriteRunLog(&state->log, "TIMEOUT1 ran out with a window '%s' still there; going on",
                        title);
            return;
        }
        if (VisitorSkips(state)) {
            WriteRunLog(&state->log, "input during the title wait: SKIP1 ends it");
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
                     directory, &state->startup, state->firstTree, &state->process, &state->job);
    if (!state->started) {
        Alert(state, "Error", "Unable to launch : %s\n", Value(state, SLOT_EXE1));
        return;
    }
    state->firstStartTick = GetTickCount();
    state->topWindow = GetTopWindow(NULL);
    bool waitForTitle = IsValueSet(Value(state, SLOT_TITLE1));
    if (state->process.hProcess != NULL) {
        WaitForInputIdleServicing(state->process.hProcess,
                                  FirstWaitLeft(state, FIRST_IDLE_LIMIT_MS));
        waitForTitle = WaitForFirstProgramEnd(state) && waitForTitle;
    }
    if (ShowEnding())
        return; // its handles stay, to ask it to close
    ReleaseProgram(&state->process, &state->job);
    if (waitForTitle)
        WaitForTitleToGo(state);
    BringWindowToTop(state->backdrop);
}

// True when the show is to start over (IDLE2).
static bool RunSecondProgram(LaunchState *state) {
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR2), state->secondDirectory,
                              sizeof state->secondDirectory))
        Alert(state, "Alert", "Directory  = %s not Found", Value(state, SLOT_WDIR2));
    memset(&state->startup, 0, sizeof state->startup);
    GetStartupInfoW(&state->startup);
    state->startup.dwFlags = 0;
    state->secondDelay = NonNegativeDelayMs(Value(state, SLOT_DELAY2));
    if (state->restartMs > 0)
        KeepCrashesQuiet(&state->log);
    return StartSecondProgram(state, true) && state->restartMs > 0 && KeepSecondProgram(state);
}

// The exit key: nothing more is started; the program waited for or kept is asked to close,
// not forced: it may have work to save.
static void EndOnExitKey(LaunchState *state) {
    WriteRunLog(&state->log, "EXITKEY pressed: the show ends, nothing more is started");
    if (state->process.hProcess == NULL || ProgramHasEnded(state->process.hProcess, state->job))
        return;
    char count[16];
    FormatUnsigned(count, sizeof count,
                   (unsigned long)AskProgramToClose(state->process.hProcess, state->job));
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
    state->idleMs = state->restartMs > 0 ? NonNegativeDelayMs(Value(state, SLOT_IDLE2)) : 0;
    if (state->restartMs == 0 && NonNegativeDelayMs(Value(state, SLOT_IDLE2)) > 0)
        WriteRunLog(&state->log, "IDLE2 without RESTART2: no idle reset");
    state->skipFirst = IsSwitchedOn(Value(state, SLOT_SKIP1));
    state->firstTree = IsSwitchedOn(Value(state, SLOT_TREE1));
    state->secondTree = IsSwitchedOn(Value(state, SLOT_TREE2));
    ReadKeepingValues(state);
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

    // The show comes round again when the visitors have left the kept program (IDLE2).
    do {
        if (IsValueSet(Value(state, SLOT_EXE1)))
            RunFirstProgram(state);
        RepaintBackdrop(state);
    } while (IsValueSet(Value(state, SLOT_EXE2)) && !ShowEnding() && RunSecondProgram(state));
    if (ShowEnding())
        EndOnExitKey(state);
    DestroyWindow(state->backdrop);
    WriteRunLog(&state->log, "backdrop removed");
    LetSleep(state);
    WriteRunLog(&state->log, "end");
    return 0;
}
