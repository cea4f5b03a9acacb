#include "launch/visitor_input.h"

// Windows' last-input stamp; when it cannot be read, the one seen last, which means no input.
static DWORD LastInputStamp(const LaunchState *state) {
    LASTINPUTINFO input = {sizeof input, 0};
    return GetLastInputInfo(&input) ? input.dwTime : state->input.stamp;
}

void StartWatchingInput(LaunchState *state) {
    StartInputClock(&state->input, GetTickCount(), LastInputStamp(state));
}

enum { WAKE_INPUT_MS = 2000 }; // how long the displays' wake may take to show as input

bool InputCame(LaunchState *state) {
    bool came = NoteInput(&state->input, GetTickCount(), LastInputStamp(state));
    if (state->woken && GetTickCount() - state->displaysTick >= WAKE_INPUT_MS)
        state->woken = false;
    // The move of no distance that woke the displays when the show's hours began is no
    // visitor: it neither skips an intro nor counts against IDLE2.
    if (!came || !state->woken)
        return came;
    StartWatchingInput(state);
    return false;
}

DWORD MsWithoutInput(LaunchState *state) {
    InputCame(state);
    return IdleMs(&state->input, GetTickCount());
}
