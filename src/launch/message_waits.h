// Waits that keep the backdrop serviced: every message that reaches the launcher's thread
// while it waits is dispatched, so the backdrop repaints when it is uncovered and the
// platform never takes the launcher for a program that has stopped responding.
#pragma once
#include <windows.h>

// What a wait returns once the show is to end.
enum : DWORD { WAIT_SHOW_ENDS = 0xFFFFFFFEu };

// Whether the thread was asked to quit (WM_QUIT, posted when the exit key is pressed): the
// show is to end, and every wait returns WAIT_SHOW_ENDS at once from then on.
bool ShowEnding();

// Waits ms milliseconds, dispatching messages as they arrive.
void SleepServicing(DWORD ms);

// Waits up to ms milliseconds for object to be signalled, dispatching messages as they
// arrive (object NULL: just the time). Returns WAIT_OBJECT_0, WAIT_TIMEOUT, WAIT_FAILED or
// WAIT_SHOW_ENDS.
DWORD WaitServicing(HANDLE object, DWORD ms);

// Waits up to ms milliseconds for process to be ready for input, in short slices with the
// messages dispatched between them.
void WaitForInputIdleServicing(HANDLE process, DWORD ms);

// What is left of ms milliseconds counted from the tick count start; 0 once they have passed.
DWORD RemainingMs(DWORD start, DWORD ms);
