// Opening what Windows cannot start as a program (a document, a program that must run
// elevated) through the shell, as Windows would open it from the desktop.
#pragma once
#include "launch/program_tree.h"

// Opens commandLine in the folder startIn. The shell may hand a document to a program that
// already runs, leaving no process to follow (no handle in program then). False, logged, when
// nothing could be opened.
bool OpenThroughShell(RunLog *log, RunningProgram *program, const char *commandLine,
                      const char *startIn);
