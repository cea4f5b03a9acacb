#include "launch/second_program.h"
#include "launch/keeper.h"
#include "launch/program_start.h"
#include "launch/visitor_input.h"
#include "platform/show_wait.h"
#include "text/setting_values.h"

enum { MAIN_WINDOW_POLL_MS = 50 };

void TakeForeground(LaunchState *state) {
    if (state->showCommand == SW_HIDE)
        return;
    SetForegroundWindow(state->backdrop);
    if (GetForegroundWindow() != state->backdrop)
        WriteRunLog(&state->log, "the backdrop could not take the foreground");
}

// Raises the window that was on top when the first program started, if one was recorded,
// without activating it: the keyboard stays where it is.
static void RaiseRecordedTopWindow(const LaunchState *state) {
    if (state->topWindow != NULL)
        SetWindowPos(state->topWindow, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Waits one poll slice, with the messages dispatched, or what is left of ms counted from start.
// False when that time is over or the program has ended.
static bool PollAgain(RunningProgram *program, DWORD start, DWORD ms) {
    DWORD left = RemainingMs(start, ms);
    DWORD slice = left < (DWORD)MAIN_WINDOW_POLL_MS ? left : (DWORD)MAIN_WINDOW_POLL_MS;
    return left != 0 && WaitForProgram(program, slice) == WAIT_TIMEOUT;
}

// Waits up to ms for the program's main window (visible, top-level, without owner; of any
// process in its job when it has one), then brings it to the foreground and the top while the
// launcher may still give it. Logs how it went.
static void HandOverForeground(RunLog *log, RunningProgram *program, DWORD ms) {
    if (program->process.hProcess == NULL) {
        WriteRunLog(log, "%s program: no process of its own, so no window to hand the keyboard to",
                    program->which);
        return;
    }
    DWORD start = GetTickCount();
    HWND window;
    while ((window = FindProgramWindow(program)) == NULL) {
        if (!PollAgain(program, start, ms)) {
            WriteRunLog(log, "%s program showed no window in time (or ended): no keyboard handover",
                        program->which);
            return;
        }
    }
    // What this thread has queued (its own raise of the backdrop among it) is done first, so
    // that the program's raise comes after it. The raise is left to the program's thread:
    // a window manager may keep a full-screen window above one that merely has the focus, and
    // a raise waited for would hold the launcher while the program does not answer.
    WaitServicing(NULL, 0);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    SetForegroundWindow(window);
    // The window's own thread takes the activation, which may show a moment later.
    bool took;
    while (!(took = GetForegroundWindow() == window) && PollAgain(program, start, ms)) {
    }
    WriteRunLog(log,
                took ? "%s program's window brought to the foreground: it has the keyboard"
                     : "%s program's window could not be brought to the foreground",
                program->which);
}

void StartSecondProgram(LaunchState *state, bool firstStart) {
    state->current = &state->second;
    StartResult result =
        StartProgram(&state->log, &state->second, Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2),
                     state->secondDirectory, &state->startup, state->secondTree);
    state->started = result == STARTED;
    state->secondStartTick = GetTickCount();
    StartWatchingInput(state);
    NoteKeptStart(state);
    if (result == START_FAILED)
        Alert(state, "Alert", "Unable to execute file : %s \n Current Directory : %s",
              Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2));
    if (!state->started)
        return;
    if (firstStart)
        RaiseRecordedTopWindow(state);
    WaitForInputIdleServicing(state->second.process.hProcess, state->secondDelay);
    if (firstStart)
        RaiseRecordedTopWindow(state);
    // The handover lies within the pause after the first start, which keeps its length.
    DWORD pauseStart = GetTickCount();
    HandOverForeground(&state->log, &state->second, state->secondDelay);
    if (firstStart)
        SleepServicing(RemainingMs(pauseStart, state->secondDelay));
}
