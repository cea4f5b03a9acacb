// AWAKE: what the run asks of Windows to keep the computer and the display awake, and gives
// back at its end, however it ends (the session's end and an update's restart included).
#pragma once
#include "platform/run_log.h"
#include "text/keeping_values.h"

struct AwakeHold {
    AwakeMode mode;        // what was asked; AWAKE_NONE: nothing to give back
    bool screenSaverWasOn; // switched off for the run, to be switched on at its end
    RunLog *log;
};

// Asks Windows to keep the computer (and the display, switching the screen saver off for the
// run) awake as value (AWAKE) says, until LetSleep.
void KeepAwake(AwakeHold *hold, RunLog *log, const char *value);
void LetSleep(AwakeHold *hold);

// While the displays are off out of the show's hours, the display's part of AWAKE is given
// back (displayOn false) and the computer's kept; asked again when they come on.
void HoldDisplay(AwakeHold *hold, bool displayOn);
