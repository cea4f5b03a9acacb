// The launcher's own reader of UTF-8 profiles against the platform's: every profile of the
// table, saved as UTF-16 little-endian, is read by GetPrivateProfileStringW too, and every
// value asked for must come out the same.
#include "launch/profile_settings.h"
#include "platform/wide_text.h"
#include "text/profile_text.h"
#include "text/launch_settings.h"
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

struct Row {
    const char *name;
    std::string profile;
    std::vector<std::pair<const char *, const char *>> lookups; // section, key
};

// What the platform's reader gives, as the launcher asks it: a value buffer of VALUE_UNITS.
std::string PlatformValue(const wchar_t *file, const char *section, const char *key) {
    wchar_t wideSection[VALUE_UNITS], wideKey[VALUE_UNITS], value[VALUE_UNITS];
    ToWide(section, wideSection, VALUE_UNITS);
    ToWide(key, wideKey, VALUE_UNITS);
    GetPrivateProfileStringW(wideSection, wideKey, L"(default)", value, VALUE_UNITS, file);
    char text[VALUE_CHARS]; // a character cut in two at the end is dropped, as the launcher does
    ToUtf8(value, text, sizeof text);
    return text;
}

TEST(ProfileReading, SameAsThePlatform) {
    const std::string x148(148, 'x'), y160(160, 'y');
    // clang-format off
    const Row rows[] = {
        {"blanks around key and value", "[Main]\n  EXE1 \t=\t  value  with  blanks \t\n", {{"Main", "EXE1"}, {"main", "exe1"}}},
        {"blanks in the section line", "[  Main \t]\nA=1\n", {{"Main", "A"}, {" main ", "A"}, {"  Main \t", "a"}}},
        {"quotes", "[S]\nA=\"quoted\"\nB='single'\nC=\"open\nD=\"\"twice\"\"\nE=\"a\" b\"\nF=\"\nG=\"\"\nH= \" in \" \nI='mixed\"\n",
         {{"S", "A"}, {"S", "B"}, {"S", "C"}, {"S", "D"}, {"S", "E"}, {"S", "F"}, {"S", "G"}, {"S", "H"}, {"S", "I"}}},
        {"duplicate sections", "[S]\nA=1\n[T]\nA=2\n[s]\nA=3\nB=4\n", {{"S", "A"}, {"S", "B"}, {"T", "A"}}},
        {"duplicate keys", "[S]\nA=first\na=second\n", {{"S", "A"}}},
        {"comment-looking lines", "[S]\n;A=commented\nA=real\n# B=hash\n;C\n", {{"S", "A"}, {"S", ";A"}, {"S", "# B"}, {"S", "C"}}},
        {"empty values", "[S]\nA=\nB=   \nC=\"\"\n", {{"S", "A"}, {"S", "B"}, {"S", "C"}}},
        {"key without =", "[S]\nA\nA=after\nB\n", {{"S", "A"}, {"S", "B"}}},
        {"missing section", "[S]\nA=1\n", {{"T", "A"}, {"", "A"}}},
        {"lines before any section", "A=0\nB=0\n[S]\nB=1\n", {{"S", "A"}, {"S", "B"}}},
        {"values cut at 149 units", "[S]\nA=" + y160 + "\nB=" + x148 + "\xf0\x9f\x8e\xac\nC=\"" + y160 + "\"\n",
         {{"S", "A"}, {"S", "B"}, {"S", "C"}}},
        {"sections beyond ASCII", "[Шоу]\nA=1\n[ÄÖ Ÿ]\nA=2\n", {{"Шоу", "A"}, {"ÄÖ Ÿ", "A"}, {"ÄÖ", "A"}}},
        {"line ends", "[S]\rA=1\rB=2\r\n\r\nC=3\n[T]\r\nA=4", {{"S", "A"}, {"S", "B"}, {"S", "C"}, {"T", "A"}}},
        {"odd section lines", "[S] trailing\nA=1\n[U\nB=2\n [V] \nA=3\n", {{"S", "A"}, {"S", "B"}, {"U", "B"}, {"V", "A"}}},
        {"form feed and vertical tab", "[S]\nA=\f\v v \v\f\n\v[T]\f\nA=1\n", {{"S", "A"}, {"T", "A"}}},
        {"odd keys", "[S]\nMY KEY = v\n=none\nA=b=c\n", {{"S", "MY KEY"}, {"S", "A"}}},
    };
    // clang-format on
    const wchar_t *file = L"C:\\profile-reading.ini";
    for (const Row &row : rows) {
        std::wstring wide(row.profile.size() + 2, L'\xFEFF');
        wide.resize(ToWide(row.profile.c_str(), &wide[1], wide.size() - 1) + 1);
        HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(handle, wide.data(), (DWORD)(wide.size() * 2), &written, NULL);
        CloseHandle(handle);
        for (const auto &lookup : row.lookups) {
            char ours[VALUE_CHARS];
            if (!FindProfileValue(row.profile.data(), row.profile.size(), lookup.first,
                                  lookup.second, ours, sizeof ours))
                strcpy(ours, "(default)");
            EXPECT_EQ(PlatformValue(file, lookup.first, lookup.second), ours)
                << row.name << ": [" << lookup.first << "] " << lookup.second;
        }
    }
    DeleteFileW(file);
}

// The keys the launcher does not know are found in a profile of every encoding it reads.
TEST(ProfileReading, UnknownKeysInEveryEncoding) {
    const char *encodings[] = {"ansi", "utf8", "utf8bom", "utf16le", "utf16be"};
    for (const char *encoding : encodings) {
        std::string name = std::string(encoding) == "ansi" ? "Praesentation" : "Шоу";
        std::string key = std::string(encoding) == "ansi" ? "Gr\xf6\xdf"
                                                            "e"
                                                          : "Размер";
        std::string profile = "[Other]\r\nSTRAY=1\r\n[" + name + "]\r\nexe1=a\r\nRESTRAT2=300\r\n" +
                              key + "=2\r\n; a comment\r\nWait1=b\r\n";
        std::string kind = encoding, bytes = kind == "utf8bom" ? "\xef\xbb\xbf" + profile : profile;
        if (kind.compare(0, 5, "utf16") == 0) {
            std::wstring wide(profile.size() + 1, L'\0');
            wide.resize(ToWide(profile.c_str(), &wide[0], wide.size()));
            bytes = kind == "utf16le" ? "\xff\xfe" : "\xfe\xff";
            for (wchar_t unit : wide) {
                char low = (char)(unit & 0xFF), high = (char)(unit >> 8);
                bytes += kind == "utf16le" ? std::string{low, high} : std::string{high, low};
            }
        }
        FILE *f = fopen("C:\\keys.ini", "wb");
        fwrite(bytes.data(), bytes.size(), 1, f);
        fclose(f);
        LaunchSettings settings = {};
        strcpy(settings.values[SLOT_EXE1], "C:\\keys.ini");
        strcpy(settings.values[SLOT_EXE2], name.c_str());
        ASSERT_TRUE(ReadProfileSettings(&settings)) << encoding;
        std::string unknown;
        for (const char *at = settings.keys; *at != '\0'; at += strlen(at) + 1)
            unknown += IsUnknownSettingKey(at) ? std::string(at) + "|" : "";
        std::string expected =
            "RESTRAT2|" + (std::string(encoding) == "ansi" ? "Größe" : key) + "|";
        EXPECT_EQ(expected, unknown) << encoding << ", read as " << settings.encoding;
    }
    DeleteFileA("C:\\keys.ini");
}

} // namespace
