// korvane.exe started with an exact command line: the alerts its user sees, and its end.
#include "wine_test_support.h"
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

struct ArgumentsCase {
    const char *name;
    std::string argumentText;
    std::vector<SeenAlert> alerts;
};

TEST(ParseArguments, AlertsAndEndOfRun) {
    const char *exe = getenv("KORVANE_EXE");
    ASSERT_TRUE(exe != NULL) << "KORVANE_EXE names korvane.exe";
    ScratchFolder folder("arguments");
    folder.Write("run.ini", "[Main]\r\nEXE1=NONE\r\n");

    const SeenAlert insufficient = {"Error", "Insufficient parameters"};
    const ArgumentsCase cases[] = {
        {"no arguments", "", {insufficient}},
        {"blanks only", "   ", {insufficient}},
        {"only commas", ",,,", {insufficient}},
        {"one value", "setup.ini", {insufficient}},
        {"missing profile", "missing.ini,Main", {{"Error", "Unable to Find = missing.ini"}}},
        {"quoted profile name", "\"run.ini\",Main", {{"Error", "Unable to Find = \"run.ini\""}}},
        {"run of commas before the section",
         "missing.ini,,,Main",
         {{"Error", "Unable to Find = missing.ini"}}},
        {"existing profile", "run.ini,Main", {}},
        {"positional form", "NONE,NONE,C:\\", {}},
    };
    for (const ArgumentsCase &c : cases) {
        std::string line = "\"" + WindowsPathOf(exe) + "\"";
        if (!c.argumentText.empty())
            line += " " + c.argumentText;
        HANDLE process = StartProcess(line, folder.Path().c_str());
        ASSERT_TRUE(process != NULL) << c.name;
        AlertCollector alerts(GetProcessId(process));
        EXPECT_EQ(0u, WaitForExit(process, 30000)) << c.name;
        std::vector<SeenAlert> seen = alerts.Finish();
        CloseHandle(process);

        ASSERT_EQ(c.alerts.size(), seen.size()) << c.name;
        for (size_t i = 0; i < seen.size(); i++) {
            EXPECT_EQ(c.alerts[i].caption, seen[i].caption) << c.name;
            EXPECT_EQ(c.alerts[i].text, seen[i].text) << c.name;
        }
    }
}

} // namespace
