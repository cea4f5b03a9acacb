// The rules of what the run reports beyond its log: the status file's lines, and how often an
// event of one id may go to the Windows event log.
#pragma once
#include "text/log_line.h"
#include <stddef.h>
#include <stdint.h>

enum {
    EVENT_GATE_MS = 60000,             // at most one event of an id in this time
    STATUS_CHARS = 2 * LOG_LINE_CHARS, // the status file's text, terminator included
};

// Of the events of one id: when one last went to the event log, and how many were held back
// since.
struct EventGate {
    uint32_t lastMs;
    bool passed;
    uint32_t heldBack;
};

// Whether an event of the gate's id may go to the event log now (a millisecond tick count,
// which may wrap): the first always, later ones once EVENT_GATE_MS have passed since the last
// that went. *heldBack gets how many were held back before this one, which went.
bool PassEvent(EventGate *gate, uint32_t nowMs, uint32_t *heldBack);

enum StatusCount {
    COUNT_STARTS,
    COUNT_RESTARTS,
    COUNT_HUNGS_ENDED,
    COUNT_RENEWALS,
    COUNT_ALERTS,
    STATUS_COUNTS
};

// What the status file tells.
struct StatusFacts {
    const char *stage;                   // the stage the run is in
    unsigned long launcherId;            // the launcher's own process id
    unsigned long programId[2];          // the first and second program's last process id; 0: none
    LogTime programStart[2];             // and when it started
    unsigned long counts[STATUS_COUNTS]; // since the run began
    char lastEvent[LOG_LINE_CHARS];      // the last event as the log writes it (its line), or empty
};

// The status file's text at the time now: one "key=value" line (CR LF) for each fact, the
// times as "YYYY-MM-DD HH:MM:SS" local time, a program that has not started with empty values.
// Cut after the last whole line that fits out (outChars). Returns the length written.
size_t FormatStatus(char *out, size_t outChars, const StatusFacts *facts, const LogTime *now);
