// Starting the show's programs: in their folder, as programs or through the shell, and handing
// the keyboard to the one that should have it.
#pragma once
#include "platform/run_log.h"
#include <windows.h>

// Makes directory current and records it as its drive's current directory ('=C:') in the
// environment the programs inherit. *full (PATH_CHARS) gets the full directory when it could
// be read back, else an empty text. False when any of this fails.
bool MakeDirectoryCurrent(const char *directory, char *full, DWORD fullChars);

// Starts commandLine in directory (its full form fullDirectory when there is one) with the
// start-up record given; which ("first", "second") names it in the log. What Windows cannot
// start as a program but the shell can open (a document, a program that must run elevated)
// is opened through the shell, which may leave no process handle. The program may take the
// foreground itself. With wholeTree it is put in a job of its own, *job (NULL when it could
// not be, or without wholeTree). False when nothing could be started.
bool StartProgram(RunLog *log, const char *which, const char *commandLine, const char *directory,
                  const char *fullDirectory, STARTUPINFOW *startup, bool wholeTree,
                  PROCESS_INFORMATION *process, HANDLE *job);

// Waits up to ms for the program's main window (visible, top-level, without owner; of any
// process in its job when it has one), then brings it to the foreground and the top while the
// launcher may still give it. Logs how it went. Returns early when the program ends first.
void HandOverForeground(RunLog *log, const char *which, HANDLE process, HANDLE job, DWORD ms);

// Releases the handles of a program that has ended, its job's among them, for its next start.
void ReleaseProgram(PROCESS_INFORMATION *process, HANDLE *job);

// A crash of a program started from now on ends it at once, with no report window holding
// it open: the launcher's error mode, which its programs inherit, says so.
void KeepCrashesQuiet(RunLog *log);
