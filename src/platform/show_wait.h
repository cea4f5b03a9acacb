// The one wait of a run. Every wait of every stage (the delays, the first program, the title
// wait, the second program's getting ready, the keeping, the restart wait) goes through here,
// and so does every start of a program: what the show's state says (the exit key pressed,
// Windows deciding whether the session ends) holds in each of them alike. While it waits,
// every message that reaches the launcher's thread is dispatched, so the backdrop repaints when
// it is uncovered and the platform never takes the launcher for a program that has stopped
// responding.
#pragma once
#include <windows.h>

// What a wait returns once the show is to end.
enum : DWORD { WAIT_SHOW_ENDS = 0xFFFFFFFEu };

// The exit key was pressed (or the thread was asked to quit): the show is to end, nothing more
// is started, and every wait returns WAIT_SHOW_ENDS at once from then on.
void NoteShowEnds();
bool ShowEnding();

// Windows has asked whether the session may end (true) and has not yet said (false).
void NoteSessionQuestion(bool undecided);

// Holds while Windows decides whether the session ends. True when a program may be started
// now; false once the show is to end.
bool AwaitStartAllowed();

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
