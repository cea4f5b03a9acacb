// The launcher's entry: takes the argument text from the command line and runs the launch.
#include "text/command_line.h"
#include "launch/launch_sequence.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
    // The argument text is taken from the command line here rather than from the C
    // runtime, whose rules for cutting off the program name differ between toolchains.
    LeadByteSet leadBytes;
    for (int c = 0; c < 256; c++)
        leadBytes.isLead[c] = IsDBCSLeadByte((BYTE)c) != 0;
    return RunLaunchSequence(instance, previous, SkipProgramName(GetCommandLineA(), &leadBytes));
}
