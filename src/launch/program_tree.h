// A started program seen whole. With TREE1 or TREE2 it is its own process and every process
// that one starts (and those start), held together in a job of their own: a stub that starts
// the real program and ends at once is not taken for the program's end. Without a job
// (job NULL) it is its own process alone.
#pragma once
#include "platform/run_log.h"
#include <windows.h>

// Puts the program, started suspended, in a job of its own and lets it run. Returns the job,
// or NULL, logged, when Windows will not put it there (before Windows 8 a process already in a
// job joins no other): it is then followed alone.
HANDLE JoinOwnJob(RunLog *log, const char *which, const PROCESS_INFORMATION *process);

// Whether the program has ended: its process, and with a job every process in the job.
bool ProgramHasEnded(HANDLE process, HANDLE job);

// Waits up to ms for the program to end, dispatching messages as they arrive. WAIT_OBJECT_0
// when it has ended, else what WaitServicing returns.
DWORD WaitForProgram(HANDLE process, HANDLE job, DWORD ms);

// The program's main window, of any of its processes; NULL when it shows none.
HWND FindProgramWindow(HANDLE process, HANDLE job);

// Asks the program's visible top-level windows to close; returns how many were asked.
int AskProgramToClose(HANDLE process, HANDLE job);

// Ends the program at once, every process of it, with exit code 1, and waits up to 5 s for it
// to be gone; returns what that wait returned.
DWORD EndProgram(HANDLE process, HANDLE job);

// Asks the program to close and gives it ms to do so, then ends it (logged, the program named
// which) and waits up to 5 s for it to be gone. WAIT_OBJECT_0 when it closed by itself,
// WAIT_TIMEOUT when it had to be ended, WAIT_SHOW_ENDS.
DWORD CloseProgram(RunLog *log, const char *which, HANDLE process, HANDLE job, DWORD ms);
