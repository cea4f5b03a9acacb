// The run log: one time-stamped line per event, appended to the file LOG names, so that an
// operator can read afterwards, or watch during the show, what the launcher did. A show runs
// for months, so the log stays small: at 1 MiB the file is renamed with ".old" added and a
// new one begun. A line that could not be written makes the next one open the file again.
#pragma once
#include "text/launch_settings.h"
#include <windows.h>

enum { LOG_ROLL_BYTES = 1 << 20 }; // size at which the log is renamed and begun anew

struct RunLog {
    wchar_t name[PATH_UNITS]; // full path; empty when there is no log: every write does nothing
    HANDLE file;              // NULL while closed, after a failed write or a renaming
    CRITICAL_SECTION lock;    // the run and the picture's reading thread both write lines
};

// Opens name for appending, shared for reading, writing and renaming, so that a viewer or
// another launcher holding it open stops neither; a relative name is taken in the current
// folder, now. False, and no log, when it cannot be opened.
bool OpenRunLog(RunLog *log, const char *name);

// Appends one line: the local time, then format with each "%s" replaced by the next argument.
void WriteRunLog(RunLog *log, const char *format, const char *arg1 = "", const char *arg2 = "",
                 const char *arg3 = "", const char *arg4 = "");
