// Arbitrary bytes as the command line through every text rule; strtol reads a delay alike up to
// the clamp, strtoul a colour until it would overflow.
#include "text/alert_text.h"
#include "text/command_line.h"
#include "text/launch_settings.h"
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
        IsValueSet(value), IsBackdropHidden(value);
    }
    const char *args[2] = {settings.values[SLOT_EXE2], settings.values[SLOT_WDIR2]};
    char text[ALERT_TEXT_CHARS];
    if (FormatAlertText(text, sizeof text, settings.values[SLOT_EXE1], args, 2) != strlen(text))
        abort();
    return 0;
}
