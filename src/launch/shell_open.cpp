#include "launch/shell_open.h"
#include "platform/com_library.h"
#include "platform/run_report.h"
#include "platform/wide_text.h"
#include "text/command_line.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/text.h"
#include <shellapi.h>

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

bool OpenThroughShell(RunLog *log, RunningProgram *program, const char *commandLine,
                      const char *startIn) {
    char file[VALUE_CHARS], parameters[VALUE_CHARS];
    SplitForShell(commandLine, file, parameters);
    WriteRunLog(log, "%s program: opening it through the shell", program->which);
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
    // What opens it is not known beforehand, and may be a program already running.
    AllowSetForegroundWindow(ASFW_ANY);
    if (!ShellExecuteExW(&shell)) {
        WriteRunLogError(log, "%s program could not be opened through the shell either: error %s",
                         GetLastError(), program->which);
        return false;
    }
    program->process.hProcess = shell.hProcess;
    if (shell.hProcess == NULL) {
        WriteRunEvent(log, NoteProgramStart(log, program->which[0] == 's', 0),
                      "%s program opened through the shell by a program already running, so "
                      "there is no process to wait for: file '%s', parameters '%s'",
                      program->which, file, parameters);
        return true;
    }
    program->process.dwProcessId = GetProcessId(shell.hProcess);
    char id[16];
    FormatUnsigned(id, sizeof id, program->process.dwProcessId);
    WriteRunEvent(log,
                  NoteProgramStart(log, program->which[0] == 's', program->process.dwProcessId),
                  "%s program started through the shell: process id %s, file '%s', parameters '%s'",
                  program->which, id, file, parameters);
    return true;
}
