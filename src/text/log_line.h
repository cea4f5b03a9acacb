// The lines of the run log: a local time stamp, the event, CR LF.
#pragma once
#include <stddef.h>

enum { LOG_LINE_CHARS = 2048 }; // log line buffer (UTF-8), terminator included

struct LogTime {
    unsigned year, month, day, hour, minute, second, millisecond;
};

// Writes "YYYY-MM-DD HH:MM:SS.mmm event" and CR LF into out. A line feed or carriage return
// in the event is written as the two characters \n or \r, so that an event stays one line;
// an event too long for out is cut after a whole UTF-8 character, the CR LF always ends the
// line. Returns the length written, 0 when out has no room for a stamp.
size_t FormatLogLine(char *out, size_t outChars, const LogTime *time, const char *event);
