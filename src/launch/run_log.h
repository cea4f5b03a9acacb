// The run log: one time-stamped line per event, appended to the file LOG names, so that an
// operator can read afterwards, or watch during the show, what the launcher did.
#pragma once
#include <windows.h>

struct RunLog {
    HANDLE file; // NULL when there is no log: every write then does nothing
};

// Opens name for appending, shared for reading and writing; a relative name is taken in
// the current folder. False, and no log, when it cannot be opened.
bool OpenRunLog(RunLog *log, const char *name);

// Appends one line: the local time, then format with each "%s" replaced by the next argument.
void WriteRunLog(const RunLog *log, const char *format, const char *arg1 = "",
                 const char *arg2 = "", const char *arg3 = "", const char *arg4 = "");
