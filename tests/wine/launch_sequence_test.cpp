// Whole runs of korvane.exe with stand-in programs that write down how they were started.
#include "wine_test_support.h"
#include <gtest/gtest.h>
#include <map>
#include <stdlib.h>

namespace {

typedef std::map<std::string, std::string> StartRecord;

// The records a stand-in wrote, one per start.
std::vector<StartRecord> ReadStarts(const std::string &logPath) {
    std::vector<StartRecord> starts;
    std::string log = ReadWholeFile(logPath);
    size_t pos = 0;
    while (pos < log.size()) {
        size_t end = log.find('\n', pos);
        std::string line =
            log.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? log.size() : end + 1;
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq);
        if (key == "start")
            starts.emplace_back();
        if (!starts.empty())
            starts.back()[key] = line.substr(eq + 1);
    }
    return starts;
}

// The records, once a stand-in that may still be starting has written them (up to 5 s).
std::vector<StartRecord> ReadStartsOnceWritten(const std::string &logPath) {
    std::vector<StartRecord> starts = ReadStarts(logPath);
    for (int i = 0; i < 100 && starts.empty(); i++) {
        Sleep(50);
        starts = ReadStarts(logPath);
    }
    return starts;
}

ULONGLONG StartTime(const StartRecord &record) {
    return strtoull(record.at("start").c_str(), NULL, 10);
}

// What one run of korvane.exe left behind.
struct RunResult {
    DWORD exitStatus = 0;
    ULONGLONG launched = 0; // tick count just before korvane.exe was started
    ULONGLONG ended = 0;    // tick count once it had ended
    std::vector<SeenAlert> alerts;
};

// Runs korvane.exe with the argument text in directory; the watch is called every 50 ms
// while it runs.
template <typename Watch>
RunResult RunLauncher(const std::string &argumentText, const std::string &directory, Watch watch) {
    RunResult run;
    run.launched = GetTickCount64();
    HANDLE process =
        StartProcess("\"" + WindowsPathOf(getenv("KORVANE_EXE")) + "\" " + argumentText,
                     directory.c_str(), "korvane under test");
    if (process == NULL) {
        ADD_FAILURE() << "korvane.exe did not start";
        return run;
    }
    AlertCollector alerts(GetProcessId(process));
    for (int i = 0; i < 1200 && WaitForSingleObject(process, 50) == WAIT_TIMEOUT; i++)
        watch();
    run.exitStatus = WaitForExit(process, 0);
    run.ended = GetTickCount64();
    run.alerts = alerts.Finish();
    if (run.exitStatus == STILL_ACTIVE) {
        ADD_FAILURE() << "korvane.exe did not end: " << argumentText;
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return run;
}

RunResult RunLauncher(const std::string &argumentText, const std::string &directory) {
    return RunLauncher(argumentText, directory, [] {});
}

// Ends the stand-in process that shows a window of this title, if one does.
void EndStandinWithWindow(const char *title) {
    HWND window = FindWindowA("KorvaneStandin", title);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process != NULL) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

class LaunchSequence : public ::testing::Test {
  protected:
    LaunchSequence() : folder_("launch") {
        folder_.MakeFolder("one");
        folder_.MakeFolder("two");
        folder_.MakeFolder("one\\data");
        // A copy close to the root keeps the command lines short of the 149-character cut.
        const char *standin = getenv("KORVANE_STANDIN");
        CopyFileA(WindowsPathOf(standin ? standin : "").c_str(), Standin().c_str(), FALSE);
    }
    std::string Standin() const {
        return folder_.File("standin.exe");
    }
    std::string Standin(const std::string &arguments) const {
        return Standin() + " " + arguments;
    }
    std::string Log(const char *name) const {
        return folder_.File(name);
    }
    void ClearLogs() const {
        DeleteFileA(Log("first.log").c_str());
        DeleteFileA(Log("second.log").c_str());
    }
    std::string First(const std::string &arguments) const {
        return Standin("log=" + Log("first.log") + " " + arguments);
    }
    std::string Second(const std::string &arguments) const {
        return Standin("log=" + Log("second.log") + " " + arguments);
    }
    ScratchFolder folder_;
};

TEST_F(LaunchSequence, TypicalRunFromProfile) {
    const std::string exe1 = Standin("log=" + Log("first.log") + " hold=1200 exit=3");
    const std::string exe2 =
        Standin("log=" + Log("second.log") + " \"window=Menu Stand-in\" hold=8000");
    folder_.Write("run.ini",
                  "[Main]\r\nEXE1=" + exe1 + "\r\nEXE2=" + exe2 +
                      "\r\nWDIR1=" + folder_.File("one") + "\r\nWDIR2=" + folder_.File("two") +
                      "\r\nDELAY1=400\r\nDELAY2=300\r\nRED=0\r\nGREEN=0\r\nBLUE=128\r\n");
    bool sawBackdrop = false;
    bool sawColour = false;
    RunResult run = RunLauncher("run.ini,Main", folder_.Path(), [&] {
        HWND backdrop = FindWindowA("Korvane App", "Korvane Window");
        sawBackdrop = sawBackdrop || (backdrop != NULL && IsWindowVisible(backdrop));
        HDC screen = GetDC(NULL);
        sawColour = sawColour || GetPixel(screen, 900, 700) == RGB(0, 0, 128);
        ReleaseDC(NULL, screen);
    });
    EXPECT_EQ(0u, run.exitStatus);
    EXPECT_EQ(0u, run.alerts.size());
    EXPECT_TRUE(sawBackdrop);
    EXPECT_TRUE(sawColour) << "the screen showed the backdrop's dark blue";
    EXPECT_EQ(NULL, FindWindowA("Korvane App", NULL)) << "backdrop gone at the end";

    std::vector<StartRecord> first = ReadStarts(Log("first.log"));
    std::vector<StartRecord> second = ReadStartsOnceWritten(Log("second.log"));
    ASSERT_EQ(1u, first.size());
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ(exe1, first[0]["commandline"]);
    EXPECT_EQ(folder_.File("one"), first[0]["directory"]);
    EXPECT_EQ(folder_.File("one"), first[0]["driveC"]);
    EXPECT_EQ("0", first[0]["flags"]) << "an empty start-up record, show field not in force";
    EXPECT_EQ("10", first[0]["show"]);
    EXPECT_EQ(exe2, second[0]["commandline"]);
    EXPECT_EQ(folder_.File("two"), second[0]["directory"]);
    EXPECT_EQ(folder_.File("two"), second[0]["driveC"]);
    EXPECT_EQ("0", second[0]["flags"]) << "the launcher's own start-up record, no flags";
    EXPECT_EQ("korvane under test", second[0]["title"]) << "as the test started the launcher";
    EXPECT_NE("korvane under test", first[0]["title"]);
    EXPECT_GE(StartTime(first[0]), run.launched + 400) << "first delay";
    EXPECT_GE(StartTime(second[0]), StartTime(first[0]) + 1200) << "second after the first ended";
    EXPECT_GE(run.ended, StartTime(second[0]) + 300) << "second delay";

    EXPECT_TRUE(FindWindowA("KorvaneStandin", "Menu Stand-in") != NULL)
        << "the second program outlives the launcher";
    EndStandinWithWindow("Menu Stand-in");
}

// The positional form: EXE1,EXE2,WDIR1,WDIR2,DELAY1,DELAY2,BACKGROUND,RED,GREEN,BLUE,TITLE1.
std::string Positional(const std::vector<std::string> &values) {
    std::string text;
    for (const std::string &v : values)
        text += (text.empty() ? "" : ",") + v;
    return text;
}

struct AlertCase {
    const char *name;
    std::vector<std::string> values; // positional; "FIRST"/"SECOND" stand for the stand-ins
    std::vector<SeenAlert> alerts;
    size_t firstStarts;
    size_t secondStarts;
};

TEST_F(LaunchSequence, AlertsAtTheirPlaces) {
    const std::string first = First("hold=100");
    const std::string second = Second("hold=100");
    const std::string two = folder_.File("two");
    const AlertCase cases[] = {
        {"nothing to start", {"NONE", "NONE", "NONE"}, {}, 0, 0},
        {"first program's folder at its default",
         {"FIRST", "SECOND", "NONE", two, "50", "50"},
         {{"Error", "Directory  = NONE not Found"},
          {"Error", "Unable to launch : " + first + "\n"}},
         0,
         1},
        {"second program cannot start",
         {"NONE", "C:\\missing\\prog.exe", "NONE", two, "50", "50"},
         {{"Alert",
           "Unable to execute file : C:\\missing\\prog.exe \n Current Directory : " + two}},
         0,
         0},
        {"second program's folder missing",
         {"FIRST", "SECOND", folder_.File("one"), "C:\\no\\such", "50", "50"},
         {{"Alert", "Directory  = C:\\no\\such not Found"},
          {"Alert", "Unable to execute file : " + second + " \n Current Directory : C:\\no\\such"}},
         1,
         0},
    };
    for (const AlertCase &c : cases) {
        ClearLogs();
        std::vector<std::string> values = c.values;
        for (std::string &v : values)
            v = v == "FIRST" ? first : v == "SECOND" ? second : v;
        RunResult run = RunLauncher(Positional(values), folder_.Path());
        EXPECT_EQ(0u, run.exitStatus) << c.name;
        ASSERT_EQ(c.alerts.size(), run.alerts.size()) << c.name;
        for (size_t i = 0; i < c.alerts.size(); i++) {
            EXPECT_EQ(c.alerts[i].caption, run.alerts[i].caption) << c.name << ", alert " << i;
            EXPECT_EQ(c.alerts[i].text, run.alerts[i].text) << c.name << ", alert " << i;
        }
        EXPECT_EQ(c.firstStarts, ReadStarts(Log("first.log")).size()) << c.name;
        EXPECT_EQ(c.secondStarts, ReadStarts(Log("second.log")).size()) << c.name;
    }
}

struct DirectoryCase {
    const char *name;
    std::string wdir1, wdir2;
    std::string firstIn, secondIn; // where each program found itself started
};

TEST_F(LaunchSequence, RelativeFolders) {
    const DirectoryCase cases[] = {
        {"relative second folder below the first", folder_.File("one"), "data", folder_.File("one"),
         folder_.File("one\\data")},
        {"relative first folder", "one", "data", folder_.File("one"), folder_.File("one\\data")},
        {"dot-dot from the first folder", "one", "..\\two", folder_.File("one"),
         folder_.File("two")},
    };
    for (const DirectoryCase &c : cases) {
        ClearLogs();
        RunResult run = RunLauncher(
            Positional({First(""), Second(""), c.wdir1, c.wdir2, "50", "50"}), folder_.Path());
        EXPECT_EQ(0u, run.alerts.size()) << c.name;
        std::vector<StartRecord> first = ReadStarts(Log("first.log"));
        std::vector<StartRecord> second = ReadStartsOnceWritten(Log("second.log"));
        ASSERT_EQ(1u, first.size()) << c.name;
        ASSERT_EQ(1u, second.size()) << c.name;
        EXPECT_EQ(c.firstIn, first[0]["directory"]) << c.name;
        EXPECT_EQ(c.firstIn, first[0]["driveC"]) << c.name;
        EXPECT_EQ(c.secondIn, second[0]["directory"]) << c.name;
        EXPECT_EQ(c.secondIn, second[0]["driveC"]) << c.name;
    }
}

struct TimingCase {
    const char *name;
    std::string firstArgs, delay1, delay2, background, title1;
    ULONGLONG firstAfterLaunch; // least time from korvane.exe's start to the first program's
    ULONGLONG secondAfterFirst; // least time between the two programs' starts
    // Least time from the second start to korvane.exe's end: the second delay less the
    // 200 ms a process may take from its creation to its first line.
    ULONGLONG endAfterSecond;
};

TEST_F(LaunchSequence, DelaysTitlesAndEnds) {
    const TimingCase cases[] = {
        {"delays as given", "", "300", "600", "1", "NONE", 300, 0, 400},
        {"first delay 0 means 1500", "", "0", "0", "1", "NONE", 1500, 0, 0},
        {"negative first delay reads 0", "", "-1", "-5", "1", "NONE", 1500, 0, 0},
        {"second delay holds the end", "", "50", "1500", "1", "NONE", 50, 0, 1300},
        {"first program ends with 259", "exit=259", "50", "50", "1", "NONE", 50, 0, 0},
        {"first program holds the second", "hold=1500", "50", "50", "1", "NONE", 50, 1500, 0},
        {"title that never existed", "", "50", "50", "1", "No Such Window", 50, 500, 0},
        {"title outlives the first program", "\"leave=Intro Player\" leave-ms=2500", "50", "50",
         "1", "intro PLAYER", 50, 2500, 0},
        {"title of the backdrop itself", "", "50", "50", "1", "KORVANE WINDOW", 50, 500, 0},
        {"hidden backdrop", "", "50", "50", "0", "NONE", 50, 0, 0},
    };
    for (const TimingCase &c : cases) {
        ClearLogs();
        bool backdropShown = false;
        bool backdropExisted = false;
        RunResult run = RunLauncher(
            Positional({First(c.firstArgs), Second(""), folder_.File("one"), folder_.File("two"),
                        c.delay1, c.delay2, c.background, "0", "0", "0", c.title1}),
            folder_.Path(), [&] {
                HWND backdrop = FindWindowA("Korvane App", NULL);
                backdropExisted = backdropExisted || backdrop != NULL;
                backdropShown = backdropShown || IsWindowVisible(backdrop);
            });
        EXPECT_EQ(0u, run.exitStatus) << c.name;
        EXPECT_EQ(0u, run.alerts.size()) << c.name;
        EXPECT_TRUE(backdropExisted) << c.name;
        EXPECT_EQ(c.background != "0", backdropShown) << c.name;
        std::vector<StartRecord> first = ReadStarts(Log("first.log"));
        std::vector<StartRecord> second = ReadStartsOnceWritten(Log("second.log"));
        ASSERT_EQ(1u, first.size()) << c.name;
        ASSERT_EQ(1u, second.size()) << c.name;
        EXPECT_GE(StartTime(first[0]), run.launched + c.firstAfterLaunch) << c.name;
        EXPECT_GE(StartTime(second[0]), StartTime(first[0]) + c.secondAfterFirst) << c.name;
        if (c.endAfterSecond > 0) { // with no second delay the launcher may end first
            EXPECT_GE(run.ended, StartTime(second[0]) + c.endAfterSecond) << c.name;
        }
    }
}

// A long first delay: the backdrop keeps answering, so it is never taken for hung.
TEST_F(LaunchSequence, BackdropNeverHungDuringLongDelay) {
    int samples = 0;
    bool hung = false;
    RunResult run = RunLauncher(
        Positional({First(""), "NONE", folder_.File("one"), "NONE", "7000"}), folder_.Path(), [&] {
            HWND backdrop = FindWindowA("Korvane App", NULL);
            if (backdrop == NULL)
                return;
            samples++;
            hung = hung || IsHungAppWindow(backdrop);
        });
    EXPECT_EQ(0u, run.alerts.size());
    EXPECT_GT(samples, 50) << "watched the backdrop through the delay";
    EXPECT_FALSE(hung);
    EXPECT_GE(run.ended, run.launched + 7000);
}

// A window of the first program that covered the backdrop closes while the run still waits:
// the screen shows the backdrop's colour there again.
TEST_F(LaunchSequence, UncoveredBackdropRepaintsWhileWaiting) {
    struct Sample {
        ULONGLONG tick;
        bool cover;
        COLORREF pixel;
    };
    std::vector<Sample> samples;
    RunResult run = RunLauncher(
        Positional({First("window=Cover rect=200:200:300:300 window-ms=1500 hold=5000"), "NONE",
                    folder_.File("one"), "NONE", "50", "50", "1", "0", "128", "0"}),
        folder_.Path(), [&] {
            HDC screen = GetDC(NULL);
            samples.push_back({GetTickCount64(), FindWindowA("KorvaneStandin", "Cover") != NULL,
                               GetPixel(screen, 350, 350)});
            ReleaseDC(NULL, screen);
        });
    std::vector<StartRecord> first = ReadStarts(Log("first.log"));
    ASSERT_EQ(1u, first.size());
    const ULONGLONG firstEnds = StartTime(first[0]) + 5000;
    bool coverSeenWhite = false, greenAfterCover = false, coverGone = false;
    for (const Sample &s : samples) {
        coverSeenWhite = coverSeenWhite || (s.cover && s.pixel == RGB(255, 255, 255));
        coverGone = coverGone || (coverSeenWhite && !s.cover);
        greenAfterCover =
            greenAfterCover || (coverGone && s.tick + 300 < firstEnds && s.pixel == RGB(0, 128, 0));
    }
    EXPECT_TRUE(coverSeenWhite) << "the first program's window covered the backdrop";
    EXPECT_TRUE(greenAfterCover) << "the backdrop repainted while the first program still ran";
}

} // namespace
