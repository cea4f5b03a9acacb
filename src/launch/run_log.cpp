#include "launch/run_log.h"
#include "platform/wide_text.h"
#include "text/alert_text.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/text.h"

bool OpenRunLog(RunLog *log, const char *name) {
    wchar_t wideName[VALUE_CHARS];
    ToWide(name, wideName, VALUE_CHARS);
    HANDLE file = CreateFileW(wideName, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    log->file = file == INVALID_HANDLE_VALUE ? NULL : file;
    return log->file != NULL;
}

void WriteRunLog(const RunLog *log, const char *format, const char *arg1, const char *arg2,
                 const char *arg3, const char *arg4) {
    if (log->file == NULL)
        return;
    const char *args[] = {arg1, arg2, arg3, arg4};
    char event[LOG_LINE_CHARS];
    FormatAlertText(event, sizeof event, format, args, sizeof args / sizeof args[0]);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LogTime time = {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                          now.wMinute, now.wSecond, now.wMilliseconds};
    char line[LOG_LINE_CHARS];
    DWORD length = (DWORD)FormatLogLine(line, sizeof line, &time, event);
    DWORD written;
    // One write per line: with the file opened for appending, lines of runs that share the
    // file never mix.
    WriteFile(log->file, line, length, &written, NULL);
}
