// Feeds arbitrary bytes through the argument text, the splitting, the value rules and the
// alert formatting, as the launcher does with its command line.
#include "launch/alert_text.h"
#include "launch/command_line.h"
#include "launch/launch_settings.h"
#include "launch/setting_values.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the lead bytes, as a code page would.
    LeadByteSet leadBytes = {};
    for (int c = 0x80; c < 256; c++)
        leadBytes.isLead[c] = (c & 0x7F) >= data[0] % 0x80;

    char *commandLine = (char *)malloc(size);
    memcpy(commandLine, data + 1, size - 1);
    commandLine[size - 1] = '\0';

    LaunchSettings settings;
    size_t count = SplitArgumentText(SkipProgramName(commandLine, &leadBytes), &settings);
    size_t used = count < SETTING_COUNT ? count : SETTING_COUNT;
    for (size_t slot = 0; slot < SETTING_COUNT; slot++) {
        if (strlen(settings.values[slot]) > MAX_VALUE_CHARS ||
            (slot >= used && settings.values[slot][0]))
            abort();
        IsValueSet(settings.values[slot]);
        ParseDelay(settings.values[slot]);
        ParseColorComponent(settings.values[slot]);
        IsBackdropHidden(settings.values[slot]);
    }
    const char *args[2] = {settings.values[SLOT_EXE2], settings.values[SLOT_WDIR2]};
    char text[ALERT_TEXT_CHARS];
    size_t length = FormatAlertText(text, sizeof text, settings.values[SLOT_EXE1], args, 2);
    if (length >= sizeof text || strlen(text) != length)
        abort();
    free(commandLine);
    return 0;
}
