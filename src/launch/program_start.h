// Starting the show's programs: in their folder, as programs or through the shell, never while
// Windows decides whether the session ends and never once the show is to end.
#pragma once
#include "launch/program_tree.h"
#include "platform/run_log.h"
#include <windows.h>

// Makes directory current and records it as its drive's current directory ('=C:') in the
// environment the programs inherit. *full (PATH_CHARS) gets the full directory when it could
// be read back, else an empty text. False when any of this fails.
bool MakeDirectoryCurrent(const char *directory, char *full, DWORD fullChars);

// How a start went.
enum StartResult { START_FAILED, STARTED, START_HELD_BACK /* the show ends: nothing started */ };

// Starts commandLine in directory (its full form fullDirectory when there is one) with the
// start-up record given, into *program (whose which names it in the log). What Windows cannot
// start as a program but the shell can open is opened through the shell, which may leave no
// process handle. The program may take the foreground itself. With wholeTree it is put in a
// job of its own first, when Windows lets it.
StartResult StartProgram(RunLog *log, RunningProgram *program, const char *commandLine,
                         const char *directory, const char *fullDirectory, STARTUPINFOW *startup,
                         bool wholeTree);

// A crash of a program started from now on ends it at once, with no report window holding
// it open: the launcher's error mode, which its programs inherit, says so.
void KeepCrashesQuiet(RunLog *log);
