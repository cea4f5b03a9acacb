#include "text/launch_settings.h"
#include "text/text.h"
#include "text/utf.h"
#include <string.h>

const char *const kSettingKeys[SETTING_COUNT] = {
    "EXE1",     "EXE2",        "WDIR1",       "WDIR2",    "DELAY1",    "DELAY2",   "BACKGROUND",
    "RED",      "GREEN",       "BLUE",        "TITLE1",   "ALERTWAIT", "TIMEOUT1", "LOG",
    "SCREENS",  "IMAGE",       "CURSOR",      "RESTART2", "QUIT2",     "AWAKE",    "HUNG2",
    "EXITKEY",  "DAILY2",      "IDLE2",       "SKIP1",    "TREE1",     "TREE2",    "MONITOR1",
    "MONITOR2", "FULLSCREEN1", "FULLSCREEN2", "TASKBAR",  "HOURS",     "BLANK2",   "WAIT1",
    "WAIT2",    "WAITLIMIT",   "EVENTLOG",    "STATUS",
};

const char *const kSettingDefaults[SETTING_COUNT] = {
    "NONE", "NONE", "NONE", "NONE", "1000", "1000", "1",    "0",    "0",    "0",
    "NONE", "NONE", "NONE", "NONE", "ALL",  "NONE", "1",    "NONE", "NONE", "NONE",
    "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE",
    "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE", "NONE",
};

bool IsUnknownSettingKey(const char *name) {
    if (name[0] == '\0' || name[0] == ';' || name[0] == '#')
        return false;
    for (size_t slot = 0; slot < SETTING_COUNT; slot++)
        if (EqualsIgnoringCase(name, strlen(name), kSettingKeys[slot], strlen(kSettingKeys[slot])))
            return false;
    return true;
}

size_t SplitArgumentText(const char *text, LaunchSettings *settings) {
    for (size_t slot = 0; slot < SETTING_COUNT; slot++)
        settings->values[slot][0] = '\0';
    settings->profile[0] = '\0';
    settings->section[0] = '\0';
    settings->encoding[0] = '\0';
    settings->keys[0] = '\0';

    size_t count = 0;
    const char *p = text;
    for (;;) {
        while (*p == ',')
            p++;
        if (*p == '\0')
            return count;
        const char *start = p;
        while (*p != '\0' && *p != ',')
            p++;
        if (count < POSITIONAL_COUNT)
            CopyTextUnits(settings->values[count], VALUE_CHARS, start, (size_t)(p - start),
                          MAX_VALUE_UNITS);
        count++;
    }
}
