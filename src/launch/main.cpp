// The launcher's entry: takes the argument text from the command line and runs the launch.
#include "launch/launch_sequence.h"
#include "platform/wide_text.h"
#include "text/command_line.h"
#include <windows.h>

// The launcher makes folders current that others may be able to write (a USB stick, a
// shared folder), so DLLs come from the system folder only. Looked up at run time: older
// Windows lacks the call, and the launcher must start there all the same.
static void LoadDllsFromSystemOnly() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesCall)(DWORD);
    FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found != NULL)
        ((SetDefaultDllDirectoriesCall)(void *)found)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
    LoadDllsFromSystemOnly();
    // The argument text is taken from the wide command line rather than from the C runtime,
    // which has it in the ANSI code page and cuts off the program name by rules that differ
    // between toolchains. In UTF-8 its at most 32767 UTF-16 units come to at most 3 bytes each.
    char commandLine[32767 * 3 + 1];
    ToUtf8(GetCommandLineW(), commandLine, sizeof commandLine);
    return RunLaunchSequence(instance, previous, SkipProgramName(commandLine));
}

// The process starts here rather than in the C runtime's start-up code, which the launcher
// does not need: it has no globals with constructors, reads no argv and writes no stdio, and
// msvcrt.dll sets itself up as it loads. Leaving that code out keeps the exe a sixth smaller.
// The name is the linker's default entry for a windowed program.
extern "C" void WinMainCRTStartup() {
    ExitProcess((UINT)WinMain(GetModuleHandleW(NULL), NULL, NULL, SW_SHOWDEFAULT));
}
