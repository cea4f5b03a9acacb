// FindWindowByTitle over real top-level windows, also while another process keeps making and
// destroying windows above the one sought.
#include "desktop/window_lookup.h"
#include "wine_test.h"
#include <gtest/gtest.h>

namespace {

HWND MakeWindow(const std::string &title, DWORD visible) {
    return CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP | visible, 0, 0, 9, 9, NULL, NULL,
                           NULL, NULL);
}

TEST(WindowLookup, Titles) {
    const std::string long160(160, 'L');
    HWND setup = MakeWindow("SETUP", WS_VISIBLE), hidden = MakeWindow("Hidden Zoo", 0),
         long149 = MakeWindow(long160, WS_VISIBLE);
    EXPECT_EQ(setup, FindWindowByTitle("Setup", NULL));
    EXPECT_EQ(hidden, FindWindowByTitle("hidden zoo", NULL));
    EXPECT_EQ(long149, FindWindowByTitle(long160.substr(0, 149).c_str(), NULL));
    EXPECT_EQ(NULL, FindWindowByTitle(long160.substr(0, 150).c_str(), NULL));
    EXPECT_EQ(NULL, FindWindowByTitle("Setup", setup)) << "the window passed over";
    DestroyWindow(setup);
    EXPECT_EQ(NULL, FindWindowByTitle("Setup", NULL)) << "a destroyed window is gone";

    PROCESS_INFORMATION churn = StartBuilt("KORVANE_STANDIN", "churn 4000");
    for (int i = 0; i < 500 && FindWindowA("Static", "Churn") == NULL; i++)
        Sleep(10);
    int missed = 0, lookups = 0;
    for (; WaitForSingleObject(churn.hProcess, 0) == WAIT_TIMEOUT; lookups++)
        missed += FindWindowByTitle("HIDDEN ZOO", NULL) != hidden;
    EXPECT_EQ(0, missed) << "of " << lookups << " lookups while windows come and go above";
}

} // namespace
