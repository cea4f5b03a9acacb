#include "launch/run_log.h"
#include "text/alert_text.h"
#include "text/log_line.h"
#include "text/text.h"

bool OpenRunLog(RunLog *log, const char *name) {
    HANDLE file = CreateFileA(name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
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

void DescribeError(DWORD error, char *out, size_t outChars) {
    char message[256] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  error, 0, message, sizeof message, NULL);
    while (length > 0 && (unsigned char)message[length - 1] <= ' ')
        length--;
    message[length < sizeof message ? length : sizeof message - 1] = '\0';
    char number[16];
    FormatUnsigned(number, sizeof number, error);
    const char *args[] = {number, message};
    FormatAlertText(out, outChars, "%s (%s)", args, 2);
}
