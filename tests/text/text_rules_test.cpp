// The platform-free rules where the fuzz run has no oracle for them; it holds the number
// readers against the C library's, and the launcher runs under Wine go through all of them.
#include "text/command_line.h"
#include "text/input_clock.h"
#include "text/keeping_values.h"
#include "text/profile_text.h"
#include "text/report_text.h"
#include "text/launch_settings.h"
#include "text/restart_wait.h"
#include "text/screen_values.h"
#include "text/setting_values.h"
#include "text/utf.h"
#include "text/wait_target.h"
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

TEST(TextRules, ExitKey) {
    // clang-format off
    const struct { const char *value; uint32_t modifiers, key; } rows[] = {// key 0: refused
        {"Ctrl+Alt+Shift+F12", KEY_CONTROL | KEY_ALT | KEY_SHIFT, 0x7B},
        {" win + shift + q ", KEY_WIN | KEY_SHIFT, 'Q'}, {"ctrl+alt+end", KEY_CONTROL | KEY_ALT, 0x23},
        {"Esc", 0, 0x1B}, {"F1", 0, 0x70}, {"F24", 0, 0x87}, {"Ctrl+9", KEY_CONTROL, '9'},
        {"Ctrl+Ctrl+Pause", KEY_CONTROL, 0x13},
        {"F25", 0, 0}, {"F0", 0, 0}, {"F", 0, 'F'}, {"Ctrl+", 0, 0}, {"+Q", 0, 0}, {"", 0, 0},
        {"Ctrl+Alt", 0, 0}, {"Control+Q", 0, 0}, {"Ctrl+QQ", 0, 0}, {"Ctrl Alt Q", 0, 0},
        {"Ctrl+\xc3\xa4", 0, 0}, {"Ctrl+Escape", 0, 0}};
    // clang-format on
    for (const auto &row : rows) {
        uint32_t modifiers = 99, key = 99;
        EXPECT_EQ(row.key != 0, ParseExitKey(row.value, &modifiers, &key)) << row.value;
        if (row.key != 0)
            EXPECT_EQ(row.modifiers * 256 + row.key, modifiers * 256 + key) << row.value;
    }
}

TEST(TextRules, DailyTime) {
    // clang-format off
    const struct { const char *value; uint32_t second; } rows[] = {// UINT32_MAX: refused
        {"04:30", 16200}, {" 4:30:15 ", 16215}, {"00:00", 0}, {"23:59:59", 86399}, {"9:05", 32700},
        {"24:00", UINT32_MAX}, {"12:60", UINT32_MAX}, {"12:00:60", UINT32_MAX}, {"123:00", UINT32_MAX},
        {"12:5", UINT32_MAX}, {"12:05:", UINT32_MAX}, {"12.05", UINT32_MAX}, {"12:05 pm", UINT32_MAX},
        {"", UINT32_MAX}, {"-1:00", UINT32_MAX}, {"12:05:07:01", UINT32_MAX}};
    // clang-format on
    for (const auto &row : rows) {
        uint32_t second = 0;
        bool read = ParseDailyTime(row.value, &second);
        EXPECT_EQ(row.second != UINT32_MAX, read) << row.value;
        if (read)
            EXPECT_EQ(row.second, second) << row.value;
    }
}

// One keeper per show: the same profile and section however written, apart from any other.
TEST(TextRules, KeeperNames) {
    const char *rows[][5] = {// a profile and section, another, "1" when they are one show
                             {"C:\\Show\\run.ini", "Main", "c:\\SHOW\\RUN.INI", " main\t", "1"},
                             {"C:\\Show\\run.ini", "Main", "C:\\Show\\run.ini", "Mains", ""},
                             {"C:\\Show\\run.ini", "Main", "C:\\Show\\run2.ini", "Main", ""},
                             {"C:\\a", "b", "C:\\ab", "", ""}};
    for (const auto &row : rows) {
        char name[64], other[64];
        FormatKeeperName(row[0], row[1], name, sizeof name);
        FormatKeeperName(row[2], row[3], other, sizeof other);
        EXPECT_EQ(*row[4] != '\0', strcmp(name, other) == 0) << row[2] << "|" << row[3];
    }
    char log[64], logUpper[64];
    FormatLogLockName("C:\\Show\\show.log", log, sizeof log);
    FormatLogLockName("c:\\SHOW\\SHOW.LOG", logUpper, sizeof logUpper);
    EXPECT_STREQ(log, logUpper) << "one lock for one log";
}

// Ticks go round every 49.7 days, and injected input carries a time of its own: a stamp after
// now counts as input now, a month-old one is never taken for recent.
TEST(TextRules, InputClock) {
    // clang-format off
    const struct { const char *name; uint32_t start, stamp0, look, stamp, now; bool came; uint32_t idle; } rows[] = {
        {"no input", 1000, 500, 2000, 500, 3000, false, 2000},
        {"input between looks", 1000, 500, 2000, 2500, 3000, true, 500},
        {"input stamped after now", 1000, 500, 2000, 9000, 3000, true, 0},
        {"input stamped before the last look", 1000, 500, 2000, 1500, 3000, true, 0},
        {"ticks round between looks", 0xFFFFF000u, 0xFFFFE000u, 0xFFFFFF00u, 0x100, 0x200, true, 0x100},
        {"a month without input, ticks round", 0x10, 0x8, 0x7FFFFFFFu, 0x8, 0xF0000000u, false, 0xF0000000u - 0x10},
        {"the stamp of a month ago again", 0x10, 0x8, 0x90000000u, 0x8, 0x90001000u, false, 0x90000ff0u}};
    // clang-format on
    for (const auto &row : rows) {
        InputClock clock;
        StartInputClock(&clock, row.start, row.stamp0);
        EXPECT_FALSE(NoteInput(&clock, row.look, row.stamp0)) << row.name;
        EXPECT_EQ(row.came, NoteInput(&clock, row.now, row.stamp)) << row.name;
        EXPECT_EQ(row.idle, IdleMs(&clock, row.now)) << row.name;
    }
}

// The show's hours: each row a value, then a day (0 Sunday, as Windows counts) and time, and
// whether the screens are on then; "x" where the value must not read (the screens always on).
TEST(TextRules, Hours) {
    // clang-format off
    const struct { const char *value; uint32_t weekday, hour, minute; const char *on; } rows[] = {
        {"08:00-18:00", 3, 8, 0, "1"}, {"08:00-18:00", 3, 18, 0, ""}, {"08:00-18:00", 0, 7, 59, ""},
        {"Mo-Fr 08:00-18:00", 6, 12, 0, ""}, {"Mo-Fr 08:00-18:00", 5, 12, 0, "1"},
        {"sa,SU 10:00-16:00", 0, 10, 0, "1"}, {"Sa, Su 10:00-16:00", 1, 10, 0, ""},
        {"Fr 18:00-02:00", 6, 1, 59, "1"}, {"Fr 18:00-02:00", 6, 2, 0, ""}, // past midnight
        {"Fr 18:00-02:00", 5, 1, 0, ""}, {"Fr 18:00-02:00", 5, 23, 0, "1"},
        {"Fr-Mo 9:00-10:00", 1, 9, 30, "1"}, {"Fr-Mo 9:00-10:00", 2, 9, 30, ""}, // round the week
        {"Su 22:00-06:00", 1, 5, 0, "1"}, {"Su 22:00-06:00", 0, 5, 0, ""},
        {"Mo 00:00-00:00", 1, 23, 59, "1"}, {"Mo 00:00-00:00", 2, 0, 0, ""}, // a whole day
        {"18:00-24:00", 4, 23, 59, "1"}, {"Mo 07:00-09:00; We 17:00 - 19:00 ;", 3, 18, 0, "1"},
        {"Mo 07:00-09:00;We 17:00-19:00", 1, 18, 0, ""},
        {"24:00-08:00", 1, 1, 0, "x"}, {"08:00-24:01", 1, 1, 0, "x"}, {"8-18", 1, 9, 0, "x"},
        {"08:60-18:00", 1, 9, 0, "x"}, {"Mon 08:00-18:00", 1, 9, 0, "x"}, {"Mo- 08:00-18:00", 1, 9, 0, "x"},
        {"Mo,08:00-18:00", 1, 9, 0, "x"}, {"08:00-18:00 Mo", 1, 9, 0, "x"}, {";", 1, 9, 0, "x"},
        {"08:00", 1, 9, 0, "x"}, {"M", 1, 9, 0, "x"}, {"", 1, 9, 0, "x"},
        {"1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;"
         "1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00;1:00-2:00", 1, 1, 0, "x"}};
    // clang-format on
    for (const auto &row : rows) {
        HoursPlan plan;
        bool read = ParseHours(row.value, &plan);
        EXPECT_EQ(*row.on != 'x', read) << row.value;
        if (read)
            EXPECT_EQ(*row.on == '1', IsWithinHours(&plan, row.weekday, row.hour * 60 + row.minute))
                << row.value << " on day " << row.weekday << " at " << row.hour << ":"
                << row.minute;
    }
}

// Monitors by number: the primary, then by left edge, then top; a window centred on one, shrunk
// to it; the rectangles as the log writes them.
TEST(TextRules, Monitors) {
    MonitorPlace monitors[] = {{{800, 0, 1440, 480}, {}, false},
                               {{-1024, 300, 0, 1068}, {}, false},
                               {{800, -480, 1440, 0}, {}, false},
                               {{0, 0, 800, 600}, {}, true}};
    OrderMonitors(monitors, 4);
    std::string order;
    for (const MonitorPlace &monitor : monitors) {
        char rect[64];
        FormatRect(monitor.full, rect, sizeof rect);
        order += std::string(rect) + "|";
    }
    EXPECT_EQ("0,0 to 800,600|-1024,300 to 0,1068|800,-480 to 1440,0|800,0 to 1440,480|", order);
    const int32_t area[4] = {800, 0, 1440, 440}, rows[][6] = {// width, height, where
                                                              {300, 150, 970, 145, 1270, 295},
                                                              {2000, 100, 800, 170, 1440, 270}};
    for (const auto &row : rows) {
        int32_t out[4];
        CentreIn(area, row[0], row[1], out);
        EXPECT_EQ(std::vector<int32_t>(row + 2, row + 6), std::vector<int32_t>(out, out + 4))
            << row[0] << "x" << row[1];
    }
    EXPECT_EQ(0u, ParseMonitorNumber("-2"));
    EXPECT_EQ(2u, ParseMonitorNumber(" 2"));
}

// One colour within the tolerance in each of red, green and blue, whatever the top byte.
TEST(TextRules, OneColour) {
    // clang-format off
    const struct { std::vector<uint32_t> points; bool one; } rows[] = {
        {{0x101010, 0x1c1c1c, 0xFF101010}, true}, {{0x101010, 0x1d1010}, false},
        {{0x101010, 0x10101d}, false}, {{0x00FF00, 0x00F300}, true}, {{0x00FF00, 0x00F200}, false},
        {{0xFFFFFF}, true}, {{}, false}};
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(row.one, IsOneColour(row.points.data(), row.points.size(), ONE_COLOUR_TOLERANCE))
            << row.points.size() << " points from " << std::hex
            << (row.points.empty() ? 0 : row.points[0]);
}

TEST(TextRules, TcpTargets) {
    const char *rows[][3] = {// WAIT value, host, port ("" when it does not read)
                             {"tcp:db.local:5432", "db.local", "5432"},
                             {"TCP:10.0.0.7:80", "10.0.0.7", "80"},
                             {"tcp:[::1]:8080", "::1", "8080"},
                             {"tcp:[fe80::1%3]:65535", "fe80::1%3", "65535"},
                             {"tcp:host:0", "", ""},
                             {"tcp:host:65536", "", ""},
                             {"tcp:host:00080", "host", "00080"},
                             {"tcp:host:000080", "", ""},
                             {"tcp:host:+80", "", ""},
                             {"tcp:host:80 ", "", ""},
                             {"tcp:host", "", ""},
                             {"tcp::80", "", ""},
                             {"tcp:::1:80", "", ""}, // IPv6 only in brackets
                             {"tcp:[::1]", "", ""},
                             {"tcp:[::1]8080", "", ""},
                             {"tcp:[]:80", "", ""},
                             {"tcp:my host:80", "", ""},
                             {"tcp:a/b:80", "", ""},
                             {"tcp:", "", ""},
                             {"tc:host:80", "", ""}};
    for (const auto &row : rows) {
        char host[64] = "x", port[8] = "x";
        EXPECT_EQ(row[2][0] != '\0', ParseTcpTarget(row[0], host, sizeof host, port, sizeof port))
            << row[0];
        EXPECT_STREQ(row[1], host) << row[0];
        EXPECT_STREQ(row[2], port) << row[0];
    }
    char small[4];
    char port[8];
    EXPECT_FALSE(ParseTcpTarget("tcp:four:80", small, sizeof small, port, sizeof port));
    EXPECT_TRUE(IsTcpTarget("Tcp:x") && !IsTcpTarget("C:\\tcp:x") && !IsTcpTarget("tcp"));
}

TEST(TextRules, EventGate) {
    // At most one event of an id a minute, the next telling how many were held back; the tick
    // count may wrap meanwhile.
    const uint32_t rows[][3] = {// tick, passes, held back told
                                {0xFFFFF000u, 1, 0}, {0xFFFFFFFFu, 0, 0}, {10000, 0, 0},
                                {55903, 0, 0},       {55904, 1, 3},       {55905, 0, 0},
                                {200000, 1, 1}};
    EventGate gate = {};
    for (const auto &row : rows) {
        uint32_t heldBack = 99;
        EXPECT_EQ(row[1] != 0, PassEvent(&gate, row[0], &heldBack)) << row[0];
        EXPECT_EQ(row[1] != 0 ? row[2] : 99, heldBack) << row[0];
    }
}

TEST(TextRules, StatusLines) {
    StatusFacts facts = {};
    facts.stage = "kept";
    facts.launcherId = 4;
    facts.programId[1] = 4294967295u;
    facts.programStart[1] = {2026, 1, 2, 3, 4, 5, 678};
    facts.counts[COUNT_RESTARTS] = 12;
    strcpy(facts.lastEvent, "2026-01-02 03:04:05.678 end");
    const LogTime now = {2026, 12, 31, 23, 59, 9, 999};
    char text[STATUS_CHARS];
    std::string expected = "time=2026-12-31 23:59:09\r\nstage=kept\r\nlauncher_pid=4\r\n"
                           "first_pid=\r\nfirst_start=\r\nsecond_pid=4294967295\r\n"
                           "second_start=2026-01-02 03:04:05\r\nstarts=0\r\nrestarts=12\r\n"
                           "hungs_ended=0\r\nrenewals=0\r\nalerts=0\r\n"
                           "last_event=2026-01-02 03:04:05.678 end\r\n";
    EXPECT_EQ(expected.size(), FormatStatus(text, sizeof text, &facts, &now));
    EXPECT_EQ(expected, text);
    // A raw line break in a value stays within its line; a line that does not fit is left out
    // whole, and so is every line after it.
    strcpy(facts.lastEvent, "x\ny\r");
    FormatStatus(text, sizeof text, &facts, &now);
    EXPECT_NE(std::string::npos, std::string(text).find("last_event=x y \r\n"));
    size_t cut = expected.find("restarts=");
    for (size_t size : {cut + 1, cut + 13, cut + 14}) {
        std::vector<char> small(size);
        size_t length = FormatStatus(small.data(), size, &facts, &now);
        EXPECT_EQ(size == cut + 14 ? cut + 13 : cut, length) << size;
        EXPECT_EQ(length, strlen(small.data())) << size;
    }
}

TEST(TextRules, UnknownKeys) {
    // Every key of the section, as written, once each; comments and settings in any case are
    // not unknown.
    const char profile[] = "[Other]\nSTRAY=1\n[Main]\n; a comment=1\nRESTRAT2 = 300\n"
                           "exe1=x\n\n  # note\n\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87=2\n"
                           "Lone\n=5\n[Late]\nLATE=1";
    char keys[KEY_LIST_CHARS];
    ListProfileKeys(profile, sizeof profile - 1, " main ", keys, sizeof keys);
    std::string unknown, all;
    for (const char *key = keys; *key != '\0'; key += strlen(key) + 1) {
        all += std::string(key) + "|";
        if (IsUnknownSettingKey(key))
            unknown += std::string(key) + "|";
    }
    EXPECT_EQ("; a comment|RESTRAT2|exe1|# note|\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87|Lone|", all);
    EXPECT_EQ("RESTRAT2|\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87|Lone|", unknown);
    // Names that do not fit are left out whole; the list stays ended.
    ListProfileKeys(profile, sizeof profile - 1, "Main", keys, 16);
    EXPECT_STREQ("; a comment", keys);
    EXPECT_EQ('\0', keys[strlen(keys) + 1]);
    ListProfileKeys(profile, sizeof profile - 1, "Missing", keys, sizeof keys);
    EXPECT_EQ('\0', keys[0]);
}
