#include "launch/launch_sequence.h"
#include "desktop/backdrop.h"
#include "desktop/window_lookup.h"
#include "launch/alert.h"
#include "launch/arguments.h"
#include "launch/message_waits.h"
#include "text/launch_settings.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <string.h>

enum {
    DEFAULT_FIRST_DELAY_MS = 1500,
    FIRST_IDLE_LIMIT_MS = 3000,
    EXIT_POLL_MS = 1000,
    TITLE_POLL_MS = 500,
};

struct LaunchState {
    LaunchSettings settings;
    BackdropColor color;
    int showCommand;
    HWND backdrop;
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    BOOL started;
    HWND topWindow; // top of the Z-order right after the first start; NULL until then
    DWORD exitStatus;
    DWORD secondDelay;
};

static const char *Value(const LaunchState *state, SettingSlot slot) {
    return state->settings.values[slot];
}

// A negative delay reads as none, so no wait is ever handed to the platform as endless.
static DWORD NonNegativeDelayMs(const char *value) {
    int32_t delay = ParseDelay(value);
    return delay < 0 ? 0 : (DWORD)delay;
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

// Starts commandLine in directory with the start-up record as prepared. The full directory
// read back after the change is used when there is one: the text itself, if relative,
// would now name a directory below the one just made current.
static BOOL StartProgram(LaunchState *state, const char *commandLine, const char *directory,
                         const char *fullDirectory) {
    char line[VALUE_CHARS];
    CopyText(line, sizeof line, commandLine);
    const char *startIn = fullDirectory[0] != '\0' ? fullDirectory : directory;
    return CreateProcessA(NULL, line, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, startIn,
                          &state->startup, &state->process);
}

static void RepaintBackdrop(const LaunchState *state) {
    RedrawWindow(state->backdrop, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The first program's end is its process handle being signalled; the exit status alone
// cannot tell a program that ended with 259 from a running one. A failed wait ends it too.
static void WaitForFirstProgramEnd(LaunchState *state) {
    state->exitStatus = STILL_ACTIVE;
    DWORD result;
    do {
        result = WaitServicing(state->process.hProcess, EXIT_POLL_MS);
        GetExitCodeProcess(state->process.hProcess, &state->exitStatus);
    } while (result == WAIT_TIMEOUT && state->exitStatus == STILL_ACTIVE);
}

// The run's own backdrop never counts as the window waited for.
static void WaitForTitleToGo(LaunchState *state) {
    const char *title = Value(state, SLOT_TITLE1);
    SleepServicing(TITLE_POLL_MS);
    while (FindWindowByTitle(title, state->backdrop) != NULL)
        SleepServicing(TITLE_POLL_MS);
}

static void RunFirstProgram(LaunchState *state) {
    char directory[PATH_CHARS];
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR1), directory, sizeof directory))
        ShowAlert("Error", "Directory  = %s not Found", Value(state, SLOT_WDIR1));
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
        StartProgram(state, Value(state, SLOT_EXE1), Value(state, SLOT_WDIR1), directory);
    if (!state->started) {
        ShowAlert("Error", "Unable to launch : %s\n", Value(state, SLOT_EXE1));
        return;
    }
    state->topWindow = GetTopWindow(NULL);
    WaitForInputIdleServicing(state->process.hProcess, FIRST_IDLE_LIMIT_MS);
    WaitForFirstProgramEnd(state);
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
        ShowAlert("Alert", "Directory  = %s not Found", Value(state, SLOT_WDIR2));

    memset(&state->startup, 0, sizeof state->startup);
    memset(&state->process, 0, sizeof state->process);
    GetStartupInfoA(&state->startup);
    state->startup.dwFlags = 0;
    state->started =
        StartProgram(state, Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2), directory);
    state->secondDelay = NonNegativeDelayMs(Value(state, SLOT_DELAY2));
    if (!state->started) {
        ShowAlert("Alert", "Unable to execute file : %s \n Current Directory : %s",
                  Value(state, SLOT_EXE2), Value(state, SLOT_WDIR2));
        return;
    }
    RaiseRecordedTopWindow(state);
    WaitForInputIdleServicing(state->process.hProcess, state->secondDelay);
    RaiseRecordedTopWindow(state);
    SleepServicing(state->secondDelay);
}

int RunLaunchSequence(HINSTANCE instance, HINSTANCE previous, const char *argumentText) {
    LaunchState state = {};
    if (!ParseArguments(argumentText, &state.settings))
        return 0;
    state.color.red = ParseColorComponent(Value(&state, SLOT_RED));
    state.color.green = ParseColorComponent(Value(&state, SLOT_GREEN));
    state.color.blue = ParseColorComponent(Value(&state, SLOT_BLUE));
    state.showCommand = IsBackdropHidden(Value(&state, SLOT_BACKGROUND)) ? SW_HIDE : SW_SHOWNORMAL;
    // Only 16-bit Windows hands over a previous instance, whose class would still stand.
    if (previous == NULL && !RegisterBackdropClass(instance, &state.color))
        return 0;
    if (!CreateBackdropWindow(instance, state.showCommand, &state.backdrop))
        return 0;

    if (IsValueSet(Value(&state, SLOT_EXE1)))
        RunFirstProgram(&state);
    RepaintBackdrop(&state);
    if (IsValueSet(Value(&state, SLOT_EXE2)))
        RunSecondProgram(&state);
    DestroyWindow(state.backdrop);
    return 0;
}
