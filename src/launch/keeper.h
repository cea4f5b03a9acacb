// Keeping the second program running (RESTART2) for as long as the show lasts.
#pragma once
#include "launch/launch_state.h"

// Reads DAILY2 once for the run, logging a value that does not read as a time.
void ReadKeepingValues(LaunchState *state);

// Whenever the kept program ends it is started again, after a wait that doubles with every
// short run in a row, until it ends with the QUIT2 code or the show is to end. About once a
// second the launcher looks whether it has stopped responding for HUNG2 ms and whether its
// daily fresh start (DAILY2) is due; nothing is started while Windows is deciding whether
// the session ends. True when no one has touched the computer for IDLE2 ms: the program has
// been closed and the show is to start over from its first program.
bool KeepSecondProgram(LaunchState *state);
