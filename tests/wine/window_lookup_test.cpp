// FindWindowByTitle over real top-level windows of this process and of another one.
#include "desktop/window_lookup.h"
#include "wine_test_support.h"
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

HWND MakeWindow(const std::string &title, bool visible) {
    return CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0,
                           50, 50, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

struct TitleCase {
    const char *name;
    std::string wanted;
    int window; // index into the windows made below, or -1 for none
};

TEST(FindWindowByTitle, Table) {
    const std::string long160 = "Long " + std::string(155, 'L');
    const HWND windows[] = {
        MakeWindow("SETUP", true),          MakeWindow("Setup - 1", true),
        MakeWindow("Hidden Player", false), MakeWindow(long160, true),
        MakeWindow("Caf\xe9 [x]", true),
    };
    const TitleCase cases[] = {
        {"case of A-Z ignored", "Setup", 0},
        {"longer title is another title", "Setup - 1", 1},
        {"prefix is no match", "Setu", -1},
        {"hidden window counts", "hidden player", 2},
        {"first 149 characters compared", long160.substr(0, 149), 3},
        {"whole long title is not seen", long160, -1},
        {"150 characters are not seen", long160.substr(0, 150), -1},
        {"other bytes compare as they are", "CAF\xe9 [X]", 4},
        {"accented letters are not folded", "CAF\xc9 [X]", -1},
        {"no window has it", "Nobody Has This Title", -1},
    };
    for (const TitleCase &c : cases) {
        HWND expected = c.window < 0 ? NULL : windows[c.window];
        EXPECT_EQ(expected, FindWindowByTitle(c.wanted.c_str(), NULL)) << c.name;
    }
    EXPECT_EQ(NULL, FindWindowByTitle("Setup", windows[0])) << "the ignored window is skipped";
    for (HWND w : windows)
        DestroyWindow(w);
    EXPECT_EQ(NULL, FindWindowByTitle("Setup", NULL)) << "a destroyed window is gone";
}

TEST(FindWindowByTitle, AnotherProcessWindow) {
    const char *standin = getenv("KORVANE_STANDIN");
    ASSERT_TRUE(standin != NULL) << "KORVANE_STANDIN names the stand-in program";
    HANDLE process = StartProcess("\"" + WindowsPathOf(standin) +
                                  "\" \"window=Other Process Lookup\" hold=20000");
    ASSERT_TRUE(process != NULL);
    HWND found = NULL;
    for (int i = 0; i < 250 && found == NULL; i++) {
        Sleep(20);
        found = FindWindowByTitle("other PROCESS lookup", NULL);
    }
    ASSERT_TRUE(found != NULL);
    DWORD owner = 0;
    GetWindowThreadProcessId(found, &owner);
    EXPECT_EQ(GetProcessId(process), owner);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

} // namespace
