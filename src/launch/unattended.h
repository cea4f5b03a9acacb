// What a show without a person asks of Windows: one keeper per show, a fresh start after an
// update, an exit key for the operator.
#pragma once
#include "launch/launch_state.h"

// With RESTART2 in the profile form, whether this launcher is the show's only keeper in the
// Windows session: it then owns the show's mutex for the whole run. Logged when not.
bool BecomeOnlyKeeper(LaunchState *state);

// Asks Windows to start the launcher again, with the same argument text, when an update
// closes it (Windows' Restart Manager); not after a crash, a hang or a reboot, where the
// show's own start is in charge.
void RegisterForRestart(LaunchState *state, const char *argumentText);

// EXITKEY: registers the combination on the backdrop, or logs why it cannot.
void RegisterExitKey(LaunchState *state);
