#include "launch/keeper.h"
#include "launch/message_waits.h"
#include "launch/program_start.h"
#include "launch/program_tree.h"
#include "text/keeping_values.h"
#include "text/log_line.h"
#include "text/restart_wait.h"
#include "text/setting_values.h"
#include "text/text.h"

enum {
    LOOK_MS = 1000,           // how often the kept program is looked at
    RENEWAL_CLOSE_MS = 10000, // the daily renewal's wait for the program to close
    IDLE_CLOSE_MS = 5000,     // the idle reset's
    SESSION_POLL_MS = 100,
};

// How a kept run ended.
enum RunEnd { ENDED_ITSELF, ENDED_HUNG, ENDED_RENEWED, ENDED_IDLE, SHOW_ENDS };

static uint32_t DayOf(const SYSTEMTIME *time) {
    return time->wYear * 10000u + time->wMonth * 100u + time->wDay;
}

static uint32_t SecondOf(const SYSTEMTIME *time) {
    return (time->wHour * 60u + time->wMinute) * 60u + time->wSecond;
}

// Once a day, when the local time has reached DAILY2 (or the computer wakes after it). A
// launcher started after that time renews from the next day on.
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
    DWORD result = CloseProgram(&state->log, "second", state->process.hProcess, state->job, ms);
    return result == WAIT_SHOW_ENDS ? SHOW_ENDS : why;
}

// How long no one has touched the computer while the program ran, in ms: since the last input
// or since its start, whichever is later. Elapsed times are compared, so that a tick count
// that went round (every 49.7 days) never makes a month-old input look recent.
static DWORD IdleForMs(const LaunchState *state) {
    DWORD now = GetTickCount();
    DWORD sinceStart = now - state->secondStartTick;
    LASTINPUTINFO input = {sizeof input, 0};
    if (!GetLastInputInfo(&input))
        return 0;
    DWORD sinceInput = now - input.dwTime;
    return sinceInput < sinceStart ? sinceInput : sinceStart;
}

// Between Windows asking whether the session may end and its answer, nothing is started.
static void AwaitSessionAnswer(LaunchState *state) {
    while (state->look.sessionQueried && !ShowEnding())
        SleepServicing(SESSION_POLL_MS);
}

// The visitors have gone: the program is asked to close, ended after 5 s, and the backdrop
// comes back on top for the show to start over.
static RunEnd StartOver(LaunchState *state) {
    char number[16];
    FormatUnsigned(number, sizeof number, state->idleMs);
    WriteRunLog(&state->log,
                "no input for IDLE2 of %s ms: the show starts over; the second program is asked "
                "to close",
                number);
    RunEnd end = CloseForFreshStart(state, IDLE_CLOSE_MS, ENDED_IDLE);
    TakeForeground(state);
    BringWindowToTop(state->backdrop);
    AwaitSessionAnswer(state);
    return end;
}

// Waits for the kept program to end, looking at it about once a second: a main window that
// Windows has reported not responding at every look for HUNG2 ms ends it, as does the daily
// renewal; IDLE2 without input closes it for the show to start over, looked at when it falls
// due. A program without a window is never taken for hung.
static RunEnd WaitForKeptEnd(LaunchState *state) {
    DWORD hungSince = 0;
    bool hung = false;
    for (;;) {
        DWORD look = LOOK_MS;
        if (state->idleMs > 0) {
            DWORD idle = IdleForMs(state);
            if (idle >= state->idleMs)
                return StartOver(state);
            look = state->idleMs - idle < look ? state->idleMs - idle : look;
        }
        DWORD result = WaitForProgram(state->process.hProcess, state->job, look);
        if (result != WAIT_TIMEOUT)
            return result == WAIT_SHOW_ENDS ? SHOW_ENDS : ENDED_ITSELF;
        if (RenewalDue(state)) {
            WriteRunLog(&state->log,
                        "DAILY2 %s: the second program is asked to close for its fresh start",
                        Value(state, SLOT_DAILY2));
            return CloseForFreshStart(state, RENEWAL_CLOSE_MS, ENDED_RENEWED);
        }
        if (state->hungMs == 0)
            continue;
        HWND window = FindProgramWindow(state->process.hProcess, state->job);
        bool hungNow = window != NULL && IsHungAppWindow(window);
        hungSince = hungNow && !hung ? GetTickCount() : hungSince;
        hung = hungNow;
        if (hung && GetTickCount() - hungSince >= state->hungMs) {
            char number[16];
            FormatUnsigned(number, sizeof number, GetTickCount() - hungSince);
            WriteRunLog(&state->log, "second program not responding for %s ms: ended", number);
            bool showEnds = EndProgram(state->process.hProcess, state->job) == WAIT_SHOW_ENDS;
            return showEnds ? SHOW_ENDS : ENDED_HUNG;
        }
    }
}

// Logs the end; true when the program ended by itself with the QUIT2 code. An end the
// launcher asked for or forced never counts as QUIT2.
static bool EndsTheShow(LaunchState *state, RunEnd end) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(state->process.hProcess, &code);
    char number[16], ran[16];
    FormatUnsigned(number, sizeof number, code);
    FormatUnsigned(ran, sizeof ran, GetTickCount() - state->secondStartTick);
    WriteRunLog(&state->log, "second program ended: exit code %s after %s ms", number, ran);
    const char *quit = Value(state, SLOT_QUIT2);
    if (end != ENDED_ITSELF || !IsValueSet(quit) || (int32_t)code != ParseDelay(quit))
        return false;
    WriteRunLog(&state->log, "exit code %s is QUIT2: the show is over", number);
    return true;
}

void ReadKeepingValues(LaunchState *state) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    state->daily = ParseDailyTime(Value(state, SLOT_DAILY2), &state->dailySecond);
    state->renewedDay = state->daily && SecondOf(&now) >= state->dailySecond ? DayOf(&now) : 0;
    if (!state->daily && IsValueSet(Value(state, SLOT_DAILY2)))
        WriteRunLog(&state->log, "DAILY2 '%s' does not read as a time: no daily renewal",
                    Value(state, SLOT_DAILY2));
}

// The backdrop stays below the program's windows all the while, so the screens never show
// the desktop between two runs.
bool KeepSecondProgram(LaunchState *state) {
    uint32_t shortRuns = 0;
    for (;;) {
        if (state->started && state->process.hProcess == NULL) {
            WriteRunLog(&state->log, "second program has no process of its own to keep: the "
                                     "show ends as without RESTART2");
            return false;
        }
        if (state->started) {
            RunEnd end = WaitForKeptEnd(state);
            if (end == SHOW_ENDS || EndsTheShow(state, end))
                return false;
            if (end == ENDED_IDLE) {
                ReleaseProgram(&state->process, &state->job);
                return true;
            }
        }
        bool longRun = state->started && GetTickCount() - state->secondStartTick >= LONG_RUN_MS;
        shortRuns = longRun ? 0 : shortRuns + 1;
        DWORD wait = RestartWaitMs(state->restartMs, shortRuns);
        char number[16];
        FormatUnsigned(number, sizeof number, wait);
        WriteRunLog(&state->log, "starting the second program again in %s ms", number);
        ReleaseProgram(&state->process, &state->job);
        SleepServicing(wait);
        AwaitSessionAnswer(state);
        if (ShowEnding())
            return false;
        TakeForeground(state);
        StartSecondProgram(state, false);
    }
}
