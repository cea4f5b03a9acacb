// FindWindowByTitle over real windows, also while another process churns windows above them.
#include "desktop/window_lookup.h"
#include <gtest/gtest.h>
#include <string>

TEST(WindowLookup, Titles) {
    const std::string long160(160, 'L');
    HWND hidden = CreateWindowExA(0, "STATIC", "Hidden zoo", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    HWND titled = CreateWindowExA(0, "STATIC", long160.c_str(), WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    EXPECT_EQ(titled, FindWindowByTitle(long160.substr(0, 149).c_str(), NULL)) << "149 compared";
    EXPECT_EQ(NULL, FindWindowByTitle("hidden zoo", hidden)) << "the window passed over";
    HWND topmost =
        CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0);
    HWND top = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0);
    EXPECT_EQ(top, FindTopWindow()) << "a topmost window is no top window to raise";
    DestroyWindow(topmost);
    std::string line = std::string("\"Z:") + getenv("KORVANE_STANDIN") + "\" churn 4000";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION churn = {};
    ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, 0, 0, NULL, NULL, &startup, &churn));
    for (int i = 0; i < 500 && FindWindowA("Static", "Churn") == NULL; i++)
        Sleep(10);
    int missed = 0, lookups = 0;
    for (; WaitForSingleObject(churn.hProcess, 0) == WAIT_TIMEOUT; lookups++)
        missed += FindWindowByTitle("HIDDEN ZOO", NULL) != hidden;
    EXPECT_EQ(0, missed) << "of " << lookups << " lookups while windows come and go above";
}
