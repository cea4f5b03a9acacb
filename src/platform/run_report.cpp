#include "platform/run_report.h"
#include "platform/wide_text.h"
#include "text/alert_text.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <wchar.h>

// The run's one log with its report, for the status timer's procedure, which has no data of
// its own.
static RunLog *timedLog;

static WORD EventType(DWORD id) {
    return id >= EVENT_ALERT       ? EVENTLOG_ERROR_TYPE
           : id >= EVENT_RESTARTED ? EVENTLOG_WARNING_TYPE
                                   : EVENTLOG_INFORMATION_TYPE;
}

// The status file written whole beside its place, then moved over it: a reader sees the last
// text or this one, never half of one. A failure is logged once; the next rewrite tries again.
static void WriteStatus(RunLog *log) {
    RunReport *report = log->report;
    if (report == NULL || report->statusName[0] == L'\0')
        return;
    LogTime now;
    LocalLogTime(&now);
    char text[STATUS_CHARS];
    DWORD length = (DWORD)FormatStatus(text, sizeof text, &report->facts, &now);
    HANDLE file = CreateFileW(report->statusTemporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0, error = GetLastError();
    bool whole = file != INVALID_HANDLE_VALUE && WriteFile(file, text, length, &written, NULL) &&
                 written == length;
    if (file != INVALID_HANDLE_VALUE) {
        error = GetLastError();
        CloseHandle(file);
    }
    if (whole &&
        MoveFileExW(report->statusTemporary, report->statusName, MOVEFILE_REPLACE_EXISTING))
        return;
    if (whole)
        error = GetLastError();
    if (report->statusFailureTold)
        return;
    report->statusFailureTold = true;
    char name[PATH_CHARS];
    ToUtf8(report->statusName, name, sizeof name);
    WriteRunLogError(log,
                     "STATUS %s could not be written: error %s; the show goes on (this is "
                     "told once)",
                     error, name);
}

static void CALLBACK RewriteStatus(HWND, UINT, UINT_PTR, DWORD) {
    WriteStatus(timedLog);
}

void OpenRunReport(RunLog *log, RunReport *report, bool eventLog) {
    log->report = report;
    report->facts.stage = "starting";
    report->facts.launcherId = GetCurrentProcessId();
    if (eventLog && (report->source = RegisterEventSourceW(NULL, L"Korvane")) == NULL)
        WriteRunLogError(log, "EVENTLOG: the event log cannot be written: error %s",
                         GetLastError());
}

void OpenStatusFile(RunLog *log, const char *statusName) {
    RunReport *report = log->report;
    if (!IsValueSet(statusName))
        return;
    if (!FullPathOfName(statusName, report->statusName)) {
        WriteRunLog(log, "STATUS '%s' names no file: there is no status file", statusName);
        return;
    }
    size_t length = wcslen(report->statusName);
    wmemcpy(report->statusTemporary, report->statusName, length);
    wmemcpy(report->statusTemporary + length, L".tmp", 5);
    timedLog = log;
    SetTimer(NULL, 0, STATUS_EVERY_MS, RewriteStatus);
    WriteStatus(log);
}

// The event to the Windows log: its text, then, when some of its id were held back, how many.
static void ReportEvent(RunReport *report, DWORD id, const char *event) {
    uint32_t heldBack = 0;
    if (report->source == NULL || !PassEvent(&report->gates[id], GetTickCount(), &heldBack))
        return;
    wchar_t text[LOG_LINE_CHARS], note[64] = L"";
    ToWide(event, text, LOG_LINE_CHARS);
    if (heldBack > 0) {
        char count[16], line[64];
        FormatUnsigned(count, sizeof count, heldBack);
        const char *args[] = {count};
        FormatAlertText(line, sizeof line, " (%s more of these left out since the last one)", args,
                        1);
        ToWide(line, note, 64);
    }
    const wchar_t *strings[] = {text, note};
    ReportEventW(report->source, EventType(id), 0, id, NULL, 2, 0, strings, NULL);
}

void WriteRunEvent(RunLog *log, DWORD id, const char *format, const char *arg1, const char *arg2,
                   const char *arg3, const char *arg4) {
    const char *args[] = {arg1, arg2, arg3, arg4};
    char event[LOG_LINE_CHARS];
    FormatAlertText(event, sizeof event, format, args, sizeof args / sizeof args[0]);
    WriteRunLogText(log, event);
    ReportRunEvent(log, id, event);
}

// The status file's count an event adds to, or STATUS_COUNTS for none.
static int CountOf(DWORD id) {
    switch (id) {
    case EVENT_FIRST_STARTS:
    case EVENT_SECOND_STARTS:
        return COUNT_STARTS;
    case EVENT_RESTARTED:
        return COUNT_RESTARTS;
    case EVENT_HUNG_ENDED:
        return COUNT_HUNGS_ENDED;
    case EVENT_RENEWED:
        return COUNT_RENEWALS;
    case EVENT_ALERT:
        return COUNT_ALERTS;
    default:
        return STATUS_COUNTS;
    }
}

void ReportRunEvent(RunLog *log, DWORD id, const char *event) {
    RunReport *report = log->report;
    if (report == NULL || id == 0 || id >= EVENT_IDS)
        return;
    ReportEvent(report, id, event);
    StatusFacts *facts = &report->facts;
    int count = CountOf(id);
    if (count < STATUS_COUNTS)
        facts->counts[count]++;
    if (id == EVENT_SHOW_ENDS)
        facts->stage = "ended";
    LogTime now;
    LocalLogTime(&now);
    size_t length = FormatLogLine(facts->lastEvent, sizeof facts->lastEvent, &now, event);
    facts->lastEvent[length >= 2 ? length - 2 : 0] = '\0'; // without its CR LF
    WriteStatus(log);
}

void WriteRunEventNumber(RunLog *log, DWORD id, const char *format, unsigned long number) {
    char text[16];
    FormatUnsigned(text, sizeof text, number);
    WriteRunEvent(log, id, format, text);
}

void NoteRunStage(RunLog *log, const char *stage) {
    if (log->report == NULL || log->report->facts.stage == stage)
        return;
    log->report->facts.stage = stage;
    WriteStatus(log);
}

DWORD NoteProgramStart(RunLog *log, int program, DWORD id) {
    if (log->report != NULL) {
        log->report->facts.programId[program] = id;
        LocalLogTime(&log->report->facts.programStart[program]);
    }
    return program == 0 ? EVENT_FIRST_STARTS : EVENT_SECOND_STARTS;
}
