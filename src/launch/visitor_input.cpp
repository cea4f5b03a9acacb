#include "launch/visitor_input.h"

// Windows' last-input stamp; when it cannot be read, the one seen last, which means no input.
static DWORD LastInputStamp(const LaunchState *state) {
    LASTINPUTINFO input = {sizeof input, 0};
    return GetLastInputInfo(&input) ? input.dwTime : state->input.stamp;
}

void StartWatchingInput(LaunchState *state) {
    StartInputClock(&state->input, GetTickCount(), LastInputStamp(state));
}

bool InputCame(LaunchState *state) {
    return NoteInput(&state->input, GetTickCount(), LastInputStamp(state));
}

DWORD MsWithoutInput(LaunchState *state) {
    InputCame(state);
    return IdleMs(&state->input, GetTickCount());
}
