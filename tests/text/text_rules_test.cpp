// The platform-free rules, a table each; the fuzz run holds the number readers against the C
// library's on many more inputs, and the runs under Wine go through all of them.
#include "text/alert_text.h"
#include "text/command_line.h"
#include "text/launch_settings.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(TextRules, SkipProgramName) {
    // clang-format off
    const char *rows[][2] = { // command line, argument text
        {"korvane.exe \t run.ini,Main  ", "run.ini,Main  "},
        {"\"C:\\my show\\korvane.exe\"run.ini,Main", "run.ini,Main"},
        {"\"unterminated name", ""},
        {"   a.ini,Main", "a.ini,Main"},
        {"k\xe9.exe\x01\x1f \"quoted\",b", "\"quoted\",b"},
        {"\"C:\\\x83\"x.exe\" a,b", "a,b"}, // a quote as trail byte does not end the name
        {"\"abc\x83", ""},                  // a lead byte takes no terminator along
        {"k\x83 a,b", "a,b"},               // outside quotes lead bytes play no part
    };
    // clang-format on
    LeadByteSet shiftJis = {};
    for (int c = 0x81; c <= 0xFC; c++)
        shiftJis.isLead[c] = c <= 0x9F || c >= 0xE0;
    for (const auto &row : rows)
        EXPECT_STREQ(row[1], SkipProgramName(row[0], &shiftJis)) << row[0];
}

TEST(TextRules, SplitArgumentText) {
    const std::string v150(150, 'v');
    // clang-format off
    const struct { std::string text, slots; size_t count; } rows[] = { // slots joined by '|'
        {",,setup.ini,,Main,", "setup.ini|Main", 2},
        {"\"a b.exe\" /x,\tb , Main ", "\"a b.exe\" /x|\tb | Main ", 3},
        {v150 + ",b", v150.substr(1) + "|b", 2},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13", "1|2|3|4|5|6|7|8|9|10|11", 13},
    };
    // clang-format on
    for (const auto &row : rows) {
        LaunchSettings settings;
        memset(&settings, '?', sizeof settings);
        EXPECT_EQ(row.count, SplitArgumentText(row.text.c_str(), &settings)) << row.text;
        std::string slots;
        for (const char *value : settings.values)
            slots += std::string(value) + "|";
        EXPECT_EQ(row.slots, slots.erase(slots.find_last_not_of('|') + 1)) << row.text;
    }
}

TEST(TextRules, SettingValues) {
    // clang-format off
    const struct { const char *value; int32_t delay, colour; bool set, hidden; } rows[] = {
        {"0x3E8", 1000, 0, true, false},
        {"010", 8, 10, true, false},
        {"09", 0, 9, true, false},
        {"\t\n\v\f\r +250.5ms", 250, 250, true, false},
        {"- 5", 0, 0, true, false},
        {"-2147483648", INT32_MIN, INT32_MIN, true, false},
        {"99999999999999999999", INT32_MAX, 1661992959, true, false},
        {"-99999999999999999999", INT32_MIN, -1661992959, true, false},
        {"0", 0, 0, true, true},
        {"00", 0, 0, true, false},
        {" 0", 0, 0, true, false},
        {"", 0, 0, false, false},
        {"nOnE", 0, 0, false, false},
        {"NONE ", 0, 0, true, false},
        {"NON", 0, 0, true, false},
    };
    // clang-format on
    for (const auto &row : rows) {
        EXPECT_EQ(row.delay, ParseDelay(row.value)) << "'" << row.value << "'";
        EXPECT_EQ(row.colour, ParseColorComponent(row.value)) << "'" << row.value << "'";
        EXPECT_EQ(row.set, IsValueSet(row.value)) << "'" << row.value << "'";
        EXPECT_EQ(row.hidden, IsBackdropHidden(row.value)) << "'" << row.value << "'";
    }
}

TEST(TextRules, TextEqualsNoCase) {
    EXPECT_TRUE(TextEqualsNoCase("Setup AZ", "sETUP az"));
    EXPECT_FALSE(TextEqualsNoCase("@[", "`{")) << "only A to Z are folded";
    EXPECT_FALSE(TextEqualsNoCase("\xc9", "\xe9")) << "only A to Z are folded";
    EXPECT_FALSE(TextEqualsNoCase("Setup", "Setup - 1"));
    EXPECT_FALSE(TextEqualsNoCase("Setup - 1", "Setup"));
}

TEST(TextRules, FormatAlertText) {
    const std::string v149(149, 'e');
    const char *both = "Unable to execute file : %s \n Current Directory : %s";
    // clang-format off
    const struct { const char *format; std::string arg1, arg2, text; size_t outChars; } rows[] = {
        {"Directory  = %s not Found 100%", "%s%n", "", "Directory  = %s%n not Found 100%", 256},
        {both, v149, v149, ("Unable to execute file : " + v149 + " \n Current Directory : " + v149).substr(0, 255), 256},
        {"ab%scd", "XYZ", "", "abXY", 5},
        {"abc", "", "", "", 1},
    };
    // clang-format on
    for (const auto &row : rows) {
        const char *args[2] = {row.arg1.c_str(), row.arg2.c_str()};
        std::string out(row.outChars + 8, '#');
        size_t length = FormatAlertText(&out[0], row.outChars, row.format, args, 2);
        EXPECT_EQ(row.text, out.c_str()) << row.format;
        EXPECT_EQ(row.text.size(), length) << row.format;
        EXPECT_EQ(std::string(8, '#'), out.substr(row.outChars)) << row.format << ": wrote past";
    }
}

} // namespace
