// Whole runs of korvane.exe with stand-ins that write down how they were started and what the
// screen showed then, while the test answers the alerts and acts as a visitor would.
// Windows Sockets 2 before windows.h: the test's own listener.
#include <winsock2.h>
#include "desktop/backdrop.h"
#include "text/keeping_values.h"
#include "platform/show_wait.h"
#include <tlhelp32.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <functional>
#include <map>
#include <gtest/gtest.h>
#include <thread>

namespace {

#define K "C:\\kt"     // the runs' folder, left in the test prefix to look at after a failure
#define S K "\\s.exe " // the stand-in: TAG [HOLD_MS [EXIT]]
#define MISSING "Error: Unable to Find = "
#define LONG_NAME "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn.ini" // no room below kDeep
#define SHOW K "\\Шоу"                                       // names beyond code page 1252
#define KANJI K "\\漢字"
#define PRAES K "\\Präsentation" // within it

const std::string kDeep = K "\\" + std::string(110, 'd') + "\\" + std::string(110, 'e');
struct Row {
    const char *name, *arguments, *alerts;
    const char *firstIn, *secondIn; // folders the stand-ins started in, "" for no start
    const char *screen;             // as they saw it then: "visible pointer|monitor|monitor"
    DWORD minFirst, minGap, minEnd; // least ms: launch to first, first to second, second to end
    const char *folder = K;         // the launcher's current folder
    bool answer = true;             // the runner presses OK on every alert
    const char *documents = "|";    // "first|second": what the shell opened each stand-in with
};

std::wstring Wide(const std::string &text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

// Each stand-in's start ticks and the rest of its first line, by its tag (1, 2; a stub's child
// 3, 4).
struct StartsOfTag {
    std::vector<DWORD> ticks;
    DWORD first = 0; // 0: no start
    std::string record;
};
std::vector<StartsOfTag> Starts() {
    std::vector<StartsOfTag> starts(5);
    std::ifstream log(K "\\starts.log");
    size_t tag;
    DWORD tick;
    for (std::string record; log >> tag >> tick && std::getline(log, record);) {
        StartsOfTag &of = starts.at(tag);
        of.ticks.push_back(tick);
        if (of.first == 0)
            of.first = tick, of.record = record.substr(1);
    }
    return starts;
}

// The launcher's start-up flags reach no program, its show field the second; the shell hands on
// its own. A screen "visible|colour": the pointer as shown, the colour at every point read.
std::string Expected(const std::string &folder, const char *show, std::string screen,
                     const std::string &document) {
    if (screen.size() == 8) {
        std::string colour = screen.substr(2);
        screen = screen.substr(0, 1) + " " + screen.substr(0, 1);
        for (int i = GetSystemMetrics(SM_CMONITORS); i > 0; i--)
            screen += "|" + colour + " " + colour + " " + colour;
    } else if (GetSystemMetrics(SM_CMONITORS) == 1 &&
               std::count(screen.begin(), screen.end(), '|') > 1) {
        printf("one monitor: of '%s' only the primary screen's part is checked\n", screen.c_str());
        screen = screen.substr(0, screen.find('|', screen.find('|') + 1));
    }
    std::string shown = document.empty() ? std::string("0|") + show : "1|1";
    return folder.empty() ? ""
                          : folder + "|=" + (char)toupper(folder[0]) + ":=" + folder + "|" + shown +
                                "|" + screen + "|" + document;
}

// Field by field, fields parted by '|' or blanks; an expected "~x" matches anything but x.
bool Matches(std::string expected, std::string seen) {
    std::replace(expected.begin(), expected.end(), '|', ' ');
    std::replace(seen.begin(), seen.end(), '|', ' ');
    std::istringstream wanted(expected), got(seen);
    for (std::string a, b; wanted >> a;)
        if (!(got >> b) || (a[0] == '~' ? a.substr(1) == b : a != b))
            return false;
    std::string rest;
    return !(got >> rest);
}

// Reads the message box a process shows as a user would, and presses its OK button if asked.
void AnswerAlert(DWORD processId, bool press, HWND *answered, std::wstring *seen) {
    HWND box = FindWindowA("#32770", NULL);
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (owner != processId || box == *answered || !IsWindowVisible(box))
        return;
    wchar_t caption[512] = L"", text[1024] = L"";
    GetWindowTextW(box, caption, 512);
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    *seen += std::wstring(caption) + L": " + text + L"\n";
    if (press)
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    *answered = box;
}

// Starts korvane.exe with the arguments in folder.
PROCESS_INFORMATION StartLauncher(const char *arguments, const char *folder = K) {
    std::wstring line = Wide(std::string("\"Z:") + getenv("KORVANE_EXE") + "\" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION launcher = {};
    // 64-bit Wine here now and then refuses a start under load; the test's own start is tried
    // again, and says so.
    for (int tries = 0; tries < 3 && !CreateProcessW(NULL, &line[0], NULL, NULL, 0, 0, NULL,
                                                     Wide(folder).c_str(), &startup, &launcher);
         tries++, Sleep(200))
        printf("the launcher's start was refused: error %lu; again\n", GetLastError());
    return launcher;
}

void EndStandIns();

// Runs a row, asking the backdrop to close every 50 ms; visit(launcher) acts alongside. A row
// whose stand-in Wine refused to start (an alert the row does not expect) runs once more.
void RunRow(const Row &row, const std::function<void(HANDLE)> &visit = nullptr,
            bool again = false) {
    DeleteFileA(K "\\starts.log");
    DWORD launched = GetTickCount(), status = 1;
    PROCESS_INFORMATION launcher = StartLauncher(row.arguments, row.folder);
    std::thread visitor([&] {
        if (visit)
            visit(launcher.hProcess);
    });
    HWND answered = NULL;
    std::wstring alerts;
    while (WaitServicing(launcher.hProcess, 50) == WAIT_TIMEOUT &&
           GetTickCount() - launched < 30000) {
        PostMessageA(FindWindowW(kBackdropClassName, NULL), WM_CLOSE, 0, 0);
        AnswerAlert(launcher.dwProcessId, row.answer, &answered, &alerts);
    }
    DWORD ended = GetTickCount();
    visitor.join();
    GetExitCodeProcess(launcher.hProcess, &status);
    TerminateProcess(launcher.hProcess, 1);
    if (!again && alerts.find(L"Unable to") != std::wstring::npos &&
        !strstr(row.alerts, "Unable to")) {
        printf("%s: a start was refused (%ls); the row runs again\n", row.name, alerts.c_str());
        EndStandIns();
        return RunRow(row, visit, true);
    }
    EXPECT_EQ(0u, status) << row.name << ": ended with 0, in time";
    EXPECT_TRUE(Wide(row.alerts) == alerts)
        << row.name << ", saw: " << std::string(alerts.begin(), alerts.end());
    auto starts = Starts();
    for (int i = 0; i < 100 && *row.secondIn && starts[2].first == 0; i++, Sleep(50))
        starts = Starts(); // with no second delay the launcher may end first
    std::string documents = row.documents;
    size_t bar = documents.find('|');
    for (int tag : {1, 2}) {
        std::string expected =
            Expected(tag == 1 ? row.firstIn : row.secondIn, tag == 1 ? "10" : "7", row.screen,
                     tag == 1 ? documents.substr(0, bar) : documents.substr(bar + 1));
        EXPECT_TRUE(Matches(expected, starts[tag].record))
            << row.name << " " << tag << "\n wanted " << expected << "\n saw    "
            << starts[tag].record;
    }
    // Unsigned, a difference with a missing start passes whatever the row says.
    EXPECT_GE(starts[1].first - launched, row.minFirst) << row.name << ": first delay";
    EXPECT_GE(starts[2].first - starts[1].first, row.minGap) << row.name << ": gap";
    EXPECT_GE(ended - starts[2].first, row.minEnd) << row.name << ": second delay";
}

// EXE1,EXE2,WDIR1,WDIR2,DELAY1,DELAY2,BACKGROUND,RED,GREEN,BLUE,TITLE1; DELAY2 >= 500 keeps the
// backdrop up until the second program has looked at it.
// clang-format off
const Row kRows[] = {
    {"one value between commas", ",run.ini,", "Error: Insufficient parameters\n", "", "", "", 0, 0, 0},
    {"missing profile", "missing.ini,Main", MISSING "missing.ini\n", "", "", "", 0, 0, 0},
    {"quoted profile name", "\"run.ini\",Main", MISSING "\"run.ini\"\n", "", "", "", 0, 0, 0},
    {"wildcard ?", "ru?.ini,Main", MISSING "ru?.ini\n", "", "", "", 0, 0, 0},
    {"wildcard *", "*.ini,Main", MISSING "*.ini\n", "", "", "", 0, 0, 0},
    {"bare drive", "C:,Main", MISSING "C:\n", "", "", "", 0, 0, 0},
    {"no room for the full path", LONG_NAME ",Main", MISSING LONG_NAME "\n", "", "", "", 0, 0, 0, kDeep.c_str()},
    {"drive root: all defaults", "C:\\.,Main", "", "", "", "", 0, 0, 0},
    {"bare profile name from the launcher's folder", "run.ini,,Main", "", K "\\one", K "\\two", "1|4dc812", 400, 1700, 300},
    {"missing keys take their defaults", "run.ini,partial", "", K "\\one", K "\\two", "1|000000", 1000, 0, 800},
    {"first program's folder at its default", S "1," S "2,NONE," K "\\two,50,500,1,255,0,0",
     "Error: Directory  = NONE not Found\nError: Unable to launch : " S "1\n\n", "", K "\\two", "1|0000ff", 0, 0, 0},
    {"second program cannot start", "NONE,C:\\no\\p.exe,NONE," K "\\two,50,50",
     "Alert: Unable to execute file : C:\\no\\p.exe \n Current Directory : " K "\\two\n", "", "", "", 0, 0, 0},
    {"second program's folder missing", S "1," S "2,c:\\kt\\one,C:\\no\\such,50,50,1,256,128,0",
     "Alert: Directory  = C:\\no\\such not Found\nAlert: Unable to execute file : " S "2 \n Current Directory : C:\\no\\such\n",
     "c:\\kt\\one", "", "1|000000", 50, 0, 0},
    {"relative folders, the second below the first", S "1," S "2,one,data,50,500,1,0,128,-1", "", K "\\one", K "\\one\\data", "1|000000", 50, 0, 0},
    {"first delay 0 means 1500 ms", S "1,NONE," K "\\one,NONE,0,0,1,010,0x10,128", "", K "\\one", "", "1|80000a", 1500, 0, 0},
    {"negative delays", S "1," S "2," K "\\one," K "\\two,-1,-5,0,0,0,128", "", K "\\one", K "\\two", "0|000000", 1500, 0, 0},
    {"second delay before the end", S "1 0 259," S "2," K "\\one," K "\\two,50,1500,1,0,0,128", "", K "\\one", K "\\two", "1|800000", 50, 0, 1300},
    {"root of a missing drive", "Q:\\.,Main", MISSING "Q:\\.\n", "", "", "", 0, 0, 0},
    {"unanswered alert closes itself, logged", "run.ini,Unattended", "Error: Unable to launch : " K "\\intro.nobody\n\n",
     "", K "\\two", "1|000000", 0, 0, 0, K, false},
    {"exit code logged, appended; primary screen only; missing picture", "run.ini,Logged", "", K "\\one", K "\\two",
     "1 1|1e1ec8 1e1ec8 1e1ec8|~1e1ec8 ~1e1ec8 ~1e1ec8", 50, 0, 0},
    {"picture on every screen, shrunk to the smaller; no pointer", "run.ini,Picture", "", K "\\one", K "\\two",
     "1 0|800000 0000ff 800000|800000 0000ff 00ff00", 50, 0, 0},
    {"first program never ends, TIMEOUT1; no room for the log", "run.ini,Hung", "", K "\\one", K "\\two", "1|000000", 50, 600, 0},
    {"title window never goes, TIMEOUT1", "run.ini,Lingering", "", K "\\one", K "\\two", "1|000000", 50, 600, 0},
    {"documents opened through the shell", K "\\show files\\intro.kvt 1 800 0,\"" K "\\menu.kvt\" 2 0 0," K "\\one," K "\\two,50,500,1,0,0,128",
     "", K "\\one", K "\\two", "1|800000", 50, 800, 0, K, true, K "\\show files\\intro.kvt|" K "\\menu.kvt"},
    {"title of the backdrop itself", S "1," S "2," K "\\one," K "\\two,50,500,1,0,0,128,KORVANE WINDOW", "", K "\\one", K "\\two", "1|800000", 50, 500, 0},
    {"UTF-16 LE profile, names beyond the code page", "utf16le.ini,Шоу", "", SHOW, KANJI, "1|000000", 50, 0, 0},
    {"UTF-16 BE profile", "utf16be.ini,Шоу", "", SHOW, KANJI, "1|000000", 50, 0, 0},
    {"UTF-8 profile with its mark: the first section", "utf8bom.ini,Шоу", "", SHOW, KANJI, "1|000000", 50, 0, 0},
    {"UTF-8 profile without mark", "utf8.ini,Шоу", "", SHOW, KANJI, "1|000000", 50, 0, 0},
    {"TITLE1 beyond the code page", "utf16le.ini,Титул", "", SHOW, KANJI, "1|000000", 50, 600, 0},
    {"ANSI profile in code page 1252", "run.ini,Ansi", "", PRAES, K "\\two", "1|000000", 50, 0, 0},
    {"direct form, folders beyond the code page", S "1," S "2," SHOW "," KANJI ",50,500", "", SHOW, KANJI, "1|000000", 50, 0, 0},
    {"alert naming a folder beyond the code page", "NONE," S "2,NONE," K "\\Нет,50,50",
     "Alert: Directory  = " K "\\Нет not Found\nAlert: Unable to execute file : " S "2 \n Current Directory : " K "\\Нет\n", "", "", "", 0, 0, 0},
    {"values after the eleventh ignored", S "1 600," S "2," K "\\one," K "\\two,50,500,1,0,0,128,NONE,5,5," K "\\twelfth.log,PRIMARY,x.bmp,0,100,1",
     "", K "\\one", K "\\two", "1|800000", 50, 600, 0},
    {"PNG with a transparent border over the colour", "utf16le.ini,Логотип", "", SHOW, KANJI, "1 1|800000 0000ff 800000|800000 0000ff 800000", 50, 0, 0},
    {"JPEG", "run.ini,Jpeg", "", K "\\one", K "\\two", "1 1|800000 ~800000 800000|800000 ~800000 800000", 50, 0, 0},
    {"truncated PNG: the colour alone, no alert", "run.ini,Truncated", "", K "\\one", K "\\two", "1|800000", 50, 0, 0},
};
// clang-format on

// Stand-ins that outlived their launcher (a first program left running by TIMEOUT1, a hung one):
// as Wine processes they would keep the test's output open until they end.
void EndStandIns() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, "s.exe") == 0)
            TerminateProcess(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID), 0);
}

// How many lines of the file hold text.
int LinesWith(const char *file, const std::string &text) {
    std::ifstream log(file);
    int count = 0;
    for (std::string line; std::getline(log, line);)
        count += line.find(text) != std::string::npos;
    return count;
}

// The lines of the file that hold each of events, in that order, one after the other.
void ExpectLines(const char *file, const std::vector<std::string> &events) {
    std::ifstream log(Wide(file).c_str());
    size_t next = 0;
    for (std::string line; next < events.size() && std::getline(log, line);)
        next += line.find(events[next]) != std::string::npos;
    EXPECT_EQ(events.size(), next)
        << file << " lacks, in order: " << events[std::min(next, events.size() - 1)];
}

// utf8 written to name (UTF-8) in an encoding Notepad saves: "utf8" (without mark), "utf8bom",
// "utf16le" or "utf16be" (with marks).
void WriteEncoded(const std::string &name, const std::string &utf8, const std::string &encoding) {
    std::string bytes = encoding == "utf8bom" ? "\xef\xbb\xbf" + utf8 : utf8;
    if (encoding.compare(0, 5, "utf16") == 0) {
        bool little = encoding == "utf16le";
        bytes = little ? "\xff\xfe" : "\xfe\xff";
        for (wchar_t unit : Wide(utf8)) {
            char low = (char)(unit & 0xFF), high = (char)(unit >> 8);
            bytes += little ? std::string{low, high} : std::string{high, low};
        }
    }
    FILE *f = _wfopen(Wide(name).c_str(), L"wb");
    fwrite(bytes.data(), bytes.size(), 1, f);
    fclose(f);
}

// Folders and stand-ins named beyond the code page, the same profile in every encoding, and the
// pictures.
void PrepareNames() {
    for (const char *folder : {SHOW, KANJI, PRAES}) {
        CreateDirectoryW(Wide(folder).c_str(), NULL);
        CopyFileW(L"C:\\kt\\s.exe", Wide(std::string(folder) + "\\пуск.exe").c_str(), FALSE);
    }
    std::string keys = "EXE1=" SHOW "\\пуск.exe 1\nEXE2=" KANJI "\\пуск.exe 2\nWDIR1=" SHOW
                       "\nWDIR2=" KANJI "\nDELAY1=50\nDELAY2=500\nLOG=" K "\\журнал.log\n";
    std::string profile = "[Шоу]\n" + keys + "[Титул]\nTITLE1=Заставка\nTIMEOUT1=900\n" + keys +
                          "[Логотип]\nIMAGE=логотип.png\nBLUE=128\nDELAY1=400\n" + keys;
    for (const char *encoding : {"utf16le", "utf16be", "utf8bom", "utf8"})
        WriteEncoded(K "\\" + std::string(encoding) + ".ini", profile, encoding);
    for (const char *log : {K "\\журнал.log", K "\\twelfth.log"})
        DeleteFileW(Wide(log).c_str());
    for (std::string picture :
         {"picture.bmp", "logo.png", "logo.jpg", "truncated.png", "large.jpg", "huge.jpg"})
        CopyFileA(("Z:" + std::string(getenv("KORVANE_PICTURES")) + "/" + picture).c_str(),
                  (K "\\" + picture).c_str(), 0);
    CopyFileW(L"C:\\kt\\logo.png", Wide(K "\\логотип.png").c_str(), 0);
}

// The two logged runs, in order: a local time stamp, the event, CR LF; the alert stays up for
// its ALERTWAIT of 1000 ms.
void CheckLog() {
    const char *handover = "second program showed no window in time (or ended): no keyboard";
    // clang-format off
    const char *events[] = {
        "start: arguments 'run.ini,Unattended'; settings from profile " K "\\run.ini, section [Unattended]",
        "profile read as the code page (ANSI)",
        "first program could not start: error 193 ", "first program: opening it through the shell",
        "first program could not be opened through the shell either: error ",
        "alert Error: Unable to launch : " K "\\intro.nobody\\n", "alert closed by itself",
        "second program started: process id ", handover, "backdrop removed", "end",
        "start: arguments 'run.ini,Logged'; settings from profile " K "\\run.ini, section [Logged]",
        "profile read as the code page (ANSI)",
        "picture 'nope.bmp' could not be read: error 0x80070002 (", "first program started: process id ",
        "first program ended: exit code 3", "title wait ended: no window 'Nobody'",
        "second program started: process id ", handover, "backdrop removed", "end"};
    // clang-format on
    std::ifstream file(K "\\runs.log", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(std::size(events), lines.size()) << text;
    auto ms = [](const std::string &line) { // of the day, from "YYYY-MM-DD HH:MM:SS.mmm "
        return ((stoi(line.substr(11, 2)) * 60 + stoi(line.substr(14, 2))) * 60 +
                stoi(line.substr(17, 2))) *
                   1000 +
               stoi(line.substr(20, 3));
    };
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string &line = lines[i];
        for (size_t c = 0; c < 24; c++)
            EXPECT_TRUE("0000-00-00 00:00:00.000 "[c] == '0'
                            ? isdigit(line[c])
                            : line[c] == "0000-00-00 00:00:00.000 "[c])
                << line;
        EXPECT_EQ(0, line.compare(24, strlen(events[i]), events[i])) << line;
        EXPECT_EQ(std::string::npos, line.find_first_of("\r\n")) << line;
        EXPECT_LE(lines[i > 0 ? i - 1 : 0].substr(0, 23), line.substr(0, 23)) << line;
    }
    EXPECT_GE(ms(lines[6]) - ms(lines[5]), 1000) << "the alert's time up";
}

// The runs' folders, stand-ins, profiles and pictures, once per process: each test may run on
// its own, in a prefix of its own.
void PrepareRuns() {
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    for (const char *folder : {K, K "\\one", K "\\two", K "\\one\\data", K "\\show files"})
        CreateDirectoryA(folder, NULL);
    CreateDirectoryA(kDeep.substr(0, kDeep.rfind('\\')).c_str(), NULL);
    CreateDirectoryA(kDeep.c_str(), NULL);
    CopyFileA((std::string("Z:") + getenv("KORVANE_STANDIN")).c_str(), K "\\s.exe", FALSE);
    std::string wdir2 = K "\\"; // 149 characters: the folder only when read to the last one
    while (wdir2.size() < 146)
        wdir2 += ".\\";
    std::string profile = "[Main]\nEXE1=" S "1 1200 3\nEXE2=\"" S "2\"\nWDIR1=" K "\\one\nWDIR2= ";
    profile += wdir2 + "two \nDELAY1=400\nDELAY2=500\nTITLE1=Nobody\nRED=18\nGREEN=200\nBLUE=77\n";
    profile += "[Partial]\nexe1=" S "1\nexe2=" S "2\nwdir1=" K "\\one\nwdir2=" K "\\two\n";
    // The first of two equal keys counts, so keys given here stand before the common ones. Pictures
    // are read beside the show: a DELAY1 of 400 ms lets them show before the first program looks.
    auto section = [](const char *name, const char *exe1, const std::string &keys) {
        return std::string("[") + name + "]\n" + keys + "EXE1=" + exe1 + "\nEXE2=" S "2\nWDIR1=" K +
               "\\one\nWDIR2=" K "\\two\nDELAY1=50\nDELAY2=500\n";
    };
    profile += section("Unattended", K "\\intro.nobody", "ALERTWAIT=1000\nLOG=runs.log\n");
    profile += section("Logged", S "1 0 3",
                       "TITLE1=Nobody\nLOG=runs.log\nSCREENS=primary\nDELAY1=500\n"
                       "IMAGE=nope.bmp\nRED=200\nGREEN=30\nBLUE=30\n");
    profile += section("Picture", S "1", "IMAGE=picture.bmp\nCURSOR=0\nBLUE=128\nDELAY1=400\n");
    profile += section("Hung", S "1 40000", "TIMEOUT1=900\nLOG=C:\\no\\such\\x.log\n");
    profile += section("Lingering", S "1", "TITLE1=Forever\nTIMEOUT1=900\n");
    profile += section("Ansi", S "1", "WDIR1=" K "\\Pr\xe4sentation\n");
    profile += section("Jpeg", S "1", "IMAGE=logo.jpg\nBLUE=128\nDELAY1=400\n");
    profile += section("Truncated", S "1", "IMAGE=truncated.png\nBLUE=128\nDELAY1=400\n");
    profile +=
        section("Large", S "1 6000", "IMAGE=large.jpg\nBLUE=128\nDELAY1=100\nLOG=large.log\n");
    profile += section("Huge", S "1 2500", "IMAGE=huge.jpg\nBLUE=128\nLOG=large.log\n");
    profile += section("Kept", S "1",
                       "EXE2=" S "2 0 count\nDELAY2=0\nRESTART2=300\nQUIT2=3\n"
                       "BLUE=128\nLOG=kept.log\n");
    profile += section("Crashing", S "1", "EXE2=" S "2 0 crash\nRESTART2=1\nLOG=kept.log\n");
    profile += section("Often", S "1", "EXE2=" S "2 0 count\nDELAY2=0\nRESTART2=1\n");
    profile += section("Above", S "1", "EXE2=" S "2 900 2\nDELAY2=200\nRESTART2=300\nQUIT2=2\n");
    profile +=
        section("Idle", S "1",
                "EXE2=" S "2 60000 window\nDELAY2=0\nRESTART2=300\nIDLE2=2000\nLOG=round.log\n");
    profile += section("Skip", S "1 20000 window", "SKIP1=1\nTITLE1=Intro Player\nLOG=round.log\n");
    profile += section("NoSkip", S "1 3000 window", "");
    profile += section("Tree", S "1 2000 stub",
                       "TREE1=1\nEXE2=" S "2 1500 stub\nTREE2=1\nRESTART2=300\nDELAY2=1000\n"
                       "LOG=round.log\n");
    profile += section("Breakaway", S "1 2000 breakaway", "TREE1=1\n");
    profile += section("Late", S "1",
                       "EXE2=" K "\\late.exe 2 0 3\nRESTART2=2000\nQUIT2=3\nLOG=pairs.log\n");
    profile += section("Asked", S "1 1000", "LOG=pairs.log\n");
    profile += section("SlowTitle", S "1", "TITLE1=Slow Title\n");
    const std::string kept = "DELAY2=0\nRESTART2=300\nLOG=pairs.log\n";
    profile += section("TreeQuit", S "1", "EXE2=" S "2 1500 stub:7\nTREE2=1\nQUIT2=7\n" + kept);
    profile += section("IdleTimeout", S "1 60000 window",
                       "TIMEOUT1=900\nEXE2=" S "2 60000 window\nIDLE2=2000\n" + kept);
    profile += section("IdleRelative", S "1",
                       "WDIR1=one\nWDIR2=..\\two\nEXE2=" S "2 60000 window\nIDLE2=2000\n"
                       "WAIT1=one\nWAIT2=two\n" +
                           kept);
    profile += section("HiddenHung", S "1", "EXE2=" S "2 2500 hidehang\nHUNG2=1000\n" + kept);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char dark[32]; // hours that begin in two hours
    sprintf(dark, "HOURS=%02d:00-%02d:00\n", (now.wHour + 2) % 24, (now.wHour + 3) % 24);
    const std::string screens = "DELAY2=0\nRESTART2=300\nLOG=screens.log\n";
    profile += section("OnSecond", S "1 3000 window", "MONITOR1=2\nTASKBAR=0\nLOG=screens.log\n");
    profile += section("FullFirst", S "1 6000 window", "FULLSCREEN1=1\nLOG=screens.log\n");
    profile += section(
        "Full", S "1",
        "EXE2=" S "2 60000 window\nMONITOR2=2\nFULLSCREEN2=1\nTASKBAR=0\nHOURS=8-18\n" + screens);
    profile += section("FullTree", S "1",
                       "EXE2=" S "2 60000 stub\nTREE2=1\nFULLSCREEN2=1\nHUNG2=5000\n" + screens);
    profile += section("Blank", S "1", "EXE2=" S "2 60000 window\nBLANK2=1500\n" + screens);
    profile += section("Pattern", S "1", "EXE2=" S "2 60000 pattern\nBLANK2=1000\n" + screens);
    profile += section("BlankDark", S "1",
                       "EXE2=" S "2 60000 window\nBLANK2=1000\n" + std::string(dark) + screens);
    profile += "[Other]\nEXE2=" S "1 0 5\nWDIR2=" K "\nRESTART2=1\nQUIT2=5\nLOG=other.log\n";
    profile += "[Rolled]\nLOG=big.log\n";
    for (std::string file :
         {std::string(K "\\run.ini"), kDeep + "\\" LONG_NAME, std::string(K "\\intro.nobody"),
          std::string(K "\\menu.kvt"), std::string(K "\\show files\\intro.kvt")}) {
        FILE *f = fopen(file.c_str(), "w");
        fputs(profile.c_str(), f);
        fclose(f);
    }
    SetEnvironmentVariableA("STANDIN_LOG", K "\\starts.log");
    RegSetValueA(HKEY_CLASSES_ROOT, ".kvt", REG_SZ, "korvane.test", 0);
    RegSetValueA(HKEY_CLASSES_ROOT, "korvane.test\\shell\\open\\command", REG_SZ,
                 "\"" K "\\s.exe\" %* \"%1\"", 0);
    DeleteFileA(K "\\runs.log");
    DeleteFileA(K "\\kept.log");
    for (const char *log :
         {K "\\large.log", K "\\keeper.log", K "\\round.log", K "\\other.log", K "\\big.log.old"})
        DeleteFileA(log);
    PrepareNames();
}

TEST(LaunchRun, Table) {
    PrepareRuns();
    HWND forever = CreateWindowExA(0, "STATIC", "Forever", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    HWND intro =
        CreateWindowExW(0, L"STATIC", Wide("Заставка").c_str(), WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    // UTF-8 and UTF-16 big-endian profiles are read in memory: the temporary folder stays empty.
    CreateDirectoryA(K "\\temp", NULL);
    HANDLE written = FindFirstChangeNotificationA(K "\\temp", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    SetEnvironmentVariableA("TMP", NULL);
    SetEnvironmentVariableA("TEMP", K "\\temp");
    for (const Row &row : kRows)
        RunRow(row);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(written, 0)) << "a file made in the temp folder";
    DestroyWindow(forever);
    DestroyWindow(intro);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(K "\\twelfth.log"))
        << "no LOG from a twelfth value";
    // clang-format off
    ExpectLines(K "\\журнал.log", {
        "start: arguments 'utf16le.ini,Шоу'; settings from profile " K "\\utf16le.ini, section [Шоу]",
        "profile read as UTF-16 little-endian",
        "first program started: process id ", "command line '" SHOW "\\пуск.exe 1', folder '" SHOW "'",
        "second program started: process id ", "command line '" KANJI "\\пуск.exe 2', folder '" KANJI "'",
        "start: arguments 'utf8.ini,Шоу'", "profile read as UTF-8", "TIMEOUT1 ran out with a window 'Заставка' still there"});
    // clang-format on
    EndStandIns();
    CheckLog();
}

// During DELAY1 a visitor presses Alt+F4 on the backdrop, clicks it from a window of their own
// over a corner, and closes that window; a hidden TITLE1 window outlives the first program.
TEST(LaunchRun, VisitorAndTitleWindow) {
    PrepareRuns();
    bool clickKept = false, hung = true, border = false;
    COLORREF uncovered = CLR_INVALID;
    RECT afterChange = {};
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    auto visit = [&](HANDLE) {
        SleepServicing(1000);
        HWND backdrop = FindWindowW(kBackdropClassName, NULL);
        border = (GetWindowLongA(backdrop, GWL_STYLE) & WS_BORDER) != 0;
        // The test display cannot change its modes: a display change is announced instead.
        SetWindowPos(backdrop, NULL, 10, 10, 30, 30, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(backdrop, WM_DISPLAYCHANGE, 32, MAKELPARAM(cx, cy));
        GetWindowRect(backdrop, &afterChange);
        HWND titled =
            CreateWindowExA(0, "STATIC", "Intro Player", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
        SetForegroundWindow(backdrop);
        keybd_event(VK_MENU, 0, 0, 0);
        keybd_event(VK_F4, 0, 0, 0);
        keybd_event(VK_F4, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        SleepServicing(500);
        HWND own = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, cx - 200,
                                   cy - 200, 200, 200, NULL, NULL, NULL, NULL);
        SetForegroundWindow(own);
        SetCursorPos(cx / 2, cy / 2);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        SleepServicing(1000);
        clickKept = GetForegroundWindow() == own;
        DestroyWindow(own);
        SleepServicing(1000);
        uncovered = GetPixel(GetDC(NULL), cx - 2, cy - 2);
        SleepServicing(3000);
        hung = IsHungAppWindow(backdrop); // no message taken for 5 s would make it so
        SleepServicing(3000);
        DestroyWindow(titled);
    };
    RunRow({"visitor", S "1," S "2," K "\\one," K "\\two,7000,500,1,0,128,0,intro PLAYER", "",
            K "\\one", K "\\two", "1|008000", 7000, 1800, 0},
           visit);
    EXPECT_TRUE(clickKept) << "the click left the visitor's window active";
    EXPECT_FALSE(hung) << "the backdrop still answers after more than 5 s";
    EXPECT_EQ(RGB(0, 128, 0), uncovered) << "the corner the visitor's window left, repainted";
    EXPECT_TRUE(border) << "the backdrop's thin border";
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), afterChange.right - afterChange.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), afterChange.bottom - afterChange.top);
}

// The backdrop's colour shows before a 48-megapixel picture has been read, the first program
// waits no longer for it, and the picture shows in the end; one over 64 megapixels is refused.
TEST(LaunchRun, LargePicture) {
    PrepareRuns();
    DWORD colourAt = 0, pictureAt = 0;
    const char *either = "1 1|~z ~z ~z|~z ~z ~z"; // colour or picture, as the timing has it
    RunRow({"48-megapixel picture", "run.ini,Large", "", K "\\one", K "\\two", either, 100, 0, 0},
           [&](HANDLE launcher) {
               HDC screen = GetDC(NULL);
               int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
               while (pictureAt == 0 && WaitForSingleObject(launcher, 10) == WAIT_TIMEOUT) {
                   COLORREF seen = GetPixel(screen, x, y);
                   colourAt = colourAt == 0 && seen == RGB(0, 0, 128) ? GetTickCount() : colourAt;
                   bool red = GetRValue(seen) > 200 && GetGValue(seen) < 50; // as JPEG keeps it
                   pictureAt = red ? GetTickCount() : 0;
               }
           });
    EXPECT_NE(0u, colourAt) << "the backdrop's colour before the picture";
    EXPECT_GT(pictureAt, Starts()[1].first) << "the first program started while it was read";
    RunRow({"over 64 megapixels: the colour alone", "run.ini,Huge", "", K "\\one", K "\\two",
            "1|800000", 50, 2500, 0});
    ExpectLines(K "\\large.log",
                {"picture 'large.jpg' read and shown", "start: arguments 'run.ini,Huge'",
                 "picture 'huge.jpg' of 8200 x 8000 pixels is too large"});
}

// Waits up to 15 s until the stand-in tagged tag has started count times.
void AwaitStarts(size_t count, int tag = 2) {
    for (int i = 0; i < 300 && Starts()[tag].ticks.size() < count; i++)
        Sleep(50);
}

// The launcher's open handles, from the system's handle list: Wine has no GetProcessHandleCount.
DWORD HandleCount(DWORD launcherId) {
    // clang-format off
    struct Handle { ULONG processId; BYTE type, flags; USHORT value; void *object; ACCESS_MASK access; };
    // clang-format on
    auto query = (LONG(WINAPI *)(int, void *, ULONG, ULONG *))(void *)GetProcAddress(
        GetModuleHandleA("ntdll"), "NtQuerySystemInformation");
    std::vector<char> buffer(1 << 22);
    query(16, buffer.data(), (ULONG)buffer.size(), NULL);
    const Handle *handles = (const Handle *)(buffer.data() + sizeof(void *));
    return (DWORD)std::count_if(handles, handles + *(ULONG *)buffer.data(),
                                [&](const Handle &h) { return h.processId == launcherId; });
}

// Ends the session as Windows would: asked, the backdrop agrees; told, the launcher ends.
void EndSession(bool *agreed) {
    HWND backdrop = FindWindowW(kBackdropClassName, NULL);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(backdrop, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 2000, &answer);
    *agreed = answer == TRUE;
    SendMessageTimeoutA(backdrop, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 2000, &answer);
}

// RESTART2: the second program started again whenever it ends, the backdrop up in between.
TEST(LaunchRun, KeptSecondProgram) {
    PrepareRuns();
    COLORREF between = CLR_INVALID;
    RunRow({"kept: quick ends double the wait, QUIT2 ends the show", "run.ini,Kept", "", K "\\one",
            K "\\two", "1|800000", 50, 0, 0},
           [&](HANDLE) {
               AwaitStarts(1);
               SleepServicing(200);
               between = GetPixel(GetDC(NULL), GetSystemMetrics(SM_CXSCREEN) / 2, 10);
           });
    std::vector<DWORD> ticks = Starts()[2].ticks;
    ASSERT_EQ(3u, ticks.size()) << "started until it ended with QUIT2, then no more";
    EXPECT_GE(ticks[2] - ticks[1], ticks[1] - ticks[0] + 100) << "the wait doubles"; // +300 ms
    EXPECT_EQ(RGB(0, 0, 128), between) << "the backdrop between two runs";
    EXPECT_EQ(NULL, FindWindowW(kBackdropClassName, NULL)) << "gone with the show";

    bool agreed = false;
    std::vector<DWORD> ended;
    DWORD statuses[2] = {1, 1};
    RunRow({"kept: a crash is restarted, one keeper per show", "run.ini,Crashing", "", K "\\one",
            K "\\two", "1|000000", 50, 0, 0},
           [&](HANDLE) {
               AwaitStarts(2);
               for (const char *show : {"RUN.INI, crashing ", "run.ini,Other"}) {
                   PROCESS_INFORMATION other = StartLauncher(show);
                   DWORD start = GetTickCount();
                   WaitForSingleObject(other.hProcess, 10000);
                   ended.push_back(GetTickCount() - start);
                   GetExitCodeProcess(other.hProcess, &statuses[ended.size() - 1]);
               }
               EndSession(&agreed);
           });
    EXPECT_TRUE(agreed) << "the backdrop lets the session end";
    EXPECT_EQ(0u, statuses[0] | statuses[1]) << "the second keeper and the other show end with 0";
    EXPECT_LT(ended[0], 3000u) << "a second keeper of the show ends at once";
    EXPECT_EQ(1, LinesWith(K "\\other.log", "exit code 5 is QUIT2")) << "another show runs";
    EndStandIns(); // a crashed program's last restart may still write its start line
    ExpectLines(K "\\kept.log",
                {"error mode 3: ", "exit code 1 after ", "again in 300 ms", "exit code 2 after ",
                 "again in 600 ms", "exit code 3 is QUIT2: the show is over", "backdrop removed",
                 "error mode 3: ", "exit code 3221225477 after ", "again in 1 ms",
                 "this show is already kept by another launcher"});

    DWORD afterFirst = 0, afterTenth = 0;
    size_t asked = 0, held = 0, resumed = 0;
    RunRow({"kept: ten restarts, then the session ends", "run.ini,Often", "", K "\\one", K "\\two",
            "1|000000", 50, 0, 0},
           [&](HANDLE launcher) {
               AwaitStarts(1);
               SleepServicing(200);
               afterFirst = HandleCount(GetProcessId(launcher));
               AwaitStarts(11);
               SleepServicing(200);
               afterTenth = HandleCount(GetProcessId(launcher));
               HWND backdrop = FindWindowW(kBackdropClassName, NULL);
               SendMessageTimeoutA(backdrop, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 2000, NULL);
               asked = Starts()[2].ticks.size();
               SleepServicing(3000); // the program ends at once, its wait is 1024 ms
               held = Starts()[2].ticks.size();
               SendMessageTimeoutA(backdrop, WM_ENDSESSION, FALSE, 0, SMTO_BLOCK, 2000, NULL);
               AwaitStarts(held + 1);
               resumed = Starts()[2].ticks.size();
               EndSession(&agreed);
           });
    SleepServicing(1500);
    EXPECT_EQ(asked, held) << "nothing started while Windows decides whether the session ends";
    EXPECT_GT(resumed, held) << "the keeping resumes when the session goes on";
    EXPECT_EQ(resumed, Starts()[2].ticks.size()) << "nothing started once the session ends";
    // Wine's WaitForInputIdle keeps a handle to the program's idle event per call, one per
    // restart here (DELAY2=0); the two of each ended run must not come on top.
    EXPECT_LE(afterTenth, afterFirst + 10) << "handles of ended runs released";
}

// daily.ini: keys, and DAILY2 inSeconds from now.
void WriteDailyProfile(const std::string &keys, int inSeconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    int soon = ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond + inSeconds) % 86400;
    char daily[16];
    sprintf(daily, "%02d:%02d:%02d", soon / 3600, soon / 60 % 60, soon % 60);
    std::ofstream(K "\\daily.ini") << keys << "DAILY2=" << daily << "\n";
}

// A stand-in with a window: the pointer is wherever it was.
#define WINDOWED "1 ~z|000000 000000 000000|000000 000000 000000"

// The daily fresh start closes a kept program that responds (and is never taken for hung), its
// exit code 0 being no QUIT2; a full log is renamed and begun anew while a viewer holds it open.
TEST(LaunchRun, KeptForMonths) {
    PrepareRuns();
    bool agreed = false;
    WriteDailyProfile("[Daily]\nEXE2=" S "2 9000 window\nWDIR2=" K "\\two\nDELAY2=0\nRESTART2=300\n"
                      "QUIT2=0\nHUNG2=1000\nLOG=keeper.log\n",
                      3);
    RunRow({"kept: renewed once a day", "daily.ini,Daily", "", "", K "\\two", WINDOWED, 0, 0, 0},
           [&](HANDLE) {
               AwaitStarts(2);
               SleepServicing(1500);
               EndSession(&agreed);
           });
    EXPECT_EQ(2u, Starts()[2].ticks.size()) << "renewed once, and the show went on";
    ExpectLines(K "\\keeper.log",
                {"DAILY2 ", "exit code 0 after ", "again in 300 ms", "the Windows session ends"});
    EXPECT_EQ(0, LinesWith(K "\\keeper.log", "not responding")) << "a responsive one is kept";

    FILE *file = fopen(K "\\big.log", "wb");
    for (int line = 0; line < 16384; line++)
        fprintf(file, "%063d\n", line);
    fclose(file);
    HANDLE viewer = CreateFileA(K "\\big.log", GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, 0, NULL);
    RunRow({"a full log", "run.ini,Rolled", "", "", "", "", 0, 0, 0});
    CloseHandle(viewer);
    WIN32_FILE_ATTRIBUTE_DATA old = {}, begun = {};
    GetFileAttributesExA(K "\\big.log.old", GetFileExInfoStandard, &old);
    GetFileAttributesExA(K "\\big.log", GetFileExInfoStandard, &begun);
    EXPECT_EQ(1u << 20, old.nFileSizeLow) << "renamed whole";
    EXPECT_EQ(1, LinesWith(K "\\big.log", "start: arguments 'run.ini,Rolled'")) << "begun anew";
    EXPECT_LT(begun.nFileSizeLow, 4096u);
}

// The second program's first start shows above the backdrop after its pause, every time.
TEST(LaunchRun, FirstStartAboveBackdrop) {
    PrepareRuns();
    DeleteFileA(K "\\keys.log");
    SetEnvironmentVariableA("STANDIN_KEYS", K "\\keys.log");
    for (int run = 0; run < 20; run++)
        RunRow({"first start", "run.ini,Above", "", K "\\one", K "\\two", "1 ~z|~z ~z ~z|~z ~z ~z",
                50, 0, 0});
    SetEnvironmentVariableA("STANDIN_KEYS", NULL);
    EXPECT_EQ(20, LinesWith(K "\\keys.log", "2 |1")) << "of 20 first starts above the backdrop";
}

// Shift pressed and let go, as a visitor's touch: Wine counts it as input from another process.
void TouchKey() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof *keys);
}

// An attract loop (its start over with IDLE2 among the keys together): no start over while
// someone touches the kept program, the intro skipped at a touch with SKIP1; stubs that hand over
// to a child (TREE1, TREE2) count until it ends.
TEST(LaunchRun, ShowComesRound) {
    PrepareRuns();
    bool agreed = false;
    RunRow({"idle: touched now and then", "run.ini,Idle", "", K "\\one", K "\\two", WINDOWED, 50, 0,
            0},
           [&](HANDLE) {
               AwaitStarts(1);
               for (int touch = 0; touch < 10; touch++, SleepServicing(500))
                   TouchKey();
               EndSession(&agreed);
           });
    EXPECT_EQ(1u, Starts()[1].ticks.size() * Starts()[2].ticks.size()) << "nothing started over";

    HWND titled = CreateWindowExA(0, "STATIC", "Intro Player", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
    SetEnvironmentVariableA("STANDIN_KEYS", K "\\touch.log"); // Wine takes a pointer move for input
    DWORD touched = 0, seen = 0;
    auto touch = [&](HANDLE) {
        AwaitStarts(1, 1);
        SleepServicing(1000);
        touched = GetTickCount();
        TouchKey();
        AwaitStarts(1);
        seen = GetTickCount();
    };
    RunRow({"skip: a key ends the intro", "run.ini,Skip", "", K "\\one", K "\\two", WINDOWED, 50,
            900, 0},
           touch);
    DestroyWindow(titled);
    EXPECT_LT(seen - touched, 1500u) << "at once, the title window still up";
    RunRow({"no skip: the key changes nothing", "run.ini,NoSkip", "", K "\\one", K "\\two",
            WINDOWED, 50, 2800, 0},
           touch);
    SetEnvironmentVariableA("STANDIN_KEYS", NULL);

    RunRow({"tree: a stub's child counts", "run.ini,Tree", "", K "\\one", K "\\two", WINDOWED, 50,
            1800, 0},
           [&](HANDLE) {
               AwaitStarts(2, 4);
               EndSession(&agreed);
           });
    auto starts = Starts();
    ASSERT_EQ(2u, starts[2].ticks.size());
    ASSERT_EQ(2u, starts[4].ticks.size()) << "each start of the stub started its child";
    EXPECT_GE(starts[2].ticks[1] - starts[4].ticks[0], 1500u) << "again after the child ended";
    RunRow({"tree: a child started outside the job", "run.ini,Breakaway", "", K "\\one", K "\\two",
            WINDOWED, 50, 0, 0});
    EXPECT_EQ(1u, Starts()[3].ticks.size()) << "the child may leave the job";
    EXPECT_LT(Starts()[2].first - Starts()[1].first, 1500u) << "and is not waited for";
    EndStandIns();
    ExpectLines(K "\\round.log",
                {"input during the first program: SKIP1 ends it", "second program started",
                 "first program put in a job of its own",
                 "first program ended, and every program it started: exit code 0",
                 "second program put in a job of its own",
                 "second program's window brought to the foreground: it has the keyboard",
                 "starting the second program again in 300 ms"});
    EXPECT_EQ(0, LinesWith(K "\\round.log", "no input for IDLE2")) << "touched, kept";
}

// Keys that meet in a kept show, a row each, named by the fault it catches: the visitor waits
// for the starts of a tag, gives the show up to waitMs to end by itself, then ends the session.
struct PairRow {
    const char *fault, *section;
    int tag;
    size_t starts; // awaited, and as many at the end
    DWORD waitMs;
    std::vector<std::string> events; // in pairs.log, in order
    int closed;                      // first programs asked to close that closed
};
// clang-format off
const PairRow kPairs[] = {
    {"TREE2 with QUIT2: the code of the tree's last process counts", "TreeQuit", 4, 1, 5000,
     {"exit code 7 (of the last to end)", "exit code 7 is QUIT2"}, 0},
    {"IDLE2 with TIMEOUT1: the intro left running is closed before the next", "IdleTimeout", 1, 2, 0,
     {"TIMEOUT1 of 900 ms ran out", "no input for IDLE2", "the first program still runs from the last round",
      "first program started"}, 1},
    {"IDLE2 with relative folders and waits: each round from the start folder", "IdleRelative", 1, 2, 0,
     {"WAIT1: " K "\\one is there", "WAIT2: " K "\\two is there", "no input for IDLE2",
      "WAIT1: " K "\\one is there", "command line '" S "1', folder '" K "\\one'"}, 0},
    {"HUNG2 with a hidden window, as Windows hides a hung one", "HiddenHung", 2, 2, 0,
     {"second program not responding for ", "starting the second program again in 300 ms"}, 0}};
// clang-format on

// Waits up to 10 s for text in the log.
void AwaitLine(const char *log, const char *text) {
    for (int i = 0; i < 200 && LinesWith(log, text) == 0; i++)
        Sleep(50);
}

// Every key holds at every stage and with the others: a kept program that fails its first
// start, the session's question during the first program, the title wait's pace, DAILY2 passing
// during a restart wait, a keeper out of reach, and the pairs above.
TEST(LaunchRun, KeysTogether) {
    PrepareRuns();
    const char *log = K "\\pairs.log";
    DeleteFileA(log);
    DeleteFileA(K "\\late.exe");
    RunRow({"RESTART2: a failed first start tried again", "run.ini,Late",
            "Alert: Unable to execute file : " K "\\late.exe 2 0 3 \n Current Directory : " K
            "\\two\n",
            K "\\one", K "\\two", "1|000000", 50, 0, 0},
           [&](HANDLE) {
               AwaitLine(log, "starting the second program again in 2000 ms");
               CopyFileA(K "\\s.exe", K "\\late.exe", FALSE);
           });

    size_t held = 1;
    RunRow({"the session's question during the first program", "run.ini,Asked", "", K "\\one", "",
            "1|000000", 50, 0, 0},
           [&](HANDLE) {
               AwaitStarts(1, 1);
               HWND backdrop = FindWindowW(kBackdropClassName, NULL);
               SendMessageTimeoutA(backdrop, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 2000, NULL);
               SleepServicing(2500); // the first program ends after 1 s
               held = Starts()[2].ticks.size();
               SendMessageTimeoutA(backdrop, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 2000, NULL);
           });
    EXPECT_EQ(0u, held) << "nothing started while Windows decides";

    DWORD destroyed = 0, seen = 0;
    RunRow({"the title wait looks every half second", "run.ini,SlowTitle", "", K "\\one", K "\\two",
            "1|000000", 50, 0, 0},
           [&](HANDLE) {
               HWND titled =
                   CreateWindowExA(0, "STATIC", "Slow Title", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
               AwaitStarts(1, 1);
               SleepServicing(2000); // past the first look, before a 5 s pace would look again
               DestroyWindow(titled);
               destroyed = GetTickCount();
               AwaitStarts(1);
               seen = GetTickCount();
           });
    EXPECT_LT(seen - destroyed, 2500u) << "the second program after the title window went";

    WriteDailyProfile("[DailyWait]\nEXE2=" S "2 5000\nWDIR2=" K "\\two\nDELAY2=0\nRESTART2=4000\n"
                      "LOG=pairs.log\n",
                      7); // the time comes during the restart wait
    bool agreed = false;
    RunRow({"DAILY2 passing during a restart wait", "daily.ini,DailyWait", "", "", K "\\two",
            "1|000000", 0, 0, 0},
           [&](HANDLE) {
               AwaitStarts(2);
               SleepServicing(2500); // past the new program's first looks
               EndSession(&agreed);
           });
    EXPECT_EQ(0, LinesWith(log, "DAILY2 ")) << "a program started after the day's time renewed";

    // An elevated keeper's mutex is out of a standard user's reach, as one with an empty DACL.
    char name[64];
    FormatKeeperName("C:\\kt\\run.ini", "Late", name, sizeof name);
    SECURITY_DESCRIPTOR descriptor;
    ACL acl;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, FALSE};
    HANDLE mutex = CreateMutexA(&attributes, TRUE, name);
    RunRow({"a keeper out of reach", "run.ini,Late", "", "", "", "", 0, 0, 0});
    CloseHandle(mutex);
    EXPECT_EQ(1, LinesWith(log, "already kept by another launcher (one this user may not"));

    SetEnvironmentVariableA("STANDIN_KEYS", K "\\pairs.keys");
    for (const PairRow &row : kPairs) {
        DeleteFileA(log);
        DeleteFileA(K "\\pairs.keys");
        std::string arguments = std::string("run.ini,") + row.section;
        RunRow({row.fault, arguments.c_str(), "", K "\\one", K "\\two", WINDOWED, 50, 0, 0},
               [&](HANDLE launcher) {
                   AwaitStarts(row.starts, row.tag);
                   WaitForSingleObject(launcher, row.waitMs);
                   EndSession(&agreed);
               });
        auto starts = Starts();
        EXPECT_EQ(row.starts, starts[row.tag].ticks.size()) << row.fault;
        if (row.tag == 1 && starts[1].ticks.size() == 2) { // the intro again after IDLE2
            EXPECT_GE(starts[1].ticks[1] - starts[2].ticks[0], 2000u) << row.fault;
            EXPECT_LT(starts[1].ticks[1] - starts[2].ticks[0], 4000u) << row.fault;
        }
        ExpectLines(log, row.events);
        EXPECT_EQ(row.closed, LinesWith(K "\\pairs.keys", "1 closed")) << row.fault;
        EndStandIns();
    }
    SetEnvironmentVariableA("STANDIN_KEYS", NULL);
}

// Where the stand-in's window (300 x 150) belongs: on monitor 2 (the primary where there is
// one monitor) or the primary, centred in its work area or over it whole.
RECT WantedPlace(bool second, bool full) {
    POINT beyond = {GetSystemMetrics(SM_CXSCREEN) + 1, 0}, origin = {0, 0};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(second ? beyond : origin, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT work = monitor.rcWork, centred;
    SetRect(&centred, (work.left + work.right - 300) / 2, (work.top + work.bottom - 150) / 2,
            (work.left + work.right + 300) / 2, (work.top + work.bottom + 150) / 2);
    return full ? monitor.rcMonitor : centred;
}

// Within 3 s, the stand-in's window where it belongs and not minimised.
bool AwaitPlace(const RECT &wanted, HWND *window) {
    RECT seen = {};
    for (int i = 0; i < 60; i++, Sleep(50)) {
        *window = FindWindowA("StandinKeys", NULL);
        if (GetWindowRect(*window, &seen) && EqualRect(&seen, &wanted) && !IsIconic(*window))
            return true;
    }
    printf("window at %ld,%ld to %ld,%ld\n", seen.left, seen.top, seen.right, seen.bottom);
    return false;
}

// Within 3 s, every stand-in taskbar hidden (or shown).
bool AwaitTaskbars(const HWND *bars, bool shown) {
    for (int i = 0; i < 60; i++, SleepServicing(50))
        if (IsWindowVisible(bars[0]) == shown && IsWindowVisible(bars[1]) == shown)
            return true;
    return false;
}

struct PlaceRow {
    const char *fault, *section;
    int tag;                         // the stand-in whose window it is; 1: the first program's
    bool second, full, taskbar;      // wanted on monitor 2, over it whole; the taskbar hidden
    std::vector<std::string> events; // in screens.log, in order
};
// clang-format off
const PlaceRow kPlaces[] = {
    {"MONITOR1 with TASKBAR 0: the intro centred on monitor 2, the taskbar hidden for the run", "OnSecond",
     1, true, false, true, {"monitor 1: ", "TASKBAR 0: the taskbar is hidden", "first program's window put on its monitor",
     "the taskbar shown again"}},
    {"FULLSCREEN1: the intro over the monitor it is on, without frame", "FullFirst", 1, false, true, false,
     {"first program's window made full screen"}},
    {"FULLSCREEN2, MONITOR2, TASKBAR 0, RESTART2: moved or minimised, put back", "Full", 2, true, true, true,
     {"HOURS '8-18' does not read as hours", "second program's window made full screen",
      "had left its place: put back", "had left its place: put back", "second program's window made full screen",
      "the taskbar showed again: hidden",
      "the taskbar shown again"}},
    {"FULLSCREEN2 with TREE2 and HUNG2: the window of a stub's child", "FullTree", 4, false, true, false,
     {"second program put in a job of its own", "second program's window made full screen",
      "had left its place: put back"}}};
// clang-format on

// The screens belong to the show: each program's window on its monitor and kept full screen,
// no taskbar, a kept program that shows one colour for BLANK2 started again, but not while the
// displays are off for HOURS.
TEST(LaunchRun, ScreensForTheShow) {
    PrepareRuns();
    const char *log = K "\\screens.log";
    HWND bars[2];
    int barClass = 0;
    for (const char *name : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd"}) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = name;
        RegisterClassA(&windowClass);
        bars[barClass++] = CreateWindowExA(WS_EX_TOOLWINDOW, name, "", WS_POPUP | WS_VISIBLE, 0,
                                           560, 200, 30, NULL, NULL, NULL, NULL);
    }
    bool agreed = false;
    for (const PlaceRow &row : kPlaces) {
        DeleteFileA(log);
        bool placed = false, frameless = true, movedBack = true, restored = true;
        bool hidden = false, hiddenAgain = true, restarted = true;
        RECT wanted = WantedPlace(row.second, row.full);
        std::string arguments = std::string("run.ini,") + row.section;
        RunRow({row.fault, arguments.c_str(), "", K "\\one", K "\\two", "1 ~z|~z ~z ~z|~z ~z ~z",
                50, 0, 0},
               [&](HANDLE) {
                   AwaitStarts(1, row.tag);
                   HWND window = NULL;
                   placed = AwaitPlace(wanted, &window);
                   hidden = AwaitTaskbars(bars, false);
                   if (row.full) {
                       LONG style = GetWindowLongA(window, GWL_STYLE);
                       frameless = (style & (WS_CAPTION | WS_THICKFRAME)) == 0;
                       SetWindowPos(window, NULL, 10, 10, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
                       movedBack = AwaitPlace(wanted, &window);
                       ShowWindow(window, SW_MINIMIZE);
                       restored = AwaitPlace(wanted, &window);
                   }
                   if (row.tag == 2) { // a restart's new window, placed afresh
                       PostMessageA(window, WM_CLOSE, 0, 0);
                       AwaitStarts(2);
                       restarted = AwaitPlace(wanted, &window);
                       ShowWindow(bars[0], SW_SHOWNA);
                       SleepServicing(100);
                       hiddenAgain = AwaitTaskbars(bars, false);
                   }
                   if (row.tag != 1) // a kept show
                       EndSession(&agreed);
               });
        EXPECT_TRUE(placed) << row.fault;
        EXPECT_TRUE(frameless && movedBack && restored)
            << row.fault << ": frameless " << frameless << ", moved back " << movedBack
            << ", restored " << restored;
        EXPECT_EQ(row.taskbar, hidden) << row.fault << ": the taskbars hidden";
        EXPECT_TRUE(hiddenAgain) << row.fault << ": a taskbar shown again, hidden again";
        EXPECT_TRUE(restarted) << row.fault << ": the restarted program's window";
        EXPECT_TRUE(AwaitTaskbars(bars, true)) << row.fault << ": the taskbars shown at the end";
        ExpectLines(log, row.events);
        EndStandIns();
    }
    for (HWND bar : bars)
        DestroyWindow(bar);

    // clang-format off
    const struct { const char *fault, *section; size_t starts; const char *event; } blanks[] = {
        {"BLANK2: one colour, ended and started again", "Blank", 2, "second program showed one colour for "},
        {"BLANK2: a pattern is no blank", "Pattern", 1, "second program started"},
        {"BLANK2 with HOURS: no look while the displays are off", "BlankDark", 1, "outside HOURS "}};
    // clang-format on
    for (const auto &row : blanks) {
        DeleteFileA(log);
        std::string arguments = std::string("run.ini,") + row.section;
        RunRow({row.fault, arguments.c_str(), "", K "\\one", K "\\two", WINDOWED, 50, 0, 0},
               [&](HANDLE) {
                   AwaitStarts(row.starts);
                   if (row.starts == 1)
                       SleepServicing(3500); // past BLANK2 and the looks around it
                   EndSession(&agreed);
               });
        EXPECT_EQ(row.starts, Starts()[2].ticks.size()) << row.fault;
        EXPECT_EQ(1, LinesWith(log, row.event)) << row.fault;
        EXPECT_EQ(row.starts - 1, (size_t)LinesWith(log, "one colour")) << row.fault;
        EndStandIns();
    }
}

// The status file as key and value.
std::map<std::string, std::string> ReadStatus(const char *file) {
    std::ifstream in(file, std::ios::binary);
    std::map<std::string, std::string> status;
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ('\r', line.back()) << file << ": " << line;
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            status[line.substr(0, equals)] = line.substr(equals + 1, line.size() - equals - 2);
    }
    return status;
}

// A loopback listener on port, or on a free one (0) whose number goes to port.
SOCKET Listen(unsigned short *port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(*port);
    int size = sizeof address;
    EXPECT_EQ(0, bind(listener, (sockaddr *)&address, size));
    getsockname(listener, (sockaddr *)&address, &size);
    *port = ntohs(address.sin_port);
    listen(listener, 4);
    return listener;
}

// Starts that wait for their world, at every start: a folder made during the first program's
// wait; a port opened during the second's, which its restart after a crash waits for again; a
// limit that runs out; the exit key during a wait without limit. The status file all along,
// rewritten while nothing happens, and the profile's unknown key named.
TEST(LaunchRun, WorldAndFleet) {
    PrepareRuns();
    const char *log = K "\\world.log", *status = K "\\world.status";
    unsigned short port = 0;
    closesocket(Listen(&port));
    std::string keys =
        "EXE1=" S "1\nWDIR1=" K "\\one\nWDIR2=" K "\\two\nDELAY1=50\nLOG=world.log\n";
    std::string profile =
        "[World]\n" + keys + "WAIT1=later\nEXE2=" S "2 60000 window\nDELAY2=0\n" +
        "WAIT2=tcp:127.0.0.1:" + std::to_string(port) +
        "\nRESTART2=300\nSTATUS=world.status\nEVENTLOG=1\nRESTRAT2=300\n; note\n" + "[Limit]\n" +
        keys + "WAIT1=" K "\\never\nWAITLIMIT=1000\nSTATUS=C:\\no\\such.txt\n" + "[Forever]\n" +
        keys + "WAIT1=" K "\\never\nSTATUS=world.status\n";
    std::ofstream(K "\\world.ini") << profile;
    RemoveDirectoryA(K "\\later");
    DeleteFileA(log);
    DeleteFileA(status);
    std::map<std::string, std::string> seen[3];
    DWORD made = 0, opened = 0, launcherId = 0;
    bool agreed = false;
    RunRow({"WAIT1 for a folder, WAIT2 for a port, again at a restart", "world.ini,World", "",
            K "\\one", K "\\two", WINDOWED, 1500, 1500, 0},
           [&](HANDLE launcher) {
               launcherId = GetProcessId(launcher);
               SleepServicing(1500);
               seen[0] = ReadStatus(status);
               CreateDirectoryA(K "\\later", NULL);
               made = GetTickCount();
               AwaitStarts(1, 1);
               SleepServicing(1500);
               seen[1] = ReadStatus(status);
               SOCKET listener = Listen(&port);
               opened = GetTickCount();
               AwaitStarts(1);
               SleepServicing(500);
               // A crash of the kept program: its restart waits for the port again.
               DWORD first = std::stoul("0" + ReadStatus(status)["second_pid"]);
               TerminateProcess(OpenProcess(PROCESS_TERMINATE, FALSE, first), 9);
               AwaitStarts(2);
               SleepServicing(500);
               seen[2] = ReadStatus(status);
               EXPECT_NE(std::to_string(first), seen[2]["second_pid"]) << "a new process";
               closesocket(listener);
               EndSession(&agreed);
           });
    auto starts = Starts();
    printf("reaction: the folder made to the first start %lu ms (DELAY1 50 ms), the port opened "
           "to the second start %lu ms\n",
           starts[1].first - made, starts[2].first - opened);
    EXPECT_LT(made, starts[1].first) << "the first program waited for the folder";
    EXPECT_LT(opened, starts[2].first) << "the second program waited for the port";
    // clang-format off
    const std::map<std::string, std::string> wanted[3] = {
        {{"stage", "wait1"}, {"first_pid", ""}, {"starts", "0"}, {"launcher_pid", std::to_string(launcherId)}},
        {{"stage", "wait2"}, {"starts", "1"}, {"second_pid", ""}},
        {{"stage", "kept"}, {"starts", "3"}, {"restarts", "1"}, {"alerts", "0"}, {"hungs_ended", "0"}}};
    // clang-format on
    for (int i = 0; i < 3; i++)
        for (const auto &field : wanted[i])
            EXPECT_EQ(field.second, seen[i][field.first]) << "status " << i << ": " << field.first;
    EXPECT_NE("", seen[1]["first_pid"]);
    std::map<std::string, std::string> ended = ReadStatus(status);
    EXPECT_EQ("ended", ended["stage"]);
    EXPECT_EQ(" end", ended["last_event"].substr(23)) << ended["last_event"];
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(K "\\world.status.tmp"));
    const std::string tcp = "WAIT2: tcp:127.0.0.1:" + std::to_string(port) + " is there after ";
    ExpectLines(log, {"unknown key 'RESTRAT2' in [World]: ignored",
                      "WAIT1: waiting for " K "\\later", "WAIT1: " K "\\later is there after ",
                      "first program started", "WAIT2: waiting for tcp:127.0.0.1:", tcp,
                      "second program started", "second program ended",
                      "starting the second program again", tcp, "second program started", "end"});
    EXPECT_EQ(1, LinesWith(log, "unknown key")) << "the comment is no key";
    EndStandIns();

    DeleteFileA(log);
    RunRow({"WAITLIMIT runs out: the first program starts anyway", "world.ini,Limit", "", K "\\one",
            "", "1|000000", 1000, 0, 0});
    ExpectLines(log, {"WAIT1: waiting for " K "\\never", "WAIT1: WAITLIMIT ran out after ",
                      "first program started"});
    EXPECT_EQ(1, LinesWith(log, "STATUS C:\\no\\such.txt could not be written: error 3"))
        << "told once, and the show goes on";

    // The exit key during a wait that has no limit: nothing starts; the status file stays fresh.
    DeleteFileA(log);
    DWORD pressed = GetTickCount();
    SYSTEMTIME now = {};
    RunRow({"the exit key during WAIT1", "world.ini,Forever", "", "", "", "", 0, 0, 0},
           [&](HANDLE) {
               SleepServicing(11000);
               GetLocalTime(&now);
               seen[0] = ReadStatus(status);
               PostMessageA(FindWindowW(kBackdropClassName, NULL), WM_HOTKEY, 1, 0);
               pressed = GetTickCount();
           });
    EXPECT_LT(GetTickCount() - pressed, 3000u) << "the launcher ends at once";
    EXPECT_EQ("wait1", seen[0]["stage"]);
    std::string time = seen[0]["time"] + "        ";
    int written = ((stoi("0" + time.substr(11, 2)) * 60 + stoi("0" + time.substr(14, 2))) * 60 +
                   stoi("0" + time.substr(17, 2)));
    int age = ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond - written + 86400) % 86400;
    EXPECT_LE(age, 10) << "the status file, written at " << time << ", 11 s into a wait";
    EXPECT_EQ(1, LinesWith(log, "EXITKEY pressed"));
    EXPECT_EQ(0, LinesWith(log, "program started"));
}

// The event log's texts as Event Viewer reads them from the exe's message table once the source
// is registered: every id the launcher reports has one in English, with the event's text and the
// note of those held back after it, and the words of its kind.
TEST(LaunchRun, EventTexts) {
    std::wstring exe = Wide(std::string("Z:") + getenv("KORVANE_EXE"));
    HMODULE module = LoadLibraryExW(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    const char *words[] = {"",
                           "launcher starts",
                           "first program started",
                           "second program started",
                           "first program ended",
                           "second program ended",
                           "show ends",
                           "started again",
                           "stopped responding",
                           "one colour",
                           "renewed",
                           "wait",
                           "does not know",
                           "does not read",
                           "alert"};
    for (DWORD id = 1; id <= std::size(words); id++) {
        const wchar_t *strings[] = {L"<event>", L" (2 more)"};
        wchar_t text[512] = L"";
        DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                      module, id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                      text, 512, (va_list *)strings);
        std::wstring message(text, length);
        if (id == std::size(words)) {
            EXPECT_EQ(0u, length) << "no message beyond the last id";
            continue;
        }
        EXPECT_NE(std::wstring::npos, message.find(Wide(words[id]))) << id << ": " << text;
        EXPECT_NE(std::wstring::npos, message.find(L": <event> (2 more)")) << id << ": " << text;
    }
    FreeLibrary(module);
}

} // namespace
