// Keeping the second program running (RESTART2) for as long as the show lasts.
#pragma once
#include "launch/launch_state.h"

// Reads DAILY2 once for the run, logging a value that does not read as a time.
void ReadKeepingValues(LaunchState *state);

// A start of the second program: one started after the day's DAILY2 time is renewed from the
// next day on, never at its first look.
void NoteKeptStart(LaunchState *state);

// Whenever the kept program ends, or fails to start, it is started again after a wait that
// doubles with every short run in a row, until it ends with the QUIT2 code or the show is to
// end. About once a second the launcher looks whether it has stopped responding for HUNG2 ms
// and whether its daily fresh start (DAILY2) is due. True when no one has touched the
// computer for IDLE2 ms: the program has been closed and the show is to start over from its
// first program.
bool KeepSecondProgram(LaunchState *state);
