// The platform-free rules where the fuzz run has no oracle for them; it holds the number
// readers against the C library's, and the launcher runs under Wine go through all of them.
#include "text/command_line.h"
#include "text/profile_text.h"
#include "text/launch_settings.h"
#include "text/restart_wait.h"
#include "text/setting_values.h"
#include "text/utf.h"
#include <gtest/gtest.h>
#include <string>

TEST(TextRules, SkipProgramName) {
    const char *rows[][2] = {
        {"k\xc3\xa9.exe\x01\x1f \"quoted\",b  ", "\"quoted\",b  "},
        {"   \"unterminated", "\"unterminated"},
        {"\"C:\\\xd0\xa8 x.exe\"a,b", "a,b"},
        {"\"abc", ""},
    };
    for (const auto &row : rows)
        EXPECT_STREQ(row[1], SkipProgramName(row[0])) << row[0];
}

TEST(TextRules, Values) {
    EXPECT_TRUE(IsValueSet("NONE "));
    EXPECT_FALSE(IsValueSet("nOnE"));
    EXPECT_TRUE(IsSwitchedOff("0"));
    EXPECT_TRUE(IsSwitchedOn("1"));
    for (const char *shown : {"00", " 0", "0 ", ""})
        EXPECT_FALSE(IsSwitchedOff(shown)) << "'" << shown << "'";
    for (const char *left : {"01", " 1", "1 ", "", "yes"})
        EXPECT_FALSE(IsSwitchedOn(left)) << "'" << left << "'";
    EXPECT_EQ(INT32_MIN, ParseDelay("-2147483648"));
    EXPECT_EQ(-1661992959, ParseColorComponent("-99999999999999999999")) << "wraps at 2^32";
}

TEST(TextRules, ProgramEnds) {
    const char *rows[][4] = {// line, nth end (1 or 2), program, parameters
                             {" \"C:\\a b\\x.mp4\"  /p \"q\"", "1", "C:\\a b\\x.mp4", "/p \"q\""},
                             {"\"C:\\a b\\x.mp4\" /p", "2", "", ""}, // a quoted path ends only once
                             {"\t C:\\a b\\x.mp4 /p", "2", "C:\\a b\\x.mp4", "/p"},
                             {"\"unterminated /p", "1", "unterminated /p", ""}};
    for (const auto &row : rows) {
        size_t end = NextProgramEnd(row[0], 0);
        if (row[1][0] == '2')
            end = NextProgramEnd(row[0], end);
        char program[VALUE_CHARS] = "", parameters[VALUE_CHARS] = "";
        if (end != 0)
            SplitProgram(row[0], end, program, sizeof program, parameters, sizeof parameters);
        EXPECT_STREQ(row[2], program) << row[0];
        EXPECT_STREQ(row[3], parameters) << row[0];
    }
}

TEST(TextRules, RestartWait) {
    // clang-format off
    const uint32_t rows[][3] = {// RESTART2, short runs in a row, wait
        {1000, 0, 1000}, {1000, 1, 1000}, {1000, 3, 4000}, {1000, 9, 256000}, {1000, 10, 300000},
        {1000, 4000000000u, 300000}, {400000, 5, 400000}, {0x7fffffff, 40, 0x7fffffff}, {0, 7, 0}};
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(row[2], RestartWaitMs(row[0], row[1])) << row[0] << " after " << row[1];
}

// Windows' profile reader finds a section whatever the case of its letters, in any script;
// Wine's folds A-Z only, so the launcher runs cannot hold our reader against it here.
TEST(TextRules, SectionsInAnyCase) {
    // clang-format off
    const char *rows[][3] = {// section line, section asked for, found
        {"[\xd0\xa8\xd0\xbe\xd1\x83]", "\xd1\x88\xd0\x9e\xd0\xa3", "1"}, // Шоу, шОУ
        {"[\xc3\x84\xc3\x96 \xc5\xb8]", "\xc3\xa4\xc3\xb6 \xc3\xbf", "1"}, // ÄÖ Ÿ, äö ÿ
        {"[\xce\xa9\xce\x9c]", "\xcf\x89\xce\xbc", "1"}, // ΩΜ, ωμ
        {"[\xc4\x80\xc4\xb9\xc5\xbd]", "\xc4\x81\xc4\xba\xc5\xbe", "1"}, // ĀĹŽ, āĺž
        {"[\xc4\xb0]", "i", ""}, // the Turkish İ stands alone
        {"[\xc3\x97]", "\xc3\xb7", ""}, // × and ÷ are no letters
        {"[\xff" "A]", "\xff" "a", "1"}, // a stray byte equals itself
        {"[\xff]", "\xfe", ""}};
    // clang-format on
    for (const auto &row : rows) {
        std::string profile = std::string(row[0]) + "\nA=1\n";
        char value[VALUE_CHARS];
        FindProfileValue(profile.data(), profile.size(), row[1], "a", value, sizeof value);
        EXPECT_STREQ(row[2], value) << row[0] << " asked as " << row[1];
    }
}
