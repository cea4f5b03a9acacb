// The story of a run. The settings are read and the backdrop comes up; then the show goes
// round: the first program (first_program.cpp: its start after DELAY1, the wait for its end and
// its TITLE1 window), the second program (second_program.cpp: its start and the keyboard handed
// to it), kept running with RESTART2 (keeper.cpp) until QUIT2, the exit key or the session's
// end, or until IDLE2 starts the round again. Every wait of every stage goes through one wait
// (platform/show_wait.h), which knows the exit key and the session's end.
#include "launch/launch_sequence.h"
#include "desktop/backdrop.h"
#include "launch/arguments.h"
#include "launch/first_program.h"
#include "launch/keeper.h"
#include "launch/launch_state.h"
#include "launch/picture_loading.h"
#include "launch/program_start.h"
#include "launch/screen_keeper.h"
#include "launch/second_program.h"
#include "launch/unattended.h"
#include "launch/world_wait.h"
#include "platform/keep_awake.h"
#include "platform/show_wait.h"
#include "platform/run_log.h"
#include "text/alert_text.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <string.h>

static void RepaintBackdrop(LaunchState *state) {
    RedrawWindow(state->backdrop, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

// With LOG set the run appends to that file, with EVENTLOG it writes to the event log too;
// it says where its settings came from, and names the keys of their section it does not know.
static void OpenLog(LaunchState *state, const char *argumentText) {
    if (IsValueSet(Value(state, SLOT_LOG)))
        OpenRunLog(&state->log, Value(state, SLOT_LOG));
    OpenRunReport(&state->log, &state->report, IsSwitchedOn(Value(state, SLOT_EVENTLOG)));
    WriteRunEvent(&state->log, EVENT_RUN_STARTS,
                  "start: arguments '%s'; settings from profile %s, section [%s]", argumentText,
                  state->settings.profile, state->settings.section);
    if (state->settings.encoding[0] != '\0')
        WriteRunLog(&state->log, "profile read as %s", state->settings.encoding);
    // One line each in the log; one event names them all, so that none is held back.
    char names[KEY_LIST_CHARS + 64] = "";
    size_t used = 0;
    for (const char *key = state->settings.keys; *key != '\0'; key += strlen(key) + 1) {
        if (!IsUnknownSettingKey(key))
            continue;
        WriteRunLog(&state->log, "unknown key '%s' in [%s]: ignored", key, state->settings.section);
        used += CopyText(names + used, sizeof names - used, used == 0 ? "'" : ", '");
        used += CopyText(names + used, sizeof names - used, key);
        used += CopyText(names + used, sizeof names - used, "'");
    }
    if (used == 0)
        return;
    const char *args[] = {state->settings.section, names};
    char event[LOG_LINE_CHARS];
    FormatAlertText(event, sizeof event, "unknown keys in [%s]: %s; ignored", args, 2);
    ReportRunEvent(&state->log, EVENT_UNKNOWN_KEYS, event);
}

// The values read once for the whole run.
static void ReadRunValues(LaunchState *state) {
    state->alertWaitMs = NonNegativeMs(Value(state, SLOT_ALERTWAIT));
    state->firstTimeoutMs = NonNegativeMs(Value(state, SLOT_TIMEOUT1));
    state->restartMs = NonNegativeMs(Value(state, SLOT_RESTART2));
    state->hungMs = NonNegativeMs(Value(state, SLOT_HUNG2));
    state->idleMs = state->restartMs > 0 ? NonNegativeMs(Value(state, SLOT_IDLE2)) : 0;
    if (state->restartMs == 0 && NonNegativeMs(Value(state, SLOT_IDLE2)) > 0)
        WriteRunLog(&state->log, "IDLE2 without RESTART2: no idle reset");
    state->blankMs = state->restartMs > 0 ? NonNegativeMs(Value(state, SLOT_BLANK2)) : 0;
    if (state->restartMs == 0 && NonNegativeMs(Value(state, SLOT_BLANK2)) > 0)
        WriteRunLog(&state->log, "BLANK2 without RESTART2: no watch for one colour");
    state->skipFirst = IsSwitchedOn(Value(state, SLOT_SKIP1));
    state->firstTree = IsSwitchedOn(Value(state, SLOT_TREE1));
    state->secondTree = IsSwitchedOn(Value(state, SLOT_TREE2));
    state->first.which = "first";
    state->second.which = "second";
    ReadKeepingValues(state);
    ReadWorldWaits(state);
    state->color.red = ParseColorComponent(Value(state, SLOT_RED));
    state->color.green = ParseColorComponent(Value(state, SLOT_GREEN));
    state->color.blue = ParseColorComponent(Value(state, SLOT_BLUE));
    state->showCommand = IsSwitchedOff(Value(state, SLOT_BACKGROUND)) ? SW_HIDE : SW_SHOWNORMAL;
    state->look.primaryOnly = IsPrimaryScreenOnly(Value(state, SLOT_SCREENS));
    state->look.hideCursor = IsSwitchedOff(Value(state, SLOT_CURSOR));
    state->look.log = &state->log;
    state->look.awake = &state->awake;
    DWORD length = GetCurrentDirectoryW(PATH_UNITS, state->startFolder);
    if (length == 0 || length >= PATH_UNITS)
        state->startFolder[0] = L'\0';
}

// Every round begins where the first did: relative WDIR1 and WDIR2 are taken from the
// launcher's start folder, and an intro left running by the last round is closed first.
static void BeginRound(LaunchState *state) {
    if (state->startFolder[0] != L'\0')
        SetCurrentDirectoryW(state->startFolder);
    EndLeftoverFirstProgram(state);
}

// The second program's first start; with RESTART2 it is kept, and a start that failed is
// tried again after the restart wait. True when the show is to start over (IDLE2).
static bool RunSecondProgram(LaunchState *state) {
    AwaitWorld(state, 1);
    NoteRunStage(&state->log, "second");
    if (!MakeDirectoryCurrent(Value(state, SLOT_WDIR2), state->secondDirectory,
                              sizeof state->secondDirectory))
        Alert(state, "Alert", "Directory  = %s not Found", Value(state, SLOT_WDIR2));
    memset(&state->startup, 0, sizeof state->startup);
    GetStartupInfoW(&state->startup);
    state->startup.dwFlags = 0;
    state->secondDelay = NonNegativeMs(Value(state, SLOT_DELAY2));
    if (state->restartMs > 0)
        KeepCrashesQuiet(&state->log);
    StartSecondProgram(state, true);
    return state->restartMs > 0 && !ShowEnding() && KeepSecondProgram(state);
}

// The exit key: nothing more is started; the program of the stage then running is asked to
// close, not forced: it may have work to save.
static void EndOnExitKey(LaunchState *state) {
    NoteRunStage(&state->log, "ending");
    WriteRunLog(&state->log, "EXITKEY pressed: the show ends, nothing more is started");
    RunningProgram *program = state->current;
    if (program == NULL || program->process.hProcess == NULL || ProgramHasEnded(program))
        return;
    char count[16];
    FormatUnsigned(count, sizeof count, (unsigned long)AskProgramToClose(program));
    WriteRunLog(&state->log, "%s program asked to close: %s window(s)", program->which, count);
}

static int EndRun(LaunchState *state) {
    LetSleep(&state->awake);
    WriteRunEvent(&state->log, EVENT_SHOW_ENDS, "end");
    return 0;
}

int RunLaunchSequence(HINSTANCE instance, HINSTANCE previous, const char *argumentText) {
    // Lives as long as the process: the picture's thread may still write to its log at the end.
    LaunchState *state =
        (LaunchState *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LaunchState));
    if (state == NULL || !ParseArguments(argumentText, &state->settings))
        return 0;
    OpenLog(state, argumentText);
    ReadRunValues(state);
    if (!BecomeOnlyKeeper(state))
        return EndRun(state);
    // Only the show's one keeper: another launcher of it would tell that it ended.
    OpenStatusFile(&state->log, Value(state, SLOT_STATUS));
    RegisterForRestart(state, argumentText);
    KeepAwake(&state->awake, &state->log, Value(state, SLOT_AWAKE));
    // Only 16-bit Windows hands over a previous instance, whose class would still stand.
    if ((previous == NULL && !RegisterBackdropClass(instance, &state->color)) ||
        !CreateBackdropWindow(instance, state->showCommand, &state->look, &state->backdrop)) {
        WriteRunLog(&state->log, "the backdrop could not be made");
        return EndRun(state);
    }
    TakeForeground(state);
    RegisterExitKey(state);
    StartScreenKeeping(state);
    if (IsValueSet(Value(state, SLOT_IMAGE)))
        StartPictureLoading(&state->log, Value(state, SLOT_IMAGE), &state->color, state->backdrop);

    // The show comes round again when the visitors have left the kept program (IDLE2).
    do {
        BeginRound(state);
        if (IsValueSet(Value(state, SLOT_EXE1)))
            RunFirstProgram(state);
        RepaintBackdrop(state);
    } while (IsValueSet(Value(state, SLOT_EXE2)) && !ShowEnding() && RunSecondProgram(state));
    if (ShowEnding())
        EndOnExitKey(state);
    EndScreenKeeping(state);
    DestroyWindow(state->backdrop);
    WriteRunLog(&state->log, "backdrop removed");
    return EndRun(state);
}
