#include "launch/launch_settings.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct SplitCase {
    const char *name;
    std::string text;
    size_t count;
    std::vector<std::string> values; // the slots from 0 on; the rest must be empty
};

TEST(SplitArgumentText, Table) {
    const std::string long150(150, 'x');
    const std::string long149(149, 'x');
    const SplitCase cases[] = {
        {"empty", "", 0, {}},
        {"only commas", ",,,", 0, {}},
        {"one value", "setup.ini", 1, {"setup.ini"}},
        {"profile form", "run.ini,Main", 2, {"run.ini", "Main"}},
        {"run of commas", "setup.ini,,Main", 2, {"setup.ini", "Main"}},
        {"commas at both ends", ",,a,b,", 2, {"a", "b"}},
        {"blank kept", "setup.ini, Main", 2, {"setup.ini", " Main"}},
        {"trailing blanks kept", "run.ini,Main ", 2, {"run.ini", "Main "}},
        {"positional", "a.exe /x,b.exe,C:\\show", 3, {"a.exe /x", "b.exe", "C:\\show"}},
        {"quotes and tabs kept", "\"a b.exe\",\tb ,'c'", 3, {"\"a b.exe\"", "\tb ", "'c'"}},
        {"value cut at 149", long150 + ",b", 2, {long149, "b"}},
        {"eleven values",
         "1,2,3,4,5,6,7,8,9,10,11",
         11,
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        {"more than eleven",
         "1,2,3,4,5,6,7,8,9,10,11,12,13",
         13,
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
    };
    for (const SplitCase &c : cases) {
        LaunchSettings settings;
        memset(&settings, '?', sizeof settings);
        EXPECT_EQ(c.count, SplitArgumentText(c.text.c_str(), &settings)) << c.name;
        for (size_t slot = 0; slot < SETTING_COUNT; slot++) {
            std::string expected = slot < c.values.size() ? c.values[slot] : "";
            EXPECT_EQ(expected, settings.values[slot]) << c.name << ", slot " << slot;
        }
    }
}

TEST(SplitArgumentText, NeverWritesPastTheRecord) {
    struct Guarded {
        LaunchSettings settings;
        char guard[64];
    } g;
    memset(g.guard, 'G', sizeof g.guard);
    std::string text;
    for (int i = 0; i < 20; i++)
        text += std::string(300, 'v') + ",";
    EXPECT_EQ(20u, SplitArgumentText(text.c_str(), &g.settings));
    EXPECT_EQ(std::string(MAX_VALUE_CHARS, 'v'), g.settings.values[SLOT_TITLE1]);
    EXPECT_EQ(std::string(sizeof g.guard, 'G'), std::string(g.guard, sizeof g.guard));
}

} // namespace
