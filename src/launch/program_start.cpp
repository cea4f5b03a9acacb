#include "launch/program_start.h"
#include "launch/shell_open.h"
#include "platform/run_report.h"
#include "platform/show_wait.h"
#include "platform/wide_text.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/text.h"
#include <versionhelpers.h>

enum {
    // ERROR_ELEVATION_REQUIRED, which mingw-w64's headers lack: the program must run elevated.
    ELEVATION_REQUIRED_ERROR = 740,
};

bool MakeDirectoryCurrent(const char *directory, char *full, DWORD fullChars) {
    full[0] = '\0';
    wchar_t wideDirectory[VALUE_CHARS], wideFull[PATH_UNITS];
    ToWide(directory, wideDirectory, VALUE_CHARS);
    if (!SetCurrentDirectoryW(wideDirectory))
        return false;
    DWORD length = GetCurrentDirectoryW(PATH_UNITS, wideFull);
    if (length == 0 || length >= PATH_UNITS)
        return false;
    ToUtf8(wideFull, full, fullChars);
    bool network = (full[0] == '\\' && full[1] == '\\') || (full[0] == '/' && full[1] == '/');
    if (network)
        return true;
    wchar_t drive = wideFull[0] >= L'a' && wideFull[0] <= L'z'
                        ? (wchar_t)(wideFull[0] - L'a' + L'A')
                        : wideFull[0];
    const wchar_t name[] = {L'=', drive, L':', L'\0'};
    return SetEnvironmentVariableW(name, wideFull) != 0;
}

// Before Windows 8 a process in a job joins no other: when the launcher itself runs in one
// (Task Scheduler, a remote tool), a program followed with its tree leaves that job as it
// starts, where the job allows it (CREATE_BREAKAWAY_FROM_JOB); else it is followed alone.
static DWORD LeaveLaunchersJob(RunLog *log, const char *which) {
    BOOL inJob = FALSE;
    if (IsWindows8OrGreater() || !IsProcessInJob(GetCurrentProcess(), NULL, &inJob) || !inJob)
        return 0;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION outer = {};
    DWORD allowed = JOB_OBJECT_LIMIT_BREAKAWAY_OK | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    if (QueryInformationJobObject(NULL, JobObjectExtendedLimitInformation, &outer, sizeof outer,
                                  NULL) &&
        (outer.BasicLimitInformation.LimitFlags & allowed) != 0) {
        WriteRunLog(log, "%s program starts outside the launcher's own job, to have one of its own",
                    which);
        return CREATE_BREAKAWAY_FROM_JOB;
    }
    WriteRunLog(log,
                "the launcher's own job keeps the %s program in it: it cannot have a job of "
                "its own on this Windows",
                which);
    return 0;
}

// Only the started program may take the foreground; with its tree followed, its window may be
// a child's, whose id is not known yet.
static void LetTakeForeground(RunLog *log, const RunningProgram *program, bool wholeTree) {
    if (!AllowSetForegroundWindow(wholeTree ? ASFW_ANY : program->process.dwProcessId))
        WriteRunLogError(log, "%s program may not be able to take the foreground: error %s",
                         GetLastError(), program->which);
}

StartResult StartProgram(RunLog *log, RunningProgram *program, const char *commandLine,
                         const char *directory, const char *fullDirectory, STARTUPINFOW *startup,
                         bool wholeTree) {
    const char *which = program->which;
    ReleaseProgram(program);
    if (!AwaitStartAllowed()) {
        WriteRunLog(log, "the show ends: the %s program is not started", which);
        return START_HELD_BACK;
    }
    // The full directory read back after the change: the text itself, if relative, would now
    // name a directory below the one just made current.
    const char *startIn = fullDirectory[0] != '\0' ? fullDirectory : directory;
    wchar_t line[VALUE_CHARS], folder[PATH_CHARS];
    ToWide(commandLine, line, VALUE_CHARS);
    ToWide(startIn, folder, PATH_CHARS);
    // Suspended, it takes no foreground before it may, and starts nothing before it is in its
    // job.
    DWORD flags = NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED;
    if (wholeTree)
        flags |= LeaveLaunchersJob(log, which);
    if (CreateProcessW(NULL, line, NULL, NULL, FALSE, flags, NULL, folder, startup,
                       &program->process)) {
        char id[16];
        FormatUnsigned(id, sizeof id, program->process.dwProcessId);
        WriteRunEvent(log,
                      NoteProgramStart(log, program->which[0] == 's', program->process.dwProcessId),
                      "%s program started: process id %s, command line '%s', folder '%s'", which,
                      id, commandLine, startIn);
        LetTakeForeground(log, program, wholeTree);
        if (wholeTree)
            JoinOwnJob(log, program);
        ResumeThread(program->process.hThread);
        return STARTED;
    }
    program->process = PROCESS_INFORMATION{};
    DWORD error = GetLastError();
    WriteRunLogError(log, "%s program could not start: error %s, command line '%s', folder '%s'",
                     error, which, commandLine, startIn);
    if (error != ELEVATION_REQUIRED_ERROR && error != ERROR_BAD_EXE_FORMAT)
        return START_FAILED;
    if (!OpenThroughShell(log, program, commandLine, startIn))
        return START_FAILED;
    if (wholeTree)
        WriteRunLog(log,
                    "%s program: what the shell starts cannot be put in a job; it is "
                    "followed alone, without the programs it starts",
                    which);
    return STARTED;
}

void KeepCrashesQuiet(RunLog *log) {
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
    WriteRunLogNumber(log, "error mode %s: a crash ends the program without a report window",
                      GetErrorMode());
}
