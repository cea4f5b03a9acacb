// The launcher's entry: takes the argument text from the command line and runs the launch.
#include "text/command_line.h"
#include "launch/launch_sequence.h"
#include <windows.h>

// The launcher makes folders current that others may be able to write (a USB stick, a
// shared folder), so DLLs come from the system folder only. Looked up at run time: older
// Windows lacks the call, and the launcher must start there all the same.
static void LoadDllsFromSystemOnly() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesCall)(DWORD);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found != NULL)
        ((SetDefaultDllDirectoriesCall)(void *)found)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
    LoadDllsFromSystemOnly();
    // The argument text is taken from the command line here rather than from the C
    // runtime, whose rules for cutting off the program name differ between toolchains.
    LeadByteSet leadBytes;
    for (int c = 0; c < 256; c++)
        leadBytes.isLead[c] = IsDBCSLeadByte((BYTE)c) != 0;
    return RunLaunchSequence(instance, previous, SkipProgramName(GetCommandLineA(), &leadBytes));
}
