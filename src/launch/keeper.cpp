#include "launch/keeper.h"
#include "desktop/window_lookup.h"
#include "launch/message_waits.h"
#include "launch/program_start.h"
#include "text/keeping_values.h"
#include "text/log_line.h"
#include "text/restart_wait.h"
#include "text/setting_values.h"
#include "text/text.h"

enum {
    LOOK_MS = 1000,           // how often the kept program is looked at
    RENEWAL_CLOSE_MS = 10000, // the daily renewal's wait for the program to close
    ENDED_WAIT_MS = 5000,     // for a program ended by the launcher to be gone
    SESSION_POLL_MS = 100,
};

// How a kept run ended.
enum RunEnd { ENDED_ITSELF, ENDED_HUNG, ENDED_RENEWED, SHOW_ENDS };

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

// Ends the program the launcher gave up on; its end is then waited for.
static RunEnd EndProgram(LaunchState *state, RunEnd why) {
    TerminateProcess(state->process.hProcess, 1);
    return WaitServicing(state->process.hProcess, ENDED_WAIT_MS) == WAIT_SHOW_ENDS ? SHOW_ENDS
                                                                                   : why;
}

// The daily fresh start: the program is asked to close, and ended if it has not within 10 s.
static RunEnd Renew(LaunchState *state) {
    WriteRunLog(&state->log, "DAILY2 %s: the second program is asked to close for its fresh start",
                Value(state, SLOT_DAILY2));
    AskWindowsToClose(state->process.dwProcessId);
    DWORD result = WaitServicing(state->process.hProcess, RENEWAL_CLOSE_MS);
    if (result != WAIT_TIMEOUT)
        return result == WAIT_SHOW_ENDS ? SHOW_ENDS : ENDED_RENEWED;
    WriteRunLog(&state->log, "the second program did not close within 10 s: ended");
    return EndProgram(state, ENDED_RENEWED);
}

// Waits for the kept program to end, looking at it about once a second: a main window that
// Windows has reported not responding at every look for HUNG2 ms ends it, as does the daily
// renewal. A program without a window is never taken for hung.
static RunEnd WaitForKeptEnd(LaunchState *state) {
    DWORD hungSince = 0;
    bool hung = false;
    for (;;) {
        DWORD result = WaitServicing(state->process.hProcess, LOOK_MS);
        if (result != WAIT_TIMEOUT)
            return result == WAIT_SHOW_ENDS ? SHOW_ENDS : ENDED_ITSELF;
        if (RenewalDue(state))
            return Renew(state);
        if (state->hungMs == 0)
            continue;
        HWND window = FindMainWindow(state->process.dwProcessId);
        bool hungNow = window != NULL && IsHungAppWindow(window);
        hungSince = hungNow && !hung ? GetTickCount() : hungSince;
        hung = hungNow;
        if (hung && GetTickCount() - hungSince >= state->hungMs) {
            char number[16];
            FormatUnsigned(number, sizeof number, GetTickCount() - hungSince);
            WriteRunLog(&state->log, "second program not responding for %s ms: ended", number);
            return EndProgram(state, ENDED_HUNG);
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

// Between Windows asking whether the session may end and its answer, nothing is started.
static void AwaitSessionAnswer(LaunchState *state) {
    while (state->look.sessionQueried && !ShowEnding())
        SleepServicing(SESSION_POLL_MS);
}

// The backdrop stays below the program's windows all the while, so the screens never show
// the desktop between two runs.
void KeepSecondProgram(LaunchState *state) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    state->daily = ParseDailyTime(Value(state, SLOT_DAILY2), &state->dailySecond);
    state->renewedDay = state->daily && SecondOf(&now) >= state->dailySecond ? DayOf(&now) : 0;
    if (!state->daily && IsValueSet(Value(state, SLOT_DAILY2)))
        WriteRunLog(&state->log, "DAILY2 '%s' does not read as a time: no daily renewal",
                    Value(state, SLOT_DAILY2));
    uint32_t shortRuns = 0;
    for (;;) {
        if (state->started && state->process.hProcess == NULL) {
            WriteRunLog(&state->log, "second program has no process of its own to keep: the "
                                     "show ends as without RESTART2");
            return;
        }
        if (state->started) {
            RunEnd end = WaitForKeptEnd(state);
            if (end == SHOW_ENDS || EndsTheShow(state, end))
                return;
        }
        bool longRun = state->started && GetTickCount() - state->secondStartTick >= LONG_RUN_MS;
        shortRuns = longRun ? 0 : shortRuns + 1;
        DWORD wait = RestartWaitMs(state->restartMs, shortRuns);
        char number[16];
        FormatUnsigned(number, sizeof number, wait);
        WriteRunLog(&state->log, "starting the second program again in %s ms", number);
        ReleaseProgram(&state->process);
        SleepServicing(wait);
        AwaitSessionAnswer(state);
        if (ShowEnding())
            return;
        TakeForeground(state);
        StartSecondProgram(state, false);
    }
}
