// Whole runs of korvane.exe with stand-ins that write down how they were started and what the
// screen showed then, while the test closes, presses keys and clicks as a visitor would.
#include "launch/message_waits.h"
#include "wine_test.h"
#include <gtest/gtest.h>
#include <map>
#include <stdio.h>

namespace {

#define K "C:\\kt"     // the runs' folder, left in the test prefix to look at after a failure
#define S K "\\s.exe " // the stand-in: TAG [HOLD_MS [EXIT]]

struct Row {
    const char *name, *arguments, *alerts;
    // Each stand-in's start: "" for none, else its folder and, unless the launcher may have
    // ended by then, "|backdrop visible|screen colour" as the stand-in saw them.
    const char *first, *second;
    DWORD minFirst, minGap, minEnd; // least ms from the launch to the first start, from there
                                    // to the second start, from there to the launcher's end
    // > 0: a hidden window "Intro Player", made as soon as the backdrop shows, lives this long
    // from the launch; once the first program has started another window covers the backdrop.
    DWORD titleMs = 0;
    bool visitor = false; // Alt+F4, a window of the visitor's own, a click, during DELAY1
};

std::map<std::string, std::pair<DWORD, std::string>> ReadStarts() {
    std::map<std::string, std::pair<DWORD, std::string>> starts;
    char tag[16], record[1024];
    unsigned long tick;
    FILE *log = fopen(K "\\starts.log", "r");
    while (log != NULL && fscanf(log, "%15s %lu %1023[^\n]", tag, &tick, record) == 3)
        starts[tag] = {tick, record};
    if (log != NULL)
        fclose(log);
    return starts;
}

// The launcher is started with flags and a show field of its own: neither program may see
// the flags, the second must see the show field.
void ExpectStart(const char *name, const std::string &start, const char *show,
                 const std::string &record) {
    std::string folder = start.substr(0, start.find('|')), expected;
    size_t length = std::string::npos; // without the screen part the rest of the record
    if (!start.empty()) {
        expected = folder + "|=" + (char)toupper(folder[0]) + ":=" + folder + "|0|" + show;
        expected += start == folder ? "|" : start.substr(folder.size());
        length = start == folder ? expected.size() : length;
    }
    EXPECT_EQ(expected, record.substr(0, length)) << name;
}

// The visitor, step by step: Alt+F4 on the backdrop; then a window of their own over a
// corner of it, made active, and a click on the backdrop; then that window closed, after
// which the corner must show the backdrop again while the launcher still waits.
struct Visitor {
    int step;
    DWORD seenAt;
    HWND own;
    bool clickKept, repainted;
};

void Visit(Visitor *visitor, HWND backdrop, const char *screen) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    DWORD since = GetTickCount() - visitor->seenAt;
    if (visitor->step == 0) {
        SetForegroundWindow(backdrop);
        keybd_event(VK_MENU, 0, 0, 0);
        keybd_event(VK_F4, 0, 0, 0);
        keybd_event(VK_F4, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        *visitor = {1, GetTickCount(), NULL, false, false};
    } else if (visitor->step == 1 && since > 500) {
        visitor->own = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT,
                                       cx - 200, cy - 200, 200, 200, NULL, NULL, NULL, NULL);
        SetForegroundWindow(visitor->own);
        SetCursorPos(cx / 2, cy / 2);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        visitor->step = 2;
    } else if (visitor->step == 2 && since > 1500) {
        visitor->clickKept = GetForegroundWindow() == visitor->own;
        DestroyWindow(visitor->own);
        visitor->step = 3;
    } else if (visitor->step == 3 && since > 2500 && ReadStarts().empty()) {
        char seen[16];
        snprintf(seen, sizeof seen, "1|%06lx", GetPixel(GetDC(NULL), cx - 2, cy - 2));
        visitor->repainted = visitor->repainted || strcmp(seen, screen) == 0;
    }
}

void RunRow(const Row &row) {
    DeleteFileA(K "\\starts.log");
    STARTUPINFOA startup = {};
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    DWORD launched = GetTickCount(), status = 1;
    PROCESS_INFORMATION launcher = StartBuilt("KORVANE_EXE", row.arguments, K, startup);
    ASSERT_TRUE(launcher.hProcess != NULL) << row.name;
    AlertCollector alerts(launcher.dwProcessId);
    Visitor visitor = {};
    HWND titled = NULL, cover = NULL;
    bool hung = false;
    while (WaitServicing(launcher.hProcess, 50) == WAIT_TIMEOUT &&
           GetTickCount() - launched < 30000) {
        HWND backdrop = FindWindowA("Korvane App", NULL);
        if (backdrop == NULL || !IsWindowVisible(backdrop))
            continue;
        hung = hung || IsHungAppWindow(backdrop);
        PostMessageA(backdrop, WM_CLOSE, 0, 0);
        if (row.titleMs && titled == NULL && cover == NULL)
            titled = CreateWindowExA(0, "STATIC", "Intro Player", WS_POPUP, 0, 0, 9, 9, NULL, NULL,
                                     NULL, NULL);
        if (titled && GetTickCount() - launched >= row.titleMs && DestroyWindow(titled))
            titled = NULL;
        if (row.titleMs && cover == NULL && ReadStarts().count("1"))
            cover = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0,
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                    NULL, NULL, NULL, NULL);
        if (row.visitor)
            Visit(&visitor, backdrop, strchr(row.first, '|') + 1);
    }
    DWORD ended = GetTickCount();
    DestroyWindow(cover);
    GetExitCodeProcess(launcher.hProcess, &status);
    EXPECT_EQ(0u, status) << row.name << ": ended with 0, in time";
    TerminateProcess(launcher.hProcess, 1);
    EXPECT_EQ(row.alerts, alerts.Finish()) << row.name;
    EXPECT_FALSE(hung) << row.name;
    EXPECT_EQ(row.visitor, visitor.clickKept) << row.name << ": the click left their window active";
    EXPECT_EQ(row.visitor, visitor.repainted) << row.name << ": the uncovered corner repainted";
    auto starts = ReadStarts();
    for (int i = 0; i < 100 && *row.second && !starts.count("2"); i++, Sleep(50))
        starts = ReadStarts();
    ExpectStart(row.name, row.first, "10", starts["1"].second);
    ExpectStart(row.name, row.second, "7", starts["2"].second);
    if (*row.first) {
        EXPECT_GE(starts["1"].first - launched, row.minFirst) << row.name << ": first delay";
    }
    if (*row.first && *row.second) {
        EXPECT_GE(starts["2"].first - starts["1"].first, row.minGap) << row.name << ": gap";
    }
    if (*row.second) {
        EXPECT_GE(ended - starts["2"].first, row.minEnd) << row.name << ": second delay";
    }
}

// EXE1,EXE2,WDIR1,WDIR2,DELAY1,DELAY2,BACKGROUND,RED,GREEN,BLUE,TITLE1
// clang-format off
const Row kRows[] = {
    {"bare profile name from the launcher's folder", "run.ini,Main", "", K "\\one|1|800000", K "\\two|1|800000", 400, 1200, 100},
    {"nothing to start", "NONE,none,NONE", "", "", "", 0, 0, 0},
    {"first program's folder at its default", S "1," S "2,NONE," K "\\two,50,50,1,255,0,0",
     "Error: Directory  = NONE not Found\nError: Unable to launch : " S "1\n\n", "", K "\\two|1|0000ff", 0, 0, 0},
    {"second program cannot start", "NONE,C:\\no\\p.exe,NONE," K "\\two,50,50",
     "Alert: Unable to execute file : C:\\no\\p.exe \n Current Directory : " K "\\two\n", "", "", 0, 0, 0},
    {"second program's folder missing", S "1," S "2,c:\\kt\\one,C:\\no\\such,50,50,1,256,128,0",
     "Alert: Directory  = C:\\no\\such not Found\nAlert: Unable to execute file : " S "2 \n Current Directory : C:\\no\\such\n",
     "c:\\kt\\one|1|000000", "", 50, 0, 0},
    {"relative folders, the second below the first", S "1," S "2,one,data,50,50,1,0,128,-1", "", K "\\one|1|000000", K "\\one\\data|1|000000", 50, 0, 0},
    {"delays 0: 1500 ms before the first, none after the second", S "1," S "2," K "\\one," K "\\two,0,0,1,18,200,77", "", K "\\one|1|4dc812", K "\\two", 1500, 0, 0},
    {"negative delays", S "1," S "2," K "\\one," K "\\two,-1,-5,1,0,0,128", "", K "\\one|1|800000", K "\\two", 1500, 0, 0},
    {"second delay before the end", S "1 0 259," S "2," K "\\one," K "\\two,50,1500,1,0,0,128", "", K "\\one|1|800000", K "\\two|1|800000", 50, 0, 1300},
    {"title that never existed", S "1," S "2," K "\\one," K "\\two,50,50,1,0,0,128,No Such Window", "", K "\\one|1|800000", K "\\two|1|800000", 50, 500, 0},
    {"hidden title window outlives the first program", S "1," S "2," K "\\one," K "\\two,500,50,1,0,0,128,intro PLAYER", "", K "\\one", K "\\two|1|800000", 500, 1800, 0, 2500},
    {"title of the backdrop itself", S "1," S "2," K "\\one," K "\\two,50,50,1,0,0,128,KORVANE WINDOW", "", K "\\one|1|800000", K "\\two|1|800000", 50, 500, 0},
    {"hidden backdrop", S "1," S "2," K "\\one," K "\\two,50,50,0,0,0,128", "", K "\\one|0|000000", K "\\two|0|000000", 50, 0, 0},
    {"a visitor during a long first delay", S "1," S "2," K "\\one," K "\\two,6000,50,1,0,128,0", "", K "\\one|1|008000", K "\\two|1|008000", 6000, 0, 0, 0, true},
};
// clang-format on

TEST(LaunchRun, Table) {
    for (const char *folder : {K, K "\\one", K "\\two", K "\\one\\data"})
        CreateDirectoryA(folder, NULL);
    CopyFileA((std::string("Z:") + getenv("KORVANE_STANDIN")).c_str(), K "\\s.exe", FALSE);
    FILE *profile = fopen(K "\\run.ini", "w");
    fputs("[Main]\nEXE1=" S "1 1200 3\nEXE2=\"" S "2\"\nWDIR1=" K "\\one\nWDIR2= " K
          "\\two \nDELAY1=400\nDELAY2=300\nBLUE=128\n",
          profile);
    fclose(profile);
    SetEnvironmentVariableA("STANDIN_LOG", K "\\starts.log");
    for (const Row &row : kRows)
        RunRow(row);
}

} // namespace
