// The show's first program (EXE1), an intro: started after DELAY1, waited for until it ends
// (with TREE1, with every program it starts), TIMEOUT1 runs out or a visitor skips it (SKIP1),
// then the wait for its TITLE1 window to go.
#pragma once
#include "launch/launch_state.h"

// Runs the first program's stage; the backdrop is on top again at its end.
void RunFirstProgram(LaunchState *state);

// A first program that TIMEOUT1 left running in the last round is asked to close, and ended
// after 2 s, before the show starts over: a new round never starts a second copy of it.
void EndLeftoverFirstProgram(LaunchState *state);
