// The run log: one time-stamped line per event, appended to the file LOG names, so that an
// operator can read afterwards, or watch during the show, what the launcher did. A show runs
// for months, so the log stays small: at 1 MiB the file is renamed with ".old" added and a
// new one begun. Several launchers (two shows on one machine) may share one log: each line
// is written through the name, under a lock of that name's own, so a renaming by one never
// sends another's lines into the ".old" file.
#pragma once
#include "text/launch_settings.h"
#include <windows.h>

enum { LOG_ROLL_BYTES = 1 << 20 }; // size at which the log is renamed and begun anew

struct RunReport;
struct LogTime;

struct RunLog {
    wchar_t name[PATH_UNITS]; // full path; empty when there is no log: every write does nothing
    HANDLE lock; // named after the full path, shared by every launcher writing there; or NULL
    CRITICAL_SECTION thread; // the run and the picture's reading thread both write lines
    RunReport *report;       // where events go beyond the log (platform/run_report.h), or NULL
};

// Checks that name can be opened for appending, shared for reading, writing and renaming, so
// that a viewer or another launcher holding it open stops neither; a relative name is taken
// in the current folder, now. False, and no log, when it cannot be opened.
bool OpenRunLog(RunLog *log, const char *name);

// Appends one line: the local time, then format with each "%s" replaced by the next argument.
void WriteRunLog(RunLog *log, const char *format, const char *arg1 = "", const char *arg2 = "",
                 const char *arg3 = "", const char *arg4 = "");

// Appends the event's text, formatted already, as one line.
void WriteRunLogText(RunLog *log, const char *event);

// The local time now, as the log's lines give it.
void LocalLogTime(LogTime *time);

// WriteRunLog for a line that tells a Windows error (or COM result) in words: its arguments
// are before (when given), the error, then arg3 and arg4.
void WriteRunLogError(RunLog *log, const char *format, DWORD error, const char *before = nullptr,
                      const char *arg3 = "", const char *arg4 = "");

// WriteRunLog for a line whose one "%s" is a number, written in decimal.
void WriteRunLogNumber(RunLog *log, const char *format, unsigned long number);
