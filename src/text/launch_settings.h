// The launch settings record: the text values in a fixed order, and the splitting of the
// argument text into them.
#pragma once
#include <stddef.h>

// Text is UTF-8. A value holds as many characters as the platform's wide profile reader
// gives: 149 UTF-16 units, each of which comes to at most 3 bytes of UTF-8.
enum {
    VALUE_UNITS = 150, // wide buffer of a value, terminator included
    MAX_VALUE_UNITS = VALUE_UNITS - 1,
    VALUE_CHARS = MAX_VALUE_UNITS * 3 + 1, // buffer size of every value, terminator included
    PATH_UNITS = 261,                      // wide buffer of a full path read back
    PATH_CHARS = (PATH_UNITS - 1) * 3 + 1, // the same path in UTF-8
    KEY_LIST_CHARS = 1024,                 // the names of a profile section's keys
};

enum SettingSlot {
    SLOT_EXE1,
    SLOT_EXE2,
    SLOT_WDIR1,
    SLOT_WDIR2,
    SLOT_DELAY1,
    SLOT_DELAY2,
    SLOT_BACKGROUND,
    SLOT_RED,
    SLOT_GREEN,
    SLOT_BLUE,
    SLOT_TITLE1,
    POSITIONAL_COUNT, // the direct form fills the slots before this one
    // Read from a profile only; in the direct form they stay empty, which reads as the default.
    SLOT_ALERTWAIT = POSITIONAL_COUNT,
    SLOT_TIMEOUT1,
    SLOT_LOG,
    SLOT_SCREENS,
    SLOT_IMAGE,
    SLOT_CURSOR,
    SLOT_RESTART2,
    SLOT_QUIT2,
    SLOT_AWAKE,
    SLOT_HUNG2,
    SLOT_EXITKEY,
    SLOT_DAILY2,
    SLOT_IDLE2,
    SLOT_SKIP1,
    SLOT_TREE1,
    SLOT_TREE2,
    SLOT_MONITOR1,
    SLOT_MONITOR2,
    SLOT_FULLSCREEN1,
    SLOT_FULLSCREEN2,
    SLOT_TASKBAR,
    SLOT_HOURS,
    SLOT_BLANK2,
    SLOT_WAIT1,
    SLOT_WAIT2,
    SLOT_WAITLIMIT,
    SLOT_EVENTLOG,
    SLOT_STATUS,
    SETTING_COUNT
};

struct LaunchSettings {
    char values[SETTING_COUNT][VALUE_CHARS];
    char profile[PATH_CHARS];  // full path of the profile read, empty in the direct form
    char section[VALUE_CHARS]; // its section
    char encoding[32];         // how the profile's text was read, empty in the direct form
    // The names of the section's keys as the profile writes them, each ended by a NUL, the
    // list by one more; empty in the direct form.
    char keys[KEY_LIST_CHARS];
};

// Profile key and default of each slot, in slot order.
extern const char *const kSettingKeys[SETTING_COUNT];
extern const char *const kSettingDefaults[SETTING_COUNT];

// Whether a key name found in the profile section is neither a setting (whatever its case)
// nor a comment (';' or '#' first) nor empty.
bool IsUnknownSettingKey(const char *name);

// Splits text at commas (runs of commas and commas at either end separate nothing) into
// the positional slots in order. Values are cut after MAX_VALUE_UNITS UTF-16 units of whole
// characters; values after the eleventh are dropped; every slot after the last value holds an
// empty text, as do the profile and section. Returns the number of values found, dropped ones
// included.
size_t SplitArgumentText(const char *text, LaunchSettings *settings);
