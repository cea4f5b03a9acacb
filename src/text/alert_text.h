// Formatting of an alert's text.
#pragma once
#include <stddef.h>

enum { ALERT_TEXT_CHARS = 256 }; // alert text buffer, terminator included

// Copies format into out, replacing each "%s" in turn with the next of the argCount
// arguments (with an empty text once they run out). Arguments are inserted as they stand.
// The result is cut to outChars - 1 characters. Returns its length.
size_t FormatAlertText(char *out, size_t outChars, const char *format, const char *const *args,
                       size_t argCount);
