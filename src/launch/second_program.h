// The second program's start, written once for its first start and every restart of a kept
// show: the start in its folder, its getting ready, the keyboard handed to it.
#pragma once
#include "launch/launch_state.h"

// The backdrop takes the foreground (when it shows), so that Windows lets the program it
// starts next take it in turn.
void TakeForeground(LaunchState *state);

// Starts the second program in its folder, gives it up to DELAY2 to get ready and hands it
// the keyboard; on its first start the recorded top window is raised around its getting
// ready and the pause after it is waited out. An alert when it cannot start. Sets
// state->started.
void StartSecondProgram(LaunchState *state, bool firstStart);
