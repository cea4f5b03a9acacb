// What the run tells beyond its log, for those who look after many machines: its events in the
// Windows Application log (EVENTLOG=1, source Korvane, the texts in the exe's message table),
// and a status file (STATUS) rewritten at each event, at each change of stage and every few
// seconds, whose age tells that the launcher is alive. Every event also goes to the run log.
#pragma once
#include "korvane_events.h"
#include "platform/run_log.h"
#include "text/report_text.h"
#include <windows.h>

enum {
    EVENT_IDS = EVENT_ALERT + 1, // the ids of the message table run from 1 to EVENT_ALERT
    STATUS_EVERY_MS = 9000,      // the status file's rewrites: it is never 10 s old
};

struct RunReport {
    HANDLE source;                           // the event log's, or NULL
    EventGate gates[EVENT_IDS];              // one per event id
    wchar_t statusName[PATH_UNITS];          // full path of the status file, or empty
    wchar_t statusTemporary[PATH_UNITS + 4]; // written whole, then moved over it
    bool statusFailureTold;                  // a failed write is logged once
    StatusFacts facts;
};

// Gives the log its report, with the event source when eventLog. An event source that cannot
// be had is logged and left out; the show goes on.
void OpenRunReport(RunLog *log, RunReport *report, bool eventLog);

// Starts the report's status file, when name is set (a relative name is taken in the current
// folder, now), and its rewrites on a timer of this thread.
void OpenStatusFile(RunLog *log, const char *name);

// Writes one event: its line to the log (as WriteRunLog), to the event log under its id and to
// the status file as the last event, counted there by its id. An id of 0 is a log line only.
void WriteRunEvent(RunLog *log, DWORD id, const char *format, const char *arg1 = "",
                   const char *arg2 = "", const char *arg3 = "", const char *arg4 = "");

// The event's text to the event log and the status file, not to the log.
void ReportRunEvent(RunLog *log, DWORD id, const char *event);

// WriteRunEvent for a line whose one "%s" is a number, written in decimal.
void WriteRunEventNumber(RunLog *log, DWORD id, const char *format, unsigned long number);

// The stage the run is in now ("first", "kept", ...), for the status file, which is rewritten.
void NoteRunStage(RunLog *log, const char *stage);

// A program of the run (0 first, 1 second) has started as process id (0: none known), now.
// Returns the id of the event that tells it.
DWORD NoteProgramStart(RunLog *log, int program, DWORD id);
