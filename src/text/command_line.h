// The argument text: the process's command line without the launcher's own program name.
#pragma once

// Marks the bytes that begin a double-byte character in the ANSI code page.
struct LeadByteSet {
    bool isLead[256];
};

// Returns the part of commandLine after the program name and the blanks (codes 1 to 32)
// that follow it. A quoted name ends at the next quote, which goes with it (a lead byte
// takes its trail byte along); an unquoted name ends at the first code of 32 or less.
const char *SkipProgramName(const char *commandLine, const LeadByteSet *leadBytes);
