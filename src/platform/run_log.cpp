#include "platform/run_log.h"
#include "platform/error_text.h"
#include "platform/wide_text.h"
#include "text/alert_text.h"
#include "text/keeping_values.h"
#include "text/log_line.h"
#include "text/text.h"
#include <wchar.h>

enum { LOCK_WAIT_MS = 2000 }; // a launcher that died holding the lock gives it up at once

static HANDLE OpenForAppending(const wchar_t *name) {
    HANDLE file =
        CreateFileW(name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    return file == INVALID_HANDLE_VALUE ? NULL : file;
}

bool OpenRunLog(RunLog *log, const char *name) {
    HANDLE file = FullPathOfName(name, log->name) ? OpenForAppending(log->name) : NULL;
    if (file == NULL) {
        log->name[0] = L'\0';
        return false;
    }
    CloseHandle(file);
    char path[PATH_CHARS], lockName[64];
    ToUtf8(log->name, path, sizeof path);
    FormatLogLockName(path, lockName, sizeof lockName);
    wchar_t wideLock[64];
    ToWide(lockName, wideLock, 64);
    // Without it (another user's launcher made it) the lines are still written, unserialised.
    log->lock = CreateMutexW(NULL, FALSE, wideLock);
    InitializeCriticalSection(&log->thread);
    return true;
}

// A full log is renamed with ".old" added, replacing an older one, and a new one begun; when
// the renaming fails, the lines go on into the same file.
static HANDLE RollOver(RunLog *log, HANDLE file) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < LOG_ROLL_BYTES)
        return file;
    wchar_t old[PATH_UNITS + 4];
    size_t length = wcslen(log->name);
    wmemcpy(old, log->name, length);
    wmemcpy(old + length, L".old", 5);
    CloseHandle(file);
    MoveFileExW(log->name, old, MOVEFILE_REPLACE_EXISTING);
    return OpenForAppending(log->name);
}

void LocalLogTime(LogTime *time) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    *time = {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
             now.wMinute, now.wSecond, now.wMilliseconds};
}

void WriteRunLog(RunLog *log, const char *format, const char *arg1, const char *arg2,
                 const char *arg3, const char *arg4) {
    if (log->name[0] == L'\0')
        return;
    const char *args[] = {arg1, arg2, arg3, arg4};
    char event[LOG_LINE_CHARS];
    FormatAlertText(event, sizeof event, format, args, sizeof args / sizeof args[0]);
    WriteRunLogText(log, event);
}

void WriteRunLogText(RunLog *log, const char *event) {
    if (log->name[0] == L'\0')
        return;
    LogTime time;
    LocalLogTime(&time);
    char line[LOG_LINE_CHARS];
    DWORD length = (DWORD)FormatLogLine(line, sizeof line, &time, event);
    EnterCriticalSection(&log->thread);
    DWORD locked = log->lock != NULL ? WaitForSingleObject(log->lock, LOCK_WAIT_MS) : WAIT_FAILED;
    // The name is opened for every line: the file behind a handle kept open may have been
    // renamed by another launcher. One write per line, opened for appending: lines of runs
    // that share the file never mix. A line that cannot be written (a full disk, a stick
    // pulled out) is lost; the next one tries again.
    HANDLE file = OpenForAppending(log->name);
    if (file != NULL)
        file = RollOver(log, file);
    DWORD written = 0;
    if (file != NULL) {
        WriteFile(file, line, length, &written, NULL);
        CloseHandle(file);
    }
    if (locked == WAIT_OBJECT_0 || locked == WAIT_ABANDONED)
        ReleaseMutex(log->lock);
    LeaveCriticalSection(&log->thread);
}

void WriteRunLogNumber(RunLog *log, const char *format, unsigned long number) {
    char text[16];
    FormatUnsigned(text, sizeof text, number);
    WriteRunLog(log, format, text);
}

void WriteRunLogError(RunLog *log, const char *format, DWORD error, const char *before,
                      const char *arg3, const char *arg4) {
    char why[LOG_LINE_CHARS / 4];
    DescribeError(error, why, sizeof why);
    if (before != nullptr)
        WriteRunLog(log, format, before, why, arg3, arg4);
    else
        WriteRunLog(log, format, why, arg3, arg4);
}
