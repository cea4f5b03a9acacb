// What a show without a person asks of Windows: one keeper per show, the computer and the
// display kept awake, an exit key for the operator.
#pragma once
#include "launch/launch_state.h"

// With RESTART2 in the profile form, whether this launcher is the show's only keeper in the
// Windows session: it then owns the show's mutex for the whole run. Logged when not.
bool BecomeOnlyKeeper(LaunchState *state);

// AWAKE: asks Windows to keep the computer (and the display, switching the screen saver off
// for the run) awake until LetSleep.
void KeepAwake(LaunchState *state);
void LetSleep(LaunchState *state);

// EXITKEY: registers the combination on the backdrop, or logs why it cannot.
void RegisterExitKey(LaunchState *state);
