// Whether a visitor touches the computer while a program of the show runs (SKIP1, IDLE2).
#pragma once
#include "launch/launch_state.h"

// Starts the clock of input now: what came before does not count.
void StartWatchingInput(LaunchState *state);

// A look at Windows' last input; true when input came since the last look.
bool InputCame(LaunchState *state);

// Milliseconds without input since the clock's start, as of a look now.
DWORD MsWithoutInput(LaunchState *state);
