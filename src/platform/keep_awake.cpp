#include "platform/keep_awake.h"

void KeepAwake(AwakeHold *hold, RunLog *log, const char *value) {
    hold->log = log;
    hold->mode = ParseAwake(value);
    if (hold->mode == AWAKE_NONE)
        return;
    EXECUTION_STATE asked = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    if (hold->mode == AWAKE_DISPLAY)
        asked |= ES_DISPLAY_REQUIRED;
    bool kept = SetThreadExecutionState(asked) != 0;
    if (hold->mode == AWAKE_DISPLAY) {
        // Windows' execution state does not hold a screen saver back. Switched off for the
        // run only, not in the user's profile: a log-on restores it even after a crash.
        BOOL active = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        hold->screenSaverWasOn =
            active && SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, NULL, 0);
    }
    WriteRunLog(log,
                !kept ? "AWAKE %s: Windows refused to keep the computer awake"
                : hold->mode == AWAKE_SYSTEM ? "AWAKE %s: the computer stays awake for the run"
                                             : "AWAKE %s: the computer and the display stay awake "
                                               "and the screen saver does not start",
                value);
}

void LetSleep(AwakeHold *hold) {
    if (hold->mode == AWAKE_NONE)
        return;
    hold->mode = AWAKE_NONE; // given back once, whichever end comes first
    SetThreadExecutionState(ES_CONTINUOUS);
    if (hold->screenSaverWasOn)
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, NULL, 0);
    WriteRunLog(hold->log, "AWAKE: Windows may let the computer sleep again");
}

void HoldDisplay(AwakeHold *hold, bool displayOn) {
    if (hold->mode == AWAKE_DISPLAY)
        SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
                                (displayOn ? ES_DISPLAY_REQUIRED : 0));
}
