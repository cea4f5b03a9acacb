// The argument text: the process's command line without the launcher's own program name.
#pragma once
#include <stddef.h>

// Returns the part of commandLine (UTF-8, where no byte of a character beyond ASCII is a
// quote or a blank) after the program name and the blanks (codes 1 to 32) that follow it. A
// quoted name ends at the next quote, which goes with it; an unquoted name ends at the first
// code of 32 or less.
const char *SkipProgramName(const char *commandLine);

// Where the program part of a command line may end, for handing the line to the shell as a
// file and its parameters. A quoted program ends at its closing quote (or the end of the
// line); an unquoted one may end at any blank, or at the end of the line, the first of them
// naming an existing file being the program's end. Returns the next such end after the
// offset `after` (0 for the first), or 0 when there is none. Blanks before the program are
// passed over.
size_t NextProgramEnd(const char *commandLine, size_t after);

// Splits commandLine at the offset end into the program, without leading blanks and
// quotes, and its parameters, the rest without the blanks that start it. Each is cut to
// its buffer.
void SplitProgram(const char *commandLine, size_t end, char *program, size_t programChars,
                  char *parameters, size_t parametersChars);
