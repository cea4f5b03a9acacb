// ParseArguments with real profile files, its alerts read and answered as a user would.
#include "launch/arguments.h"
#include "wine_test.h"
#include <gtest/gtest.h>
#include <stdio.h>

namespace {

TEST(Settings, ParseArguments) {
    // So deep that a name of 40 characters has no room in a full path there.
    const std::string deep = "C:\\ks\\" + std::string(110, 'd') + "\\" + std::string(110, 'e');
    const std::string v160(160, 'v'), n40 = std::string(36, 'n') + ".ini";
    for (const std::string &folder :
         {std::string("C:\\ks"), deep.substr(0, 116), deep, deep + "\\sub"})
        CreateDirectoryA(folder.c_str(), NULL);
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
    const std::pair<std::string, std::string> files[] = {
        {"run.ini", "[Main]\nEXE1=a.exe /fast\nEXE2=  \"menu.exe\"  \nWDIR1=C:\\show\nDELAY1=250\n"
                    "DELAY2=0x10\nBACKGROUND=0\nRED=1\nGREEN=2\nBLUE=3\nTITLE1=" +
                        v160 + "\n"},
        {"partial.ini", "[main]\nexe1=intro.exe\nTitle1=\n[Other]\nEXE2=b.exe\n"},
        {n40, "[Main]\nEXE1=deep.exe\n"},
    };
    for (const auto &file : files) {
        FILE *f = fopen(file.first.c_str(), "w");
        fputs(file.second.c_str(), f);
        fclose(f);
    }
    const std::string full =
        "a.exe /fast|menu.exe|C:\\show|NONE|250|0x10|0|1|2|3|" + v160.substr(11);
    const std::string defaults = "NONE|NONE|NONE|NONE|1000|1000|1|0|0|0|NONE";
    const std::string missing = "Error: Unable to Find = ";
    const struct {
        std::string arguments, alerts, values; // values: the eleven slots joined by '|'
    } rows[] = {
        {"", "Error: Insufficient parameters\n", ""},
        {",setup.ini,", "Error: Insufficient parameters\n", ""},
        {"run.ini,Main", "", full},
        {".\\partial.ini,,MAIN", "", "intro.exe|NONE|NONE|NONE|1000|1000|1|0|0|0|"},
        {"run.ini,Nowhere", "", defaults},
        {"sub,Main", "", defaults},
        {"C:\\.,Main", "", defaults},
        {"\"run.ini\",Main", missing + "\"run.ini\"\n", ""},
        {"run?.ini,Main", missing + "run?.ini\n", ""},
        {"C:,Main", missing + "C:\n", ""},
        {n40 + ",Main", missing + n40 + "\n", ""},
        {"a.exe /x,b.exe,C:\\show", "", "a.exe /x|b.exe|C:\\show||||||||"},
    };
    for (const auto &row : rows) {
        LaunchSettings settings;
        AlertCollector alerts;
        bool goesOn = ParseArguments(row.arguments.c_str(), &settings);
        EXPECT_EQ(row.alerts, alerts.Finish()) << row.arguments;
        EXPECT_EQ(row.alerts.empty(), goesOn) << row.arguments;
        std::string values;
        for (size_t slot = 0; goesOn && slot < SETTING_COUNT; slot++)
            values += (slot ? "|" : "") + std::string(settings.values[slot]);
        EXPECT_EQ(row.values, values) << row.arguments;
    }
    SetCurrentDirectoryA("C:\\");
}

} // namespace
