// Before each start of a program (restarts and new rounds too) the show can wait until what the
// program needs is there: a path (a file, a folder, a drive, a share) that exists, or a TCP
// port that accepts a connection (WAIT1, WAIT2), at most WAITLIMIT ms. The look runs in a
// thread of its own beside the run's one wait: a share that does not answer holds the look for
// half a minute or more, never the backdrop or the exit key.
#pragma once
#include "launch/launch_state.h"

// Reads WAIT1, WAIT2 and WAITLIMIT for the run; a relative path is taken in the current folder,
// the launcher's start folder, now.
void ReadWorldWaits(LaunchState *state);

// Waits, when the program (0 first, 1 second) has something to wait for, until it is there, the
// limit runs out or the show is to end. Logs how it went.
void AwaitWorld(LaunchState *state, int program);
