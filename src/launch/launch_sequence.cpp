#include "launch/launch_sequence.h"
#include "desktop/backdrop.h"
#include "desktop/window_lookup.h"
#include "launch/alert.h"
#include "launch/arguments.h"
#include "launch/message_waits.h"
#include "launch/run_log.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/command_line.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <shellapi.h>
#include <string.h>

enum {
    DEFAULT_FIRST_DELAY_MS = 1500,
    FIRST_IDLE_LIMIT_MS = 3000,
    EXIT_POLL_MS = 1000,
    TITLE_POLL_MS = 500,
    // ERROR_ELEVATION_REQUIRED, which mingw-w64's headers lack: the program must run elevated.
    ELEVATION_REQUIRED_ERROR = 740,
};

struct LaunchState {
    LaunchSettings settings;
    BackdropColor color;
    BackdropLook look;
    int showCommand;
    HWND backdrop;
    STARTUPINFOA startup;
    PROCESS_INFORMATION process; // no process handle when the shell started none
    BOOL started;
    HWND topWindow; // top of the Z-order right after the first start; NULL until then
    DWORD exitStatus;
    DWORD secondDelay;
    RunLog log;
    DWORD alertWaitMs;    // 0: an alert waits for OK
    DWORD firstTimeoutMs; // 0: the first program and the title are waited for for ever
    DWORD firstStartTick;
};

static const char *Value(const LaunchState *state, SettingSlot slot) {
    return state->settings.values[slot];
}

// A negative delay reads as none, so no wait is ever handed to the platform as endless.
static DWORD NonNegativeDelayMs(const char *value) {
    int32_t delay = ParseDelay(value);
    return delay < 0 ? 0 : (DWORD)delay;
}

static void Alert(const LaunchState *state, const char *caption, const char *format,
                  const char *arg1, const char *arg2 = nullptr) {
    ShowRunAlert(&state->log, state->alertWaitMs, caption, format, arg1, arg2);
}

// Makes directory current and records it as its drive's current directory ('=C:') in the
// environment the programs inherit. *full gets the full directory when it could be read
// back, else an empty text. False when any of this fails.
static bool MakeDirectoryCurrent(const char *directory, char *full, DWORD fullChars) {
    full[0] = '\0';
    if (!SetCurrentDirectoryA(directory))
        return false;
    DWORD length = GetCurrentDirectoryA(fullChars, full);
    if (length == 0 || length >= fullChars) {
        full[0] = '\0';
        return false;
    }
    bool network = (full[0] == '\\' && full[1] == '\\') || (full[0] == '/' && full[1] == '/');
    if (network)
        return true;
    char drive = full[0] >= 'a' && full[0] <= 'z' ? (char)(full[0] - 'a' + 'A') : full[0];
    const char name[] = {'=', drive, ':', '\0'};
    return SetEnvironmentVariableA(name, full) != 0;
}

// Whether name, as the platform would look a program up, is an existing file.
static bool NamesFile(const char *name) {
    char found[PATH_CHARS];
    DWORD length = SearchPathA(NULL, name, ".exe", sizeof found, found, NULL);
    if (length == 0 || length >= sizeof found)
        return false;
    DWORD attributes = GetFileAttributesA(found);
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

// What opens a document may be a COM object of the shell's, which needs COM on the calling
// thread (its waits dispatch messages, as a single-threaded apartment must). ole32 is loaded
// here, by name at run time, so that a run which opens nothing through the shell never loads it.
static void PrepareComForShell() {
    typedef HRESULT(WINAPI * CoInitializeExCall)(void *, DWORD);
    FARPROC found = GetProcAddress(LoadLibraryA("ole32.dll"), "CoInitializeEx");
    if (found != NULL)
        ((CoInitializeExCall)(void *)found)(NULL,
                                            COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

// Opens commandLine through the shell, as Windows would open it from the desktop. The
// shell may hand a document to a program that already runs, leaving no process to follow.
static bool OpenThroughShell(LaunchState *state, const char *which, const char *commandLine,
                             const char *startIn) {
    char file[VALUE_CHARS], parameters[VALUE_CHARS];
    SplitForShell(commandLine, file, parameters);
    WriteRunLog(&state->log, "%s program: opening it through the shell", which);
    PrepareComForShell();
    SHELLEXECUTEINFOA shell = {};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    shell.lpFile = file;
    shell.lpParameters = parameters;
    shell.lpDirectory = startIn;
    shell.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&shell)) {
        char why[LOG_LINE_CHARS / 4];
        DescribeError(GetLastError(), why, sizeof why);
        WriteRunLog(&state->log,
                    "%s program could not be opened through the shell either: error %s", which,
                    why);
        return false;
    }
    state->process.hProcess = shell.hProcess;
    if (shell.hProcess == NULL) {
        WriteRunLog(&state->log,
                    "%s program opened through the shell by a program already running, so "
                    "there is no process to wait for: file '%s', parameters '%s'",
                    which, file, parameters);
        return true;
    }
    char id[16];
    FormatUnsigned(id, sizeof id, GetProcessId(shell.hProcess));
    WriteRunLog(&state->log,
                "%s program started through the shell: process id %s, file '%s', parameters '%s'",
                which, id, file, parameters);
    return true;
}

// Starts commandLine in directory with the start-up record as prepared. The full directory
// read back after the change is used when there is one: the text itself, if relative,
// would now name a directory below the one just made current. What Windows cannot start as
// a program but the shell can open (a document, a program that must run elevated) is
// opened through the shell.
static BOOL StartProgram(LaunchState *state, const char *which, const char *commandLine,
                         const char *directory, const char *fullDirectory) {
    char line[VALUE_CHARS];
    CopyText(line, sizeof line, commandLine);
    const char *startIn = fullDirectory[0] != '\0' ? fullDirectory : directory;
    if (CreateProcessA(NULL, line, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, startIn,
                       &state->startup, &state->process)) {
        char id[16];
        FormatUnsigned(id, sizeof id, state->process.dwProcessId);
        WriteRunLog(&state->log,
                    "%s program started: process id %s, command line '%s', folder '%s'", which, id,
                    commandLine, startIn);
        return TRUE;
    }
    DWORD error = GetLastError();
    char why[LOG_LINE_CHARS / 4];
    DescribeError(error, why, sizeof why);
    WriteRunLog(&state->log, "%s program could not start: error %s, command line '%s', folder '%s'",
                which, why, commandLine, startIn);
    if (error != ELEVATION_REQUIRED_ERROR && error != ERROR_BAD_EXE_FORMAT)
        return FALSE;
    return OpenThroughShell(state, which, commandLine, startIn);
}

static void RepaintBackdrop(const LaunchState *state) {
    RedrawWindow(state->backdrop, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ms, or what is left of TIMEOUT1 when that is less.
static DWORD FirstWaitLeft(const LaunchState *state, DWORD ms) {
    if (state->firstTimeoutMs == 0)
        return ms;
    DWORD left = RemainingMs(state->firstStartTick, state->firstTimeoutMs);
    return left < ms ? left : ms;
}

static bool FirstTimeoutOver(const LaunchState *state) {
    return state->firstTimeoutMs != 0 && FirstWaitLeft(state, 1) == 0;
}

// The first program's end is its process handle being signalled; the exit status alone
// cannot tell a program that ended with 259 from a running one. A failed wait ends it too.
// When TIMEOUT1 runs out first, the program is left running: it may be a set-up step.
static void WaitForFirstProgramEnd(LaunchState *state) {
    state->exitStatus = STILL_ACTIVE;
    DWORD result;
    do {
        result = WaitServicing(state->process.hProcess, FirstWaitLeft(state, EXIT_POLL_MS));
        GetExitCodeProcess(state->process.hProcess, &state->exitStatus);
    } while (result == WAIT_TIMEOUT && state->exitStatus == STILL_ACTIVE &&
             !FirstTimeoutOver(state));
    char number[16];
    if (result == WAIT_TIMEOUT && state->exitStatus == STILL_ACTIVE) {
        FormatUnsigned(number, sizeof number, state->firstTimeoutMs);
        WriteRunLog(&state->log,
                    "TIMEOUT1 of %s ms ran out: the first program still runs and "
                    "is left running; going on",
                    number);
        return;
    }
    FormatUnsigned(number, sizeof number, state->exitStatus);
    WriteRunLog(&state->log, "first program ended: exit code %s", number);
}

// The run's own backdrop never counts as the window waited for.
static void WaitForTitleToGo(LaunchState *state) {
    const char *title = Value(state, SLOT_TITLE1);
    SleepServicing(FirstWaitLeft(state, TITLE_POLL_MS));
    while (FindWindowByTitle(title, state->backdrop) != NULL) {
        if (FirstTimeoutOver(state)) {
            WriteRunLog(&state->log, "TIMEOUT1 ran out with a window '%s' still there; going on",
                        title);
            return;
        }
        SleepServicing(FirstWaitLeft(state, TITLE_POLL_MS));
    }
    WriteRunLog(&state->log, "title wait ended: no window '%s'", title);
}

static void RunFirstProgram(LaunchState *state) {
    char directory[PATH_CHARS];
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR1), directory, sizeof directory))
        Alert(state, "Error", "Directory  = %s not Found", Value(state, SLOT_WDIR1));
    DWORD firstDelay = NonNegativeDelayMs(Value(state, SLOT_DELAY1));
    if (firstDelay == 0)
        firstDelay = DEFAULT_FIRST_DELAY_MS;
    RepaintBackdrop(state);
    SleepServicing(firstDelay);

    memset(&state->startup, 0, sizeof state->startup);
    state->startup.cb = sizeof state->startup;
    state->startup.wShowWindow = SW_SHOWDEFAULT;
    memset(&state->process, 0, sizeof state->process);
    state->started =
        StartProgram(state, "first", Value(state, SLOT_EXE1), Value(state, SLOT_WDIR1), directory);
    if (!state->started) {
        Alert(state, "Error", "Unable to launch : %s\n", Value(state, SLOT_EXE1));
        return;
    }
    state->firstStartTick = GetTickCount();
    state->topWindow = GetTopWindow(NULL);
    if (state->process.hProcess != NULL) {
        WaitForInputIdleServicing(state->process.hProcess,
                                  FirstWaitLeft(state, FIRST_IDLE_LIMIT_MS));
        WaitForFirstProgramEnd(state);
    }
    if (IsValueSet(Value(state, SLOT_TITLE1)))
        WaitForTitleToGo(state);
    BringWindowToTop(state->backdrop);
}

// Raises the window that was on top when the first program started, if one was recorded.
static void RaiseRecordedTopWindow(const LaunchState *state) {
    if (state->topWindow != NULL)
        BringWindowToTop(state->topWindow);
}

static void RunSecondProgram(LaunchState *state) {
    char directory[PATH_CHARS];
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR2), directory, sizeof directory))
        Alert(state, "Alert", "Directory  = %s not Found", Value(state, SLOT_WDIR2));

    memset(&state->startup, 0, sizeof state->startup);
    memset(&state->process, 0, sizeof state->process);
    GetStartupInfoA(&state->startup);
    state->startup.dwFlags = 0;
    state->started =
        StartProgram(state, "second", Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2), directory);
    state->secondDelay = NonNegativeDelayMs(Value(state, SLOT_DELAY2));
    if (!state->started) {
        Alert(state, "Alert", "Unable to execute file : %s \n Current Directory : %s",
              Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2));
        return;
    }
    RaiseRecordedTopWindow(state);
    WaitForInputIdleServicing(state->process.hProcess, state->secondDelay);
    RaiseRecordedTopWindow(state);
    SleepServicing(state->secondDelay);
}

// With LOG set the run appends to that file; it says where its settings came from.
static void OpenLog(LaunchState *state, const char *argumentText) {
    if (!IsValueSet(Value(state, SLOT_LOG)) || !OpenRunLog(&state->log, Value(state, SLOT_LOG)))
        return;
    WriteRunLog(&state->log, "start: arguments '%s'; settings from profile %s, section [%s]",
                argumentText, state->settings.profile, state->settings.section);
}

// Read while the launcher's start folder is still current, in which a relative name is taken.
// A picture that cannot be read leaves the colour alone: the show goes on.
static void LoadPicture(LaunchState *state) {
    const char *image = Value(state, SLOT_IMAGE);
    if (!IsValueSet(image) || LoadBackdropPicture(image, &state->look))
        return;
    char why[LOG_LINE_CHARS / 4];
    DescribeError(GetLastError(), why, sizeof why);
    WriteRunLog(&state->log,
                "picture '%s' could not be read as a BMP file: error %s; the backdrop "
                "shows its colour alone",
                image, why);
}

int RunLaunchSequence(HINSTANCE instance, HINSTANCE previous, const char *argumentText) {
    LaunchState state = {};
    if (!ParseArguments(argumentText, &state.settings))
        return 0;
    OpenLog(&state, argumentText);
    state.alertWaitMs = NonNegativeDelayMs(Value(&state, SLOT_ALERTWAIT));
    state.firstTimeoutMs = NonNegativeDelayMs(Value(&state, SLOT_TIMEOUT1));
    state.color.red = ParseColorComponent(Value(&state, SLOT_RED));
    state.color.green = ParseColorComponent(Value(&state, SLOT_GREEN));
    state.color.blue = ParseColorComponent(Value(&state, SLOT_BLUE));
    state.showCommand = IsSwitchedOff(Value(&state, SLOT_BACKGROUND)) ? SW_HIDE : SW_SHOWNORMAL;
    state.look.primaryOnly = IsPrimaryScreenOnly(Value(&state, SLOT_SCREENS));
    state.look.hideCursor = IsSwitchedOff(Value(&state, SLOT_CURSOR));
    LoadPicture(&state);
    // Only 16-bit Windows hands over a previous instance, whose class would still stand.
    if ((previous == NULL && !RegisterBackdropClass(instance, &state.color)) ||
        !CreateBackdropWindow(instance, state.showCommand, &state.look, &state.backdrop)) {
        WriteRunLog(&state.log, "the backdrop could not be made");
        WriteRunLog(&state.log, "end");
        return 0;
    }

    if (IsValueSet(Value(&state, SLOT_EXE1)))
        RunFirstProgram(&state);
    RepaintBackdrop(&state);
    if (IsValueSet(Value(&state, SLOT_EXE2)))
        RunSecondProgram(&state);
    DestroyWindow(state.backdrop);
    WriteRunLog(&state.log, "backdrop removed");
    WriteRunLog(&state.log, "end");
    return 0;
}
