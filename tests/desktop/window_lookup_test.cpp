// FindWindowByTitle over real top-level windows, also while another process keeps making and
// destroying windows above the one sought.
#include "desktop/window_lookup.h"
#include "wine_test.h"
#include <gtest/gtest.h>

TEST(WindowLookup, Titles) {
    const std::string long160(160, 'L');
    HWND hidden = CreateWindowExA(0, "STATIC", "Hidden Zoo", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    HWND titled = CreateWindowExA(0, "STATIC", long160.c_str(), WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    EXPECT_EQ(titled, FindWindowByTitle(long160.substr(0, 149).c_str(), NULL)) << "149 compared";
    EXPECT_EQ(NULL, FindWindowByTitle(long160.substr(0, 150).c_str(), NULL)) << "150 never are";
    EXPECT_EQ(NULL, FindWindowByTitle("hidden zoo", hidden)) << "the window passed over";
    PROCESS_INFORMATION churn = StartBuilt("KORVANE_STANDIN", "churn 4000");
    for (int i = 0; i < 500 && FindWindowA("Static", "Churn") == NULL; i++)
        Sleep(10);
    int missed = 0, lookups = 0;
    for (; WaitForSingleObject(churn.hProcess, 0) == WAIT_TIMEOUT; lookups++)
        missed += FindWindowByTitle("HIDDEN ZOO", NULL) != hidden;
    EXPECT_EQ(0, missed) << "of " << lookups << " lookups while windows come and go above";
    EXPECT_GT(lookups, 100);
}
