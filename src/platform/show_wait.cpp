#include "platform/show_wait.h"

enum {
    IDLE_SLICE_MS = 50,
    // The queue is looked at at least this often: a thread that has not looked for 5 s
    // counts as hung as soon as it stops waiting on its queue.
    QUEUE_SLICE_MS = 1000,
    SESSION_POLL_MS = 100, // how often the session's answer is looked for
};

// Set by the backdrop's window procedure on this same thread, read between waits.
static bool showEnds;
static bool sessionUndecided;

void NoteShowEnds() {
    showEnds = true;
}

bool ShowEnding() {
    return showEnds;
}

void NoteSessionQuestion(bool undecided) {
    sessionUndecided = undecided;
}

static void DispatchQueued() {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            showEnds = true;
        else
            DispatchMessageW(&message);
    }
}

DWORD RemainingMs(DWORD start, DWORD ms) {
    DWORD elapsed = GetTickCount() - start;
    return elapsed >= ms ? 0 : ms - elapsed;
}

static DWORD Shorter(DWORD a, DWORD b) {
    return a < b ? a : b;
}

DWORD WaitServicing(HANDLE object, DWORD ms) {
    DWORD count = object != NULL ? 1 : 0;
    DWORD start = GetTickCount();
    for (;;) {
        if (showEnds)
            return WAIT_SHOW_ENDS;
        DWORD left = RemainingMs(start, ms);
        DWORD result = MsgWaitForMultipleObjectsEx(count, &object, Shorter(left, QUEUE_SLICE_MS),
                                                   QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + count && result != WAIT_TIMEOUT)
            return result;
        DispatchQueued();
        if (RemainingMs(start, ms) == 0 && !showEnds)
            return WAIT_TIMEOUT;
    }
}

void SleepServicing(DWORD ms) {
    WaitServicing(NULL, ms);
}

bool AwaitStartAllowed() {
    // A message already queued (the exit key, the session's question) counts before a start.
    WaitServicing(NULL, 0);
    while (sessionUndecided && !showEnds)
        SleepServicing(SESSION_POLL_MS);
    return !showEnds;
}

void WaitForInputIdleServicing(HANDLE process, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD left = RemainingMs(start, ms);
        DWORD result = WaitForInputIdle(process, Shorter(left, IDLE_SLICE_MS));
        if (result != WAIT_TIMEOUT || left == 0 || showEnds)
            return;
        DispatchQueued();
    }
}
