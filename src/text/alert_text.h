// Formatting of an alert's text.
#pragma once
#include <stddef.h>

// An alert shows at most 255 UTF-16 units; its UTF-8 text, at most 3 bytes a unit.
enum {
    ALERT_TEXT_UNITS = 256, // wide alert text, terminator included
    ALERT_TEXT_CHARS = (ALERT_TEXT_UNITS - 1) * 3 + 1,
};

// Copies format into out, replacing each "%s" in turn with the next of the argCount
// arguments (with an empty text once they run out). Arguments are inserted as they stand.
// The result is cut to outChars - 1 bytes, after a whole UTF-8 character. Returns its length.
size_t FormatAlertText(char *out, size_t outChars, const char *format, const char *const *args,
                       size_t argCount);
