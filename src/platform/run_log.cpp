#include "platform/run_log.h"
#include "platform/wide_text.h"
#include "text/alert_text.h"
#include "text/log_line.h"
#include <wchar.h>

static HANDLE OpenForAppending(const wchar_t *name) {
    HANDLE file =
        CreateFileW(name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    return file == INVALID_HANDLE_VALUE ? NULL : file;
}

bool OpenRunLog(RunLog *log, const char *name) {
    wchar_t wideName[VALUE_CHARS];
    ToWide(name, wideName, VALUE_CHARS);
    DWORD length = GetFullPathNameW(wideName, PATH_UNITS, log->name, NULL);
    log->file = length > 0 && length < PATH_UNITS ? OpenForAppending(log->name) : NULL;
    if (log->file == NULL) {
        log->name[0] = L'\0';
        return false;
    }
    InitializeCriticalSection(&log->lock);
    return true;
}

// A full log is renamed with ".old" added, replacing an older one, and a new one begun; when
// the renaming fails, the lines go on into the same file.
static void RollOver(RunLog *log) {
    LARGE_INTEGER size;
    if (log->file == NULL || !GetFileSizeEx(log->file, &size) || size.QuadPart < LOG_ROLL_BYTES)
        return;
    wchar_t old[PATH_UNITS + 4];
    size_t length = wcslen(log->name);
    wmemcpy(old, log->name, length);
    wmemcpy(old + length, L".old", 5);
    CloseHandle(log->file);
    MoveFileExW(log->name, old, MOVEFILE_REPLACE_EXISTING);
    log->file = NULL;
}

void WriteRunLog(RunLog *log, const char *format, const char *arg1, const char *arg2,
                 const char *arg3, const char *arg4) {
    if (log->name[0] == L'\0')
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
    EnterCriticalSection(&log->lock);
    RollOver(log);
    if (log->file == NULL)
        log->file = OpenForAppending(log->name);
    DWORD written = 0;
    // One write per line: with the file opened for appending, lines of runs that share the
    // file never mix. A write that fails (a full disk, a stick pulled out) closes the file,
    // to be opened again for the next line.
    if (log->file != NULL &&
        (!WriteFile(log->file, line, length, &written, NULL) || written != length)) {
        CloseHandle(log->file);
        log->file = NULL;
    }
    LeaveCriticalSection(&log->lock);
}
