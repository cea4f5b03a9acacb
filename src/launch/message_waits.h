// Waits that keep the backdrop serviced: every message that reaches the launcher's thread
// while it waits is dispatched, so the backdrop repaints when it is uncovered and the
// platform never takes the launcher for a program that has stopped responding.
#pragma once
#include <windows.h>

// Waits ms milliseconds, dispatching messages as they arrive.
void SleepServicing(DWORD ms);

// Waits up to ms milliseconds for object to be signalled, dispatching messages as they
// arrive (object NULL: just the time). Returns WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitServicing(HANDLE object, DWORD ms);

// Waits up to ms milliseconds for process to be ready for input, in short slices with the
// messages dispatched between them.
void WaitForInputIdleServicing(HANDLE process, DWORD ms);

// What is left of ms milliseconds counted from the tick count start; 0 once they have passed.
DWORD RemainingMs(DWORD start, DWORD ms);
