// The launcher's entry: reads its settings from the argument text and runs the launch.
#include "launch/arguments.h"
#include "launch/command_line.h"
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The argument text is taken from the command line here rather than from the C
    // runtime, whose rules for cutting off the program name differ between toolchains.
    LeadByteSet leadBytes;
    for (int c = 0; c < 256; c++)
        leadBytes.isLead[c] = IsDBCSLeadByte((BYTE)c) != 0;
    const char *argumentText = SkipProgramName(GetCommandLineA(), &leadBytes);

    char *copy = strdup(argumentText);
    if (copy == NULL)
        return 0;
    LaunchSettings settings;
    ParseArguments(copy, &settings);
    return 0;
}
