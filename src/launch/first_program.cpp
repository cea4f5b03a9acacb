#include "launch/first_program.h"
#include "desktop/window_lookup.h"
#include "launch/program_start.h"
#include "launch/visitor_input.h"
#include "launch/world_wait.h"
#include "platform/show_wait.h"
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
    CLOSE_FIRST_MS = 2000,
};

// How the wait for the first program ended.
enum FirstEnd { FIRST_ENDED, FIRST_TIMED_OUT, FIRST_SKIPPED, FIRST_SHOW_ENDS };

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
static bool VisitorSkips(LaunchState *state) {
    return state->skipFirst && InputCame(state);
}

// The first program's end is its process handle being signalled (with TREE1, every process in
// its job having ended); the exit status alone cannot tell a program that ended with 259 from
// a running one. A failed wait ends it too.
static FirstEnd WaitForFirstProgramEnd(LaunchState *state) {
    DWORD poll = state->skipFirst ? SKIP_POLL_MS : EXIT_POLL_MS;
    DWORD result;
    while ((result = WaitForProgram(&state->first, FirstWaitLeft(state, poll))) == WAIT_TIMEOUT) {
        if (VisitorSkips(state))
            return FIRST_SKIPPED;
        if (ProgramHasEnded(&state->first))
            break;
        if (FirstTimeoutOver(state))
            return FIRST_TIMED_OUT;
    }
    if (result == WAIT_SHOW_ENDS)
        return FIRST_SHOW_ENDS;
    WriteRunEventNumber(&state->log, EVENT_FIRST_ENDS,
                        state->first.job != NULL
                            ? "first program ended, and every program it started: exit code %s"
                            : "first program ended: exit code %s",
                        ProgramExitCode(&state->first));
    return FIRST_ENDED;
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

// Starts the first program after DELAY1 (0 reads as 1500 ms). False when it did not start.
static bool StartFirstProgram(LaunchState *state) {
    AwaitWorld(state, 0);
    NoteRunStage(&state->log, "first");
    char directory[PATH_CHARS];
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR1), directory, sizeof directory))
        Alert(state, "Error", "Directory  = %s not Found", Value(state, SLOT_WDIR1));
    DWORD firstDelay = NonNegativeMs(Value(state, SLOT_DELAY1));
    RedrawWindow(state->backdrop, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    SleepServicing(firstDelay == 0 ? (DWORD)DEFAULT_FIRST_DELAY_MS : firstDelay);
    memset(&state->startup, 0, sizeof state->startup);
    state->startup.cb = sizeof state->startup;
    state->startup.wShowWindow = SW_SHOWDEFAULT;
    StartResult started =
        StartProgram(&state->log, &state->first, Value(state, SLOT_EXE1), Value(state, SLOT_WDIR1),
                     directory, &state->startup, state->firstTree);
    if (started == START_FAILED)
        Alert(state, "Error", "Unable to launch : %s\n", Value(state, SLOT_EXE1));
    return started == STARTED;
}

void RunFirstProgram(LaunchState *state) {
    state->current = &state->first;
    if (!StartFirstProgram(state))
        return;
    state->firstStartTick = GetTickCount();
    StartWatchingInput(state);
    state->topWindow = FindTopWindow();
    FirstEnd end = FIRST_ENDED;
    if (state->first.process.hProcess != NULL) {
        WaitForInputIdleServicing(state->first.process.hProcess,
                                  FirstWaitLeft(state, FIRST_IDLE_LIMIT_MS));
        end = WaitForFirstProgramEnd(state);
    }
    if (end == FIRST_SHOW_ENDS)
        return;                   // its handles stay, to ask it to close
    if (end == FIRST_TIMED_OUT) { // its handles stay, for the next round to close it
        WriteRunLogNumber(&state->log,
                          "TIMEOUT1 of %s ms ran out: the first program still runs and is left "
                          "running; going on",
                          state->firstTimeoutMs);
    } else {
        if (end == FIRST_SKIPPED) {
            WriteRunLog(&state->log, "input during the first program: SKIP1 ends it and the "
                                     "second program starts now");
            CloseProgram(&state->log, &state->first, CLOSE_FIRST_MS);
        }
        ReleaseProgram(&state->first);
    }
    state->current = NULL;
    if (end != FIRST_SKIPPED && IsValueSet(Value(state, SLOT_TITLE1))) {
        NoteRunStage(&state->log, "title1");
        WaitForTitleToGo(state);
    }
    BringWindowToTop(state->backdrop);
}

void EndLeftoverFirstProgram(LaunchState *state) {
    if (state->first.process.hProcess == NULL)
        return;
    if (!ProgramHasEnded(&state->first)) {
        WriteRunLog(&state->log, "the first program still runs from the last round: it is asked "
                                 "to close before the show starts over");
        CloseProgram(&state->log, &state->first, CLOSE_FIRST_MS);
    }
    ReleaseProgram(&state->first);
}
