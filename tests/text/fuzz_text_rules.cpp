// Arbitrary bytes as the command line through every text rule; strtol reads a delay alike up to
// the clamp, strtoul a colour until it would overflow.
#include "text/alert_text.h"
#include "text/command_line.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/setting_values.h"
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    LeadByteSet leadBytes = {}; // the first byte chooses them, as a code page would
    for (int c = 0x80; c < 256; c++)
        leadBytes.isLead[c] = (c & 0x7F) >= data[0] % 0x80;
    std::string commandLine((const char *)data + 1, size - 1); // read up to a NUL, as Windows
    LaunchSettings settings;
    size_t count = SplitArgumentText(SkipProgramName(commandLine.c_str(), &leadBytes), &settings);
    for (size_t slot = 0; slot < SETTING_COUNT; slot++) {
        const char *value = settings.values[slot];
        long delay = strtol(value, NULL, 0);
        delay = delay > INT32_MAX ? INT32_MAX : delay < INT32_MIN ? INT32_MIN : delay;
        uint32_t colour = (uint32_t)strtoul(value, NULL, 10);
        if (strlen(value) > MAX_VALUE_CHARS || (slot >= count && value[0] != '\0') ||
            ParseDelay(value) != delay ||
            (strlen(value) < 19 && ParseColorComponent(value) != (int32_t)colour))
            abort();
        IsValueSet(value), IsSwitchedOff(value);
    }
    const char *args[2] = {settings.values[SLOT_EXE2], settings.values[SLOT_WDIR2]};
    char text[ALERT_TEXT_CHARS];
    if (FormatAlertText(text, sizeof text, settings.values[SLOT_EXE1], args, 2) != strlen(text))
        abort();
    // Every end of the program part lies further on; an unquoted split gives back the line.
    const char *line = settings.values[SLOT_EXE1];
    for (size_t end = 0, next; (next = NextProgramEnd(line, end)) != 0; end = next) {
        char program[VALUE_CHARS], parameters[VALUE_CHARS];
        SplitProgram(line, next, program, sizeof program, parameters, sizeof parameters);
        const char *start = line + strspn(line, " \t");
        if (next <= end || next > strlen(line) ||
            (*start != '"' && (strncmp(start, program, strlen(program)) != 0 ||
                               strcmp(line + next + strspn(line + next, " \t"), parameters) != 0)))
            abort();
    }
    // A log line is one line: a stamp, the event with its line breaks written out, CR LF.
    const LogTime time = {data[0] * 40u, data[0] % 13u, 31, 23, 59, 59, data[0] * 4u};
    char logLine[LOG_LINE_CHARS / 8];
    size_t length = FormatLogLine(logLine, sizeof logLine, &time, commandLine.c_str());
    if (length != strlen(logLine) || length < 26 || strcspn(logLine, "\r\n") != length - 2 ||
        strcmp(logLine + length - 2, "\r\n") != 0)
        abort();
    return 0;
}
