// The second program's start, written once for its first start and every restart of a kept
// show: the start in its folder, its getting ready, the keyboard handed to it.
#include "launch/launch_state.h"
#include "launch/message_waits.h"
#include "launch/program_start.h"

void TakeForeground(LaunchState *state) {
    if (state->showCommand == SW_HIDE)
        return;
    SetForegroundWindow(state->backdrop);
    if (GetForegroundWindow() != state->backdrop)
        WriteRunLog(&state->log, "the backdrop could not take the foreground");
}

// Raises the window that was on top when the first program started, if one was recorded.
static void RaiseRecordedTopWindow(const LaunchState *state) {
    if (state->topWindow != NULL)
        BringWindowToTop(state->topWindow);
}

bool StartSecondProgram(LaunchState *state, bool firstStart) {
    state->which = "second";
    state->started = StartProgram(&state->log, "second", Value(state, SLOT_EXE2),
                                  Value(state, SLOT_WDIR2), state->secondDirectory, &state->startup,
                                  state->secondTree, &state->process, &state->job);
    state->secondStartTick = GetTickCount();
    if (!state->started) {
        Alert(state, "Alert", "Unable to execute file : %s \n Current Directory : %s",
              Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2));
        return false;
    }
    if (firstStart)
        RaiseRecordedTopWindow(state);
    WaitForInputIdleServicing(state->process.hProcess, state->secondDelay);
    if (firstStart)
        RaiseRecordedTopWindow(state);
    // The handover lies within the pause after the first start, which keeps its length.
    DWORD pauseStart = GetTickCount();
    HandOverForeground(&state->log, "second", state->process.hProcess, state->job,
                       state->secondDelay);
    if (firstStart)
        SleepServicing(RemainingMs(pauseStart, state->secondDelay));
    return true;
}
