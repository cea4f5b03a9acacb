#include "launch/alert_text.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct FormatCase {
    const char *name;
    const char *format;
    std::vector<std::string> args;
    size_t outChars;
    std::string expected;
};

TEST(FormatAlertText, Table) {
    const std::string v149(149, 'e');
    const std::string w149(149, 'w');
    const std::string twoValues =
        "Unable to execute file : " + v149 + " \n Current Directory : " + w149;
    const FormatCase cases[] = {
        {"no placeholder", "Insufficient parameters", {}, 256, "Insufficient parameters"},
        {"one", "Unable to Find = %s", {"run.ini"}, 256, "Unable to Find = run.ini"},
        {"line feed kept", "Unable to launch : %s\n", {"a.exe"}, 256, "Unable to launch : a.exe\n"},
        {"two in order",
         "Unable to execute file : %s \n Current Directory : %s",
         {"b.exe", "C:\\x"},
         256,
         "Unable to execute file : b.exe \n Current Directory : C:\\x"},
        {"placeholder in argument shown as it stands",
         "Directory  = %s not Found",
         {"%s%s%n"},
         256,
         "Directory  = %s%s%n not Found"},
        {"missing argument is empty", "a%sb%sc", {"X"}, 256, "aXbc"},
        {"other percent signs kept", "100% %d %", {}, 256, "100% %d %"},
        {"cut at 255",
         "Unable to execute file : %s \n Current Directory : %s",
         {v149, w149},
         256,
         twoValues.substr(0, 255)},
        {"cut inside an argument", "ab%scd", {"XYZ"}, 5, "abXY"},
        {"cut in the format", "abcdef", {}, 4, "abc"},
        {"one char buffer", "abc", {}, 1, ""},
    };
    for (const FormatCase &c : cases) {
        std::vector<const char *> args;
        for (const std::string &a : c.args)
            args.push_back(a.c_str());
        std::string out(c.outChars + 16, '#');
        size_t length = FormatAlertText(&out[0], c.outChars, c.format, args.data(), args.size());
        EXPECT_EQ(c.expected, out.c_str()) << c.name;
        EXPECT_EQ(c.expected.size(), length) << c.name;
        EXPECT_EQ(std::string(16, '#'), out.substr(c.outChars)) << c.name << ": wrote past";
    }
}

} // namespace
