#include "launch/unattended.h"
#include "platform/error_text.h"
#include "platform/wide_text.h"
#include "text/keeping_values.h"
#include "text/log_line.h"
#include "text/setting_values.h"

enum {
    EXIT_KEY_ID = 1,
    // MOD_NOREPEAT, which Windows knows from 7 on: a key held down does not repeat the hot key.
    NO_REPEAT_MODIFIER = 0x4000,
};

bool BecomeOnlyKeeper(LaunchState *state) {
    if (state->restartMs == 0 || state->settings.profile[0] == '\0')
        return true;
    char name[64];
    FormatKeeperName(state->settings.profile, state->settings.section, name, sizeof name);
    wchar_t wideName[64];
    ToWide(name, wideName, 64);
    // Owned until the process ends, however it ends; Windows then lets the next keeper in.
    HANDLE mutex = CreateMutexW(NULL, TRUE, wideName);
    if (mutex == NULL || GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    CloseHandle(mutex);
    WriteRunLog(&state->log, "this show is already kept by another launcher: nothing to do");
    return false;
}

void KeepAwake(LaunchState *state) {
    AwakeMode mode = ParseAwake(Value(state, SLOT_AWAKE));
    if (mode == AWAKE_NONE)
        return;
    EXECUTION_STATE asked = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    if (mode == AWAKE_DISPLAY)
        asked |= ES_DISPLAY_REQUIRED;
    bool kept = SetThreadExecutionState(asked) != 0;
    if (mode == AWAKE_DISPLAY) {
        // Windows' execution state does not hold a screen saver back. Switched off for the
        // run only, not in the user's profile: a log-on restores it even after a crash.
        BOOL active = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        state->screenSaverWasOn =
            active && SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, NULL, 0);
    }
    WriteRunLog(&state->log,
                !kept                  ? "AWAKE %s: Windows refused to keep the computer awake"
                : mode == AWAKE_SYSTEM ? "AWAKE %s: the computer stays awake for the run"
                                       : "AWAKE %s: the computer and the display stay awake "
                                         "and the screen saver does not start",
                Value(state, SLOT_AWAKE));
}

void LetSleep(LaunchState *state) {
    if (ParseAwake(Value(state, SLOT_AWAKE)) == AWAKE_NONE)
        return;
    SetThreadExecutionState(ES_CONTINUOUS);
    if (state->screenSaverWasOn)
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, NULL, 0);
    WriteRunLog(&state->log, "AWAKE: Windows may let the computer sleep again");
}

void RegisterExitKey(LaunchState *state) {
    const char *value = Value(state, SLOT_EXITKEY);
    uint32_t modifiers, key;
    if (!IsValueSet(value))
        return;
    if (!ParseExitKey(value, &modifiers, &key)) {
        WriteRunLog(&state->log,
                    "EXITKEY '%s' does not read as a key combination: the show runs without it",
                    value);
        return;
    }
    bool registered =
        RegisterHotKey(state->backdrop, EXIT_KEY_ID, modifiers | NO_REPEAT_MODIFIER, key) != 0;
    if (!registered && GetLastError() == ERROR_INVALID_PARAMETER)
        registered = RegisterHotKey(state->backdrop, EXIT_KEY_ID, modifiers, key) != 0;
    if (registered) {
        WriteRunLog(&state->log, "EXITKEY %s: pressing it ends the show", value);
        return;
    }
    char why[LOG_LINE_CHARS / 4];
    DescribeError(GetLastError(), why, sizeof why);
    WriteRunLog(&state->log, "EXITKEY %s could not be had: error %s; the show runs without it",
                value, why);
}
