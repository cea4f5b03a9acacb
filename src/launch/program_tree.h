// A started program seen whole. With TREE1 or TREE2 it is its own process and every process
// that one starts (and those start), held together in a job of their own: a stub that starts
// the real program and ends at once is not taken for the program's end. Without a job it is
// its own process alone.
#pragma once
#include "platform/run_log.h"
#include <windows.h>

struct RunningProgram {
    const char *which;           // "first" or "second", as the log names it
    PROCESS_INFORMATION process; // no handle when none was started, or it had none
    HANDLE job;                  // the job holding it and all it starts, or NULL
    DWORD lastExitCode;          // with a job: the exit code of its process last seen to end
    bool lastExitSeen;
};

// Puts the program, started suspended, in a job of its own (false, logged, when Windows will
// not: it is then followed alone). It is not resumed here.
bool JoinOwnJob(RunLog *log, RunningProgram *program);

// Whether the program has ended: its process, and with a job every process in the job.
bool ProgramHasEnded(const RunningProgram *program);

// The program's exit code: with a job, that of the process whose end ended the tree (the last
// one seen to end); else its process's. STILL_ACTIVE while it runs.
DWORD ProgramExitCode(const RunningProgram *program);

// Waits up to ms for the program to end, dispatching messages as they arrive. WAIT_OBJECT_0
// when it has ended, else what WaitServicing returns.
DWORD WaitForProgram(RunningProgram *program, DWORD ms);

// The program's main window, of any of its processes; NULL when it shows none.
HWND FindProgramWindow(const RunningProgram *program);

// Asks the program's visible top-level windows to close; returns how many were asked.
int AskProgramToClose(const RunningProgram *program);

// Ends the program at once, every process of it, with exit code 1. Windows only starts the
// end: a program still there 5 s later (stuck in a driver, or out of the launcher's reach) is
// waited for, logged when that begins and when it has gone, so that nothing is ever started
// beside it. WAIT_OBJECT_0 once it has gone, or WAIT_SHOW_ENDS.
DWORD EndProgram(RunLog *log, RunningProgram *program);

// Asks the program to close and gives it ms to do so, then ends it (logged). WAIT_OBJECT_0
// when it closed by itself, WAIT_TIMEOUT when it had to be ended, WAIT_SHOW_ENDS.
DWORD CloseProgram(RunLog *log, RunningProgram *program, DWORD ms);

// Releases the handles of a program that has ended, its job's among them, for its next start.
void ReleaseProgram(RunningProgram *program);
