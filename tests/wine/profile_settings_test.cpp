// ReadProfileSettings against real profile files, with its alert seen as a user sees it.
#include "launch/profile_settings.h"
#include "launch/text.h"
#include "wine_test_support.h"
#include <gtest/gtest.h>

namespace {

const char kFullProfile[] = "[Main]\r\n"
                            "EXE1=intro.exe /fast\r\n"
                            "EXE2=  \"menu.exe\"  \r\n"
                            "WDIR1=C:\\show\r\n"
                            "WDIR2= C:\\show menu \r\n"
                            "DELAY1=250\r\n"
                            "DELAY2=0x10\r\n"
                            "BACKGROUND=0\r\n"
                            "RED=1\r\n"
                            "GREEN=2\r\n"
                            "BLUE=3\r\n"
                            "TITLE1=Intro Player\r\n"
                            "[Other]\r\n"
                            "EXE1=other.exe\r\n";

const char kPartialProfile[] = "[main]\r\nexe1=intro.exe\r\nTitle1=\r\n";

std::vector<std::string> Defaults() {
    return {"NONE", "NONE", "NONE", "NONE", "1000", "1000", "1", "0", "0", "0", "NONE"};
}

struct ProfileCase {
    const char *name;
    std::string fileName; // as the launcher is handed it, relative to the scratch folder
    std::string section;
    bool found;
    std::vector<std::string> values; // expected slots when found
};

TEST(ReadProfileSettings, Table) {
    ScratchFolder folder("profile");
    folder.Write("run.ini", kFullProfile);
    folder.Write("partial.ini", kPartialProfile);
    folder.Write("run1.ini", kFullProfile);
    folder.MakeFolder("profiles");
    // A bare name must be read from where it was found, not from the Windows directory.
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\windows\\run.ini"));
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

    std::vector<std::string> partial = Defaults();
    partial[SLOT_EXE1] = "intro.exe";
    partial[SLOT_TITLE1] = "";
    const std::vector<std::string> full = {"intro.exe /fast",
                                           "menu.exe",
                                           "C:\\show",
                                           "C:\\show menu",
                                           "250",
                                           "0x10",
                                           "0",
                                           "1",
                                           "2",
                                           "3",
                                           "Intro Player"};
    const std::string longName = std::string(149, 'n');

    const ProfileCase cases[] = {
        {"full path", folder.File("run.ini"), "Main", true, full},
        {"bare name read from the current folder", "run.ini", "Main", true, full},
        {"relative path", ".\\run.ini", "MAIN", true, full},
        {"missing keys give defaults", "partial.ini", "Main", true, partial},
        {"missing section gives defaults", "run.ini", "Nowhere", true, Defaults()},
        {"a folder passes with defaults", "profiles", "Main", true, Defaults()},
        {"the current folder passes", ".", "Main", true, Defaults()},
        {"a drive root passes", "C:\\", "Main", true, Defaults()},
        {"a drive root with a full stop", "C:\\.", "Main", true, Defaults()},
        {"missing file", "missing.ini", "Main", false, {}},
        {"quoted name", "\"run.ini\"", "Main", false, {}},
        {"question mark", "run?.ini", "Main", false, {}},
        {"star", "*.ini", "Main", false, {}},
        {"bare drive", "C:", "Main", false, {}},
        {"long missing name", longName, "Main", false, {}},
    };
    for (const ProfileCase &c : cases) {
        LaunchSettings settings;
        memset(&settings, 'x', sizeof settings);
        CopyText(settings.values[SLOT_EXE1], VALUE_CHARS, c.fileName.c_str());
        CopyText(settings.values[SLOT_EXE2], VALUE_CHARS, c.section.c_str());

        AlertCollector alerts;
        bool found = ReadProfileSettings(&settings);
        std::vector<SeenAlert> seen = alerts.Finish();

        EXPECT_EQ(c.found, found) << c.name;
        if (c.found) {
            EXPECT_EQ(0u, seen.size()) << c.name;
            for (size_t slot = 0; slot < SETTING_COUNT; slot++)
                EXPECT_EQ(c.values[slot], settings.values[slot]) << c.name << ", slot " << slot;
        } else {
            ASSERT_EQ(1u, seen.size()) << c.name;
            EXPECT_EQ("Error", seen[0].caption) << c.name;
            EXPECT_EQ("Unable to Find = " + c.fileName, seen[0].text) << c.name;
        }
    }
    SetCurrentDirectoryA("C:\\");
}

} // namespace
