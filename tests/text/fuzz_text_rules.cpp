// Arbitrary bytes as the command line through every text rule; strtol reads a delay alike up to
// the clamp, strtoul a colour until it would overflow; UTF-8 cut anywhere stays whole
// characters, and goes to UTF-16 and back unchanged.
#include "text/alert_text.h"
#include "text/command_line.h"
#include "text/keeping_values.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/profile_text.h"
#include "text/report_text.h"
#include "text/screen_values.h"
#include "text/setting_values.h"
#include "text/text.h"
#include "text/utf.h"
#include "text/wait_target.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

static char16_t wide[8192];
static const char kBlanks[] = " \t\n\v\f\r";

static size_t Utf16Length(const char *text) {
    return Utf8ToUtf16(text, wide, sizeof wide / sizeof *wide);
}

// Whether text is valid UTF-8: exactly then it survives the way to UTF-16 and back.
static bool IsValidUtf8(const char *text) {
    static char back[sizeof wide * 3];
    return strlen(text) < 8192 &&
           Utf16ToUtf8(wide, Utf16Length(text), back, sizeof back) == strlen(text) &&
           strcmp(back, text) == 0;
}

// The values of a kept show: a time read lies within the day and reads back alike; an exit key
// read names a key and known modifiers only; a keeper's name and a log's lock fit their buffers
// and fold A-Z.
static void CheckKeepingValues(const uint8_t *data, const std::string &text, const char *section) {
    uint32_t second, back, modifiers, key;
    if (ParseDailyTime(text.c_str(), &second)) {
        char again[16];
        snprintf(again, sizeof again, "%u:%02u:%02u", second / 3600, second / 60 % 60, second % 60);
        if (second >= 86400 || !ParseDailyTime(again, &back) || back != second)
            abort();
    }
    if (ParseExitKey(text.c_str(), &modifiers, &key) && (key == 0 || key > 0xFF || modifiers > 15))
        abort();
    ParseAwake(text.c_str());
    std::string upper = text.c_str();
    for (char &c : upper)
        c = c >= 'a' && c <= 'z' ? (char)(c - 32) : c;
    char name[64], folded[64];
    std::vector<char> small(1 + data[0] % 40);
    FormatKeeperName(text.c_str(), section, name, sizeof name);
    FormatKeeperName(upper.c_str(), section, folded, sizeof folded);
    FormatLogLockName(text.c_str(), small.data(), small.size());
    if (strcmp(name, folded) != 0 || strlen(name) != 37 || strlen(small.data()) >= small.size())
        abort();
}

// The show's hours: a plan read holds days of the week and minutes of the day only, and may be
// asked about any time; a rectangle's text fits its buffer, whatever the numbers.
static void CheckScreenValues(const uint8_t *data, const std::string &text) {
    HoursPlan plan;
    if (ParseHours(text.c_str(), &plan)) {
        if (plan.count == 0 || plan.count > MAX_HOURS_RANGES)
            abort();
        for (size_t i = 0; i < plan.count; i++) {
            const HoursRange &range = plan.ranges[i];
            if (range.days == 0 || range.days > 0x7F || range.start >= 1440 || range.end > 1440)
                abort();
        }
        IsWithinHours(&plan, data[0] % 7, data[0] * 6u % 1440);
    }
    int32_t rect[4] = {};
    memcpy(rect, text.data(), std::min(text.size(), sizeof rect));
    std::vector<char> small(1 + data[0] % 48);
    FormatRect(rect, small.data(), small.size());
    if (strlen(small.data()) >= small.size())
        abort();
}

// What a fleet reads: a TCP target read gives its text back from its parts, its port in range;
// the status file is whole "key=value" lines, one per CR LF, within its buffer; the profile's
// key names fit theirs and stand in the text.
static void CheckReports(const uint8_t *data, const std::string &text, const char *section) {
    char host[64], port[8];
    if (ParseTcpTarget(text.c_str(), host, sizeof host, port, sizeof port)) {
        std::string again = text[4] == '[' ? "[" + std::string(host) + "]" : host;
        unsigned long number = strtoul(port, NULL, 10);
        if (std::string(text.c_str()).compare(4, std::string::npos, again + ":" + port) != 0 ||
            number == 0 || number > 65535)
            abort();
    }
    StatusFacts facts = {};
    facts.stage = section;
    facts.programId[data[0] % 2] = data[0];
    CopyTextPart(facts.lastEvent, sizeof facts.lastEvent, text.c_str(), text.size());
    const LogTime now = {data[0] * 40u, data[0] % 13u, 31, 23, 59, 59, 0};
    std::vector<char> status(1 + data[0] * 4);
    size_t length = FormatStatus(status.data(), status.size(), &facts, &now);
    std::string lines(status.data());
    if (length != lines.size() || length >= status.size() ||
        (length > 0 && lines.compare(length - 2, 2, "\r\n") != 0))
        abort();
    for (size_t at = 0, end; at < length; at = end + 2) {
        end = lines.find("\r\n", at);
        if (lines.find('=', at) >= end || lines.find_first_of("\r\n", at) != end)
            abort();
    }
    std::vector<char> keys(1 + data[0] % 64);
    ListProfileKeys(text.data(), text.size(), section, keys.data(), keys.size());
    for (const char *key = keys.data(); *key != '\0'; key += strlen(key) + 1)
        if (key + strlen(key) + 1 >= keys.data() + keys.size() ||
            text.find(key) == std::string::npos)
            abort();
    IsUnknownSettingKey(text.c_str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    std::string commandLine((const char *)data + 1, size - 1); // read up to a NUL, as Windows
    bool valid = IsValidUtf8(commandLine.c_str());
    LaunchSettings settings;
    const char *arguments = SkipProgramName(commandLine.c_str());
    size_t count = SplitArgumentText(arguments, &settings);
    // Each of the first eleven values whole, or cut only where a next character would pass
    // 149 UTF-16 units.
    std::string rest = arguments;
    for (size_t slot = 0, at; slot < POSITIONAL_COUNT && valid; slot++, rest.erase(0, at)) {
        rest.erase(0, rest.find_first_not_of(','));
        std::string piece = rest.substr(0, at = rest.find(','));
        const char *value = settings.values[slot];
        if (piece.compare(0, strlen(value), value) != 0 ||
            (strlen(value) < piece.size() && Utf16Length(value) < MAX_VALUE_UNITS - 1))
            abort();
    }
    for (size_t slot = 0; slot < SETTING_COUNT; slot++) {
        const char *value = settings.values[slot];
        long delay = strtol(value, NULL, 0);
        delay = delay > INT32_MAX ? INT32_MAX : delay < INT32_MIN ? INT32_MIN : delay;
        uint32_t colour = (uint32_t)strtoul(value, NULL, 10);
        if (strlen(value) >= VALUE_CHARS || (valid && Utf16Length(value) > MAX_VALUE_UNITS) ||
            (valid && !IsValidUtf8(value)) ||
            ((slot >= count || slot >= POSITIONAL_COUNT) && value[0] != '\0') ||
            ParseDelay(value) != delay ||
            (strlen(value) < 19 && ParseColorComponent(value) != (int32_t)colour))
            abort();
        IsValueSet(value), IsSwitchedOff(value), IsSwitchedOn(value);
    }
    // Code page text is taken for UTF-8 only when marked so, or valid UTF-8 beyond ASCII.
    const char *bytes = commandLine.c_str();
    bool beyondAscii = false;
    for (const char *p = bytes; *p != '\0'; p++)
        beyondAscii = beyondAscii || (unsigned char)*p >= 0x80;
    if (LooksLikeUtf8(bytes, strlen(bytes)) !=
        (strncmp(bytes, "\xef\xbb\xbf", 3) == 0 || (valid && beyondAscii)))
        abort();
    // Cut to any number of units, UTF-16 holds whole characters that come back as a prefix.
    if (valid) {
        char16_t units[64];
        char back[64 * 3];
        size_t cut = Utf8ToUtf16(commandLine.c_str(), units, 1 + data[0] % 64);
        Utf16ToUtf8(units, cut, back, sizeof back);
        if (cut > data[0] % 64 || commandLine.compare(0, strlen(back), back) != 0 ||
            (cut > 0 && units[cut - 1] >= 0xD800 && units[cut - 1] <= 0xDBFF))
            abort();
    }
    const char *args[2] = {settings.values[SLOT_EXE2], settings.values[SLOT_WDIR2]};
    char text[ALERT_TEXT_CHARS];
    if (FormatAlertText(text, sizeof text, settings.values[SLOT_EXE1], args, 2) != strlen(text) ||
        (valid && !IsValidUtf8(text)))
        abort();
    // Every end of the program part lies further on; an unquoted split gives back the line.
    const char *line = settings.values[SLOT_EXE1];
    for (size_t end = 0, next; (next = NextProgramEnd(line, end)) != 0; end = next) {
        char program[VALUE_CHARS], parameters[VALUE_CHARS];
        SplitProgram(line, next, program, sizeof program, parameters, sizeof parameters);
        const char *start = line + strspn(line, kBlanks);
        if (next <= end || next > strlen(line) ||
            (*start != '"' &&
             (strncmp(start, program, strlen(program)) != 0 ||
              strcmp(line + next + strspn(line + next, kBlanks), parameters) != 0)))
            abort();
    }
    // A log line is one line: a stamp, the event with its line breaks written out, CR LF,
    // cut after a whole character.
    const LogTime time = {data[0] * 40u, data[0] % 13u, 31, 23, 59, 59, data[0] * 4u};
    char logLine[LOG_LINE_CHARS / 16];
    size_t length = FormatLogLine(logLine, sizeof logLine, &time, commandLine.c_str());
    if (length != strlen(logLine) || length < 26 || strcspn(logLine, "\r\n") != length - 2 ||
        strcmp(logLine + length - 2, "\r\n") != 0 || (valid && !IsValidUtf8(logLine)))
        abort();
    // The profile reader on the whole input: a value found is whole characters of at most 149
    // units, without blanks at either end unless quoted, and within the text.
    char value[VALUE_CHARS];
    if (FindProfileValue(commandLine.data(), commandLine.size(), settings.values[SLOT_EXE2],
                         settings.values[SLOT_WDIR1], value, sizeof value)) {
        size_t found = strlen(value);
        if (found >= VALUE_CHARS ||
            (valid && (!IsValidUtf8(value) || Utf16Length(value) > MAX_VALUE_UNITS)) ||
            commandLine.find(value) == std::string::npos ||
            (found > 0 && strchr(kBlanks, value[0]) != NULL &&
             strchr(kBlanks, value[found - 1]) != NULL &&
             commandLine.find_first_of("\"'") == std::string::npos))
            abort();
    }
    CheckKeepingValues(data, commandLine, settings.values[SLOT_EXE2]);
    CheckScreenValues(data, commandLine);
    CheckReports(data, commandLine, settings.values[SLOT_EXE2]);
    return 0;
}
