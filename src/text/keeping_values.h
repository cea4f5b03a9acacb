// The values of a show kept for months without a person: whether Windows must keep the
// computer and the display awake, the exit key, the time of the daily fresh start, and the
// name that tells two keepers of one show apart from keepers of different shows.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum AwakeMode {
    AWAKE_NONE,    // nothing asked of Windows
    AWAKE_SYSTEM,  // the computer does not sleep; the display may turn off
    AWAKE_DISPLAY, // neither sleeps, and the screen saver does not start
};

// AWAKE: "1" or "DISPLAY" keep the display on, "SYSTEM" the computer only (A-Z compared
// without case); anything else asks nothing.
AwakeMode ParseAwake(const char *value);

// The modifier bits of an exit key, as Windows' hot-key calls take them.
const uint32_t KEY_ALT = 1, KEY_CONTROL = 2, KEY_SHIFT = 4, KEY_WIN = 8;

// EXITKEY: any of "Ctrl", "Alt", "Shift", "Win" joined with '+', then one key: A-Z, 0-9,
// F1-F24, Esc, Space, Enter, Tab, Pause, Insert, Delete, Home, End (A-Z compared without
// case, blanks around the parts allowed). The modifier bits and the key's Windows virtual-key
// code; false when the value does not read so.
bool ParseExitKey(const char *value, uint32_t *modifiers, uint32_t *virtualKey);

// DAILY2: "HH:MM" or "HH:MM:SS", 24-hour (the hour of one or two digits), blanks around it
// allowed. The second of the day; false when the value does not read so.
bool ParseDailyTime(const char *value, uint32_t *secondOfDay);

// The name of the mutex a keeper of the show owns, in the session's namespace: the same for
// the same profile path and section compared without case (the section without its
// surrounding blanks), different for different ones.
void FormatKeeperName(const char *profile, const char *section, char *out, size_t outChars);

// The name of the lock that launchers writing to one log share while they write a line and
// roll the file over: the same for the same full path compared without case.
void FormatLogLockName(const char *path, char *out, size_t outChars);
