#include "launch/program_start.h"
#include "platform/error_text.h"
#include "platform/com_library.h"
#include "launch/message_waits.h"
#include "launch/program_tree.h"
#include "platform/wide_text.h"
#include "text/command_line.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/text.h"
#include <shellapi.h>

enum {
    // ERROR_ELEVATION_REQUIRED, which mingw-w64's headers lack: the program must run elevated.
    ELEVATION_REQUIRED_ERROR = 740,
    MAIN_WINDOW_POLL_MS = 50,
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

static void LogError(RunLog *log, const char *format, const char *which, DWORD error,
                     const char *arg3 = "", const char *arg4 = "") {
    char why[LOG_LINE_CHARS / 4];
    DescribeError(error, why, sizeof why);
    WriteRunLog(log, format, which, why, arg3, arg4);
}

// Whether name, as the platform would look a program up, is an existing file.
static bool NamesFile(const char *name) {
    wchar_t wideName[VALUE_CHARS], found[PATH_UNITS];
    ToWide(name, wideName, VALUE_CHARS);
    DWORD length = SearchPathW(NULL, wideName, L".exe", PATH_UNITS, found, NULL);
    if (length == 0 || length >= PATH_UNITS)
        return false;
    DWORD attributes = GetFileAttributesW(found);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file and parameters in commandLine: an unquoted path with blanks ends where the
// platform would end it, at the first blank before which an existing file is named.
static void SplitForShell(const char *commandLine, char *file, char *parameters) {
    size_t first = NextProgramEnd(commandLine, 0);
    for (size_t end = first; end != 0; end = NextProgramEnd(commandLine, end)) {
        SplitProgram(commandLine, end, file, VALUE_CHARS, parameters, VALUE_CHARS);
        if (NamesFile(file))
            return;
    }
    SplitProgram(commandLine, first, file, VALUE_CHARS, parameters, VALUE_CHARS);
}

// Opens commandLine through the shell, as Windows would open it from the desktop. The
// shell may hand a document to a program that already runs, leaving no process to follow.
static bool OpenThroughShell(RunLog *log, const char *which, const char *commandLine,
                             const char *startIn, PROCESS_INFORMATION *process) {
    char file[VALUE_CHARS], parameters[VALUE_CHARS];
    SplitForShell(commandLine, file, parameters);
    WriteRunLog(log, "%s program: opening it through the shell", which);
    // What opens a document may be a COM object of the shell's.
    PrepareCom();
    wchar_t wideFile[VALUE_CHARS], wideParameters[VALUE_CHARS], wideFolder[PATH_CHARS];
    ToWide(file, wideFile, VALUE_CHARS);
    ToWide(parameters, wideParameters, VALUE_CHARS);
    ToWide(startIn, wideFolder, PATH_CHARS);
    SHELLEXECUTEINFOW shell = {};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    shell.lpFile = wideFile;
    shell.lpParameters = wideParameters;
    shell.lpDirectory = wideFolder;
    shell.nShow = SW_SHOWNORMAL;
    AllowSetForegroundWindow(ASFW_ANY);
    if (!ShellExecuteExW(&shell)) {
        LogError(log, "%s program could not be opened through the shell either: error %s", which,
                 GetLastError());
        return false;
    }
    process->hProcess = shell.hProcess;
    if (shell.hProcess == NULL) {
        WriteRunLog(log,
                    "%s program opened through the shell by a program already running, so "
                    "there is no process to wait for: file '%s', parameters '%s'",
                    which, file, parameters);
        return true;
    }
    process->dwProcessId = GetProcessId(shell.hProcess);
    char id[16];
    FormatUnsigned(id, sizeof id, process->dwProcessId);
    WriteRunLog(log,
                "%s program started through the shell: process id %s, file '%s', parameters '%s'",
                which, id, file, parameters);
    return true;
}

bool StartProgram(RunLog *log, const char *which, const char *commandLine, const char *directory,
                  const char *fullDirectory, STARTUPINFOW *startup, bool wholeTree,
                  PROCESS_INFORMATION *process, HANDLE *job) {
    // The full directory read back after the change: the text itself, if relative, would now
    // name a directory below the one just made current.
    const char *startIn = fullDirectory[0] != '\0' ? fullDirectory : directory;
    wchar_t line[VALUE_CHARS], folder[PATH_CHARS];
    ToWide(commandLine, line, VALUE_CHARS);
    ToWide(startIn, folder, PATH_CHARS);
    *process = PROCESS_INFORMATION{};
    *job = NULL;
    AllowSetForegroundWindow(ASFW_ANY);
    // Suspended, a program whose tree counts starts nothing before it is in its job.
    DWORD flags = NORMAL_PRIORITY_CLASS | (wholeTree ? CREATE_SUSPENDED : 0);
    if (CreateProcessW(NULL, line, NULL, NULL, FALSE, flags, NULL, folder, startup, process)) {
        char id[16];
        FormatUnsigned(id, sizeof id, process->dwProcessId);
        WriteRunLog(log, "%s program started: process id %s, command line '%s', folder '%s'", which,
                    id, commandLine, startIn);
        if (wholeTree)
            *job = JoinOwnJob(log, which, process);
        return true;
    }
    DWORD error = GetLastError();
    LogError(log, "%s program could not start: error %s, command line '%s', folder '%s'", which,
             error, commandLine, startIn);
    if (error != ELEVATION_REQUIRED_ERROR && error != ERROR_BAD_EXE_FORMAT)
        return false;
    if (!OpenThroughShell(log, which, commandLine, startIn, process))
        return false;
    if (wholeTree)
        WriteRunLog(log,
                    "%s program: what the shell starts cannot be put in a job; it is "
                    "followed alone, without the programs it starts",
                    which);
    return true;
}

// Waits one poll slice, with the messages dispatched, or what is left of ms counted from start.
// False when that time is over or the process has ended.
static bool PollAgain(HANDLE process, HANDLE job, DWORD start, DWORD ms) {
    DWORD left = RemainingMs(start, ms);
    DWORD slice = left < (DWORD)MAIN_WINDOW_POLL_MS ? left : (DWORD)MAIN_WINDOW_POLL_MS;
    return left != 0 && WaitForProgram(process, job, slice) == WAIT_TIMEOUT;
}

void HandOverForeground(RunLog *log, const char *which, HANDLE process, HANDLE job, DWORD ms) {
    if (process == NULL) {
        WriteRunLog(log, "%s program: no process of its own, so no window to hand the keyboard to",
                    which);
        return;
    }
    DWORD start = GetTickCount();
    HWND window;
    while ((window = FindProgramWindow(process, job)) == NULL) {
        if (!PollAgain(process, job, start, ms)) {
            WriteRunLog(log, "%s program showed no window in time (or ended): no keyboard handover",
                        which);
            return;
        }
    }
    // What this thread has queued (its own raise of the backdrop among it) is done first, so
    // that the program's raise comes after it. The raise is left to the program's thread:
    // a window manager may keep a full-screen window above one that merely has the focus, and
    // a raise waited for would hold the launcher while the program does not answer.
    WaitServicing(NULL, 0);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    SetForegroundWindow(window);
    // The window's own thread takes the activation, which may show a moment later.
    bool took;
    while (!(took = GetForegroundWindow() == window) && PollAgain(process, job, start, ms)) {
    }
    WriteRunLog(log,
                took ? "%s program's window brought to the foreground: it has the keyboard"
                     : "%s program's window could not be brought to the foreground",
                which);
}

void ReleaseProgram(PROCESS_INFORMATION *process, HANDLE *job) {
    if (*job != NULL)
        CloseHandle(*job);
    *job = NULL;
    if (process->hProcess != NULL)
        CloseHandle(process->hProcess);
    if (process->hThread != NULL)
        CloseHandle(process->hThread);
    *process = PROCESS_INFORMATION{};
}

void KeepCrashesQuiet(RunLog *log) {
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
    char mode[16];
    FormatUnsigned(mode, sizeof mode, GetErrorMode());
    WriteRunLog(log, "error mode %s: a crash ends the program without a report window", mode);
}
