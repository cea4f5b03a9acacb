#include "launch/command_line.h"
#include <gtest/gtest.h>

namespace {

// Shift-JIS style lead bytes, so that a trail byte of '"' can be put after one.
LeadByteSet ShiftJisLeadBytes() {
    LeadByteSet set = {};
    for (int c = 0x81; c <= 0x9F; c++)
        set.isLead[c] = true;
    for (int c = 0xE0; c <= 0xFC; c++)
        set.isLead[c] = true;
    return set;
}

struct NameCase {
    const char *commandLine;
    const char *argumentText;
};

TEST(SkipProgramName, Table) {
    const NameCase cases[] = {
        {"korvane.exe run.ini,Main", "run.ini,Main"},
        {"korvane.exe \t  run.ini,Main", "run.ini,Main"},
        {"korvane.exe", ""},
        {"", ""},
        {"korvane.exe run.ini,Main  ", "run.ini,Main  "},
        {"\"C:\\my show\\korvane.exe\" run.ini,Main", "run.ini,Main"},
        {"\"C:\\my show\\korvane.exe\"run.ini,Main", "run.ini,Main"},
        {"\"unterminated name", ""},
        {"\"\" a,b", "a,b"},
        {"   a.ini,Main", "a.ini,Main"},
        {" \x01\x1f a,b", "a,b"},
        {"k.exe\x01"
         "a,b",
         "a,b"},
        {"k\xe9.exe a,b", "a,b"},
        {"k.exe \"quoted\",b", "\"quoted\",b"},
        // A quote as trail byte of a double-byte character does not end the name.
        {"\"C:\\\x83\"x.exe\" a,b", "a,b"},
        // A lead byte just before the terminator takes nothing along.
        {"\"abc\x83", ""},
        // Outside quotes lead bytes play no part: the blank still ends the name.
        {"k\x83 a,b", "a,b"},
    };
    LeadByteSet leadBytes = ShiftJisLeadBytes();
    for (const NameCase &c : cases)
        EXPECT_STREQ(c.argumentText, SkipProgramName(c.commandLine, &leadBytes))
            << "command line: " << c.commandLine;
}

} // namespace
