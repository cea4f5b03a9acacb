// The screens belong to the show while the launcher runs: each program's main window on its
// monitor and kept over it whole (MONITOR1, MONITOR2, FULLSCREEN1, FULLSCREEN2), the taskbars
// hidden (TASKBAR), the displays dark outside the show's HOURS. Looked after about once a
// second by a timer of the backdrop's, so in every stage of the run alike, alerts included.
#pragma once
#include "launch/launch_state.h"

// Reads those keys (a value that does not read is logged), logs the monitors' numbers when a
// window is to go on one, hides the taskbars and starts the looks.
void StartScreenKeeping(LaunchState *state);

// While the kept program is watched (true), its looks, about once a second, look after the
// screens in place of the timer, so that the launcher wakes once a second, not twice; false
// gives the looks back to the timer.
void ScreenLooksByKeeper(bool byKeeper);

// One look after the screens, as the timer's, when they are looked after at all.
void LookAfterScreensNow(LaunchState *state);

// Switches the displays back on when HOURS had them off. The backdrop shows the taskbars again
// as it goes.
void EndScreenKeeping(LaunchState *state);
