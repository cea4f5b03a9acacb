// The launch settings record: eleven text values in a fixed order, and the splitting
// of the argument text into them.
#pragma once
#include <stddef.h>

enum {
    VALUE_CHARS = 150, // buffer size of every value, terminator included
    MAX_VALUE_CHARS = VALUE_CHARS - 1,
    PATH_CHARS = 261, // buffer size of a full path read back from the platform
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
    SETTING_COUNT
};

struct LaunchSettings {
    char values[SETTING_COUNT][VALUE_CHARS];
};

// Profile key and default of each slot, in slot order.
extern const char *const kSettingKeys[SETTING_COUNT];
extern const char *const kSettingDefaults[SETTING_COUNT];

// Splits text at commas (runs of commas and commas at either end separate nothing) into
// the slots in order. Values are cut at MAX_VALUE_CHARS; values after the eleventh are
// dropped; slots after the last value hold empty texts. Returns the number of values found,
// dropped ones included.
size_t SplitArgumentText(const char *text, LaunchSettings *settings);
