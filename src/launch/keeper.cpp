#include "launch/keeper.h"
#include "desktop/screens.h"
#include "launch/program_start.h"
#include "launch/screen_keeper.h"
#include "launch/second_program.h"
#include "launch/visitor_input.h"
#include "launch/world_wait.h"
#include "platform/show_wait.h"
#include "text/keeping_values.h"
#include "text/log_line.h"
#include "text/restart_wait.h"
#include "text/setting_values.h"
#include "text/text.h"

enum {
    LOOK_MS = 1000,           // how often the kept program is looked at
    RENEWAL_CLOSE_MS = 10000, // the daily renewal's wait for the program to close
    IDLE_CLOSE_MS = 5000,     // the idle reset's
};

// How a kept run ended.
enum RunEnd { ENDED_ITSELF, ENDED_HUNG, ENDED_RENEWED, ENDED_IDLE, SHOW_ENDS };

static uint32_t DayOf(const SYSTEMTIME *time) {
    return time->wYear * 10000u + time->wMonth * 100u + time->wDay;
}

static uint32_t SecondOf(const SYSTEMTIME *time) {
    return (time->wHour * 60u + time->wMinute) * 60u + time->wSecond;
}

// The day counts as renewed when its DAILY2 time has passed: nothing started after it is
// renewed on that day.
void NoteKeptStart(LaunchState *state) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (state->daily && SecondOf(&now) >= state->dailySecond)
        state->renewedDay = DayOf(&now);
}

// Once a day, when the local time has reached DAILY2 (or the computer wakes after it), for a
// program that was running then.
static bool RenewalDue(LaunchState *state) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (!state->daily || DayOf(&now) == state->renewedDay || SecondOf(&now) < state->dailySecond)
        return false;
    state->renewedDay = DayOf(&now);
    return true;
}

// Asks the program to close for a fresh start and ends it when it has not within ms.
static RunEnd CloseForFreshStart(LaunchState *state, DWORD ms, RunEnd why) {
    DWORD result = CloseProgram(&state->log, &state->second, ms);
    return result == WAIT_SHOW_ENDS ? SHOW_ENDS : why;
}

// The visitors have gone: the program is asked to close, ended after 5 s, and the backdrop
// comes back on top for the show to start over.
static RunEnd StartOver(LaunchState *state) {
    WriteRunLogNumber(&state->log,
                      "no input for IDLE2 of %s ms: the show starts over; the second program is "
                      "asked to close",
                      state->idleMs);
    RunEnd end = CloseForFreshStart(state, IDLE_CLOSE_MS, ENDED_IDLE);
    TakeForeground(state);
    BringWindowToTop(state->backdrop);
    return end;
}

// Whether holds has been true at every look for ms; since: its first look of those, 0 when
// it does not hold.
static bool HeldFor(bool holds, DWORD *since, DWORD ms) {
    if (!holds) {
        *since = 0;
        return false;
    }
    if (*since == 0)
        *since = GetTickCount() | 1; // 0 means it does not hold
    return GetTickCount() - *since >= ms;
}

// The program's window that HUNG2 and BLANK2 look at. The window once found is kept while it
// exists, hidden or not: Windows hides a window that stops responding behind a ghost copy of
// its own.
static void KeepWatching(LaunchState *state, HWND *watched) {
    if (*watched == NULL || !IsWindow(*watched))
        *watched = FindProgramWindow(&state->second);
}

// Whether the program's window has been reported not responding at every look for HUNG2 ms.
static bool HungTooLong(LaunchState *state, HWND watched, DWORD *hungSince) {
    return HeldFor(watched != NULL && IsHungAppWindow(watched), hungSince, state->hungMs);
}

// Whether the program's window, visible, has shown one colour at every look for BLANK2 ms. Not
// looked at while the displays are off for HOURS.
static bool BlankTooLong(LaunchState *state, HWND watched, DWORD *blankSince) {
    bool shown = !state->displaysOff && watched != NULL && IsWindowVisible(watched);
    return HeldFor(shown && ShowsOneColour(watched), blankSince, state->blankMs);
}

// Watches the kept program until it ends, looking at it about once a second: a hung window
// ends it, as does the daily renewal; IDLE2 without input closes it for the show to start
// over, looked at when it falls due; one that shows one colour too long (BLANK2) is ended. A
// program without a window is never taken for hung or blank. Each look looks after the screens
// too. Returns why the watch ended, with its log line; the end itself is left to the caller.
static RunEnd WatchKeptProgram(LaunchState *state) {
    HWND watched = NULL;
    DWORD hungSince = 0, blankSince = 0;
    for (;;) {
        DWORD look = LOOK_MS;
        if (state->idleMs > 0) {
            DWORD idle = MsWithoutInput(state);
            if (idle >= state->idleMs)
                return ENDED_IDLE;
            look = state->idleMs - idle < look ? state->idleMs - idle : look;
        }
        DWORD result = WaitForProgram(&state->second, look);
        if (result != WAIT_TIMEOUT)
            return result == WAIT_SHOW_ENDS ? SHOW_ENDS : ENDED_ITSELF;
        LookAfterScreensNow(state);
        if (RenewalDue(state)) {
            WriteRunEvent(&state->log, EVENT_RENEWED,
                          "DAILY2 %s: the second program is asked to close for its fresh start",
                          Value(state, SLOT_DAILY2));
            return ENDED_RENEWED;
        }
        if (state->hungMs > 0 || state->blankMs > 0)
            KeepWatching(state, &watched);
        if (state->hungMs > 0 && HungTooLong(state, watched, &hungSince)) {
            WriteRunEventNumber(&state->log, EVENT_HUNG_ENDED,
                                "second program not responding for %s ms: ended",
                                GetTickCount() - hungSince);
            return ENDED_HUNG;
        }
        if (state->blankMs > 0 && BlankTooLong(state, watched, &blankSince)) {
            WriteRunEventNumber(&state->log, EVENT_BLANK_ENDED,
                                "second program showed one colour for %s ms: ended",
                                GetTickCount() - blankSince);
            return ENDED_HUNG;
        }
    }
}

// Waits for the kept program to end, or ends it as the watch says. While it is watched, the
// watch's looks are the screens' too: the launcher wakes once a second, not twice.
static RunEnd WaitForKeptEnd(LaunchState *state) {
    ScreenLooksByKeeper(true);
    NoteRunStage(&state->log, "kept");
    RunEnd end = WatchKeptProgram(state);
    ScreenLooksByKeeper(false);
    if (end == ENDED_IDLE)
        return StartOver(state);
    if (end == ENDED_RENEWED)
        return CloseForFreshStart(state, RENEWAL_CLOSE_MS, ENDED_RENEWED);
    if (end == ENDED_HUNG && EndProgram(&state->log, &state->second) == WAIT_SHOW_ENDS)
        return SHOW_ENDS;
    return end;
}

// Logs the end; true when the program ended by itself with the QUIT2 code (with TREE2, the
// code of the last of its processes to end). An end the launcher asked for or forced never
// counts as QUIT2.
static bool EndsTheShow(LaunchState *state, RunEnd end) {
    DWORD code = ProgramExitCode(&state->second);
    char number[16], ran[16];
    FormatUnsigned(number, sizeof number, code);
    FormatUnsigned(ran, sizeof ran, GetTickCount() - state->secondStartTick);
    WriteRunEvent(&state->log, EVENT_SECOND_ENDS,
                  state->second.job != NULL
                      ? "second program ended, and every program it started: exit code %s (of the "
                        "last to end) after %s ms"
                      : "second program ended: exit code %s after %s ms",
                  number, ran);
    const char *quit = Value(state, SLOT_QUIT2);
    if (end != ENDED_ITSELF || !IsValueSet(quit) || (int32_t)code != ParseDelay(quit))
        return false;
    WriteRunLog(&state->log, "exit code %s is QUIT2: the show is over", number);
    return true;
}

void ReadKeepingValues(LaunchState *state) {
    state->daily = ParseDailyTime(Value(state, SLOT_DAILY2), &state->dailySecond);
    state->renewedDay = 0;
    NoteKeptStart(state); // a launcher started after the time renews from the next day
    if (!state->daily && IsValueSet(Value(state, SLOT_DAILY2)))
        WriteRunEvent(&state->log, EVENT_BAD_VALUE,
                      "DAILY2 '%s' does not read as a time: no daily renewal",
                      Value(state, SLOT_DAILY2));
}

// The backdrop stays below the program's windows all the while, so the screens never show
// the desktop between two runs.
bool KeepSecondProgram(LaunchState *state) {
    uint32_t shortRuns = 0;
    RunEnd end = ENDED_ITSELF;
    for (;;) {
        if (state->started && state->second.process.hProcess == NULL) {
            WriteRunLog(&state->log, "second program has no process of its own to keep: the "
                                     "show ends as without RESTART2");
            return false;
        }
        if (state->started) {
            end = WaitForKeptEnd(state);
            if (end == SHOW_ENDS || EndsTheShow(state, end))
                return false;
            if (end == ENDED_IDLE)
                return true;
        }
        if (ShowEnding())
            return false;
        bool longRun = state->started && GetTickCount() - state->secondStartTick >= LONG_RUN_MS;
        shortRuns = longRun ? 0 : shortRuns + 1;
        DWORD wait = RestartWaitMs(state->restartMs, shortRuns);
        // A restart after an end the launcher did not ask for (a crash, say) is worth a warning.
        NoteRunStage(&state->log, "restart_wait");
        WriteRunEventNumber(&state->log,
                            state->started && end == ENDED_ITSELF ? EVENT_RESTARTED : 0,
                            "starting the second program again in %s ms", wait);
        SleepServicing(wait);
        AwaitWorld(state, 1);
        if (ShowEnding())
            return false;
        NoteRunStage(&state->log, "second");
        TakeForeground(state);
        StartSecondProgram(state, false);
    }
}
