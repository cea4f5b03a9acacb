#!/usr/bin/env bash
# Usage: check_exe.sh EXE OBJDUMP WINDRES. Fails when korvane.exe is over 64 KiB, no 32-bit GUI
# program, needs a DLL not the system's own, imports a function Windows Vista (the oldest
# Windows its manifest names) does not export, or lacks a resource: icon, version, manifest
# (Vista to 11, run as the invoker).
set -uo pipefail
info=$("$2" -p "$1")$("$3" -J coff -i "$1" -O rc)
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$info" | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
status=0
[ "$(stat -c %s "$1")" -le 65536 ] || { echo "FAIL: over 64 KiB"; status=1; }
[[ "$dlls" =~ ^((KERNEL32|USER32|GDI32|MSVCRT|SHELL32|ADVAPI32|WS2_32)\.DLL\ )+$ ]] || { echo "FAIL: imports"; status=1; }
# What the system DLLs of Windows Vista export, of what the launcher may import, checked one by one
# against Microsoft's documentation ("minimum supported client"); later functions are looked up
# at run time with GetProcAddress instead.
vista=(
    CreateCompatibleDC CreateDIBSection CreateSolidBrush DeleteDC DeleteObject GetStockObject SelectObject
    SetBrushOrgEx SetStretchBltMode StretchBlt AssignProcessToJobObject CloseHandle CreateFileW CreateJobObjectW
    CreateMutexW OpenProcess QueryInformationJobObject ResumeThread SetInformationJobObject TerminateJobObject
    CreateProcessW CreateThread EnterCriticalSection ExitProcess FindClose FindFirstFileW FormatMessageW
    GetCommandLineW GetCurrentDirectoryW GetCurrentThreadId GetDriveTypeW GetErrorMode GetExitCodeProcess
    GetFileAttributesW GetFileSizeEx GetFullPathNameW GetLastError GetLocalTime GetModuleHandleW
    GetPrivateProfileStringW GetProcAddress GetProcessHeap GetProcessId GetStartupInfoW GetTickCount HeapAlloc
    HeapFree InitializeCriticalSection LeaveCriticalSection LoadLibraryW MoveFileExW MulDiv ReadFile SearchPathW
    SetCurrentDirectoryW SetEnvironmentVariableW SetErrorMode SetThreadExecutionState TerminateProcess
    WaitForSingleObject WriteFile memmove strlen wcscmp wcslen wcspbrk ShellExecuteExW AllowSetForegroundWindow
    BeginPaint BringWindowToTop CreateWindowExW DefWindowProcW DestroyWindow DispatchMessageW EndPaint
    EnumDisplayMonitors EnumThreadWindows EnumWindows GetClassNameW GetForegroundWindow GetSystemMetrics
    GetWindow GetWindowLongW GetWindowRect GetWindowTextW GetWindowThreadProcessId IntersectRect
    GetLastInputInfo InvalidateRect IsHungAppWindow IsWindowVisible KillTimer LoadCursorW LoadIconW
    MapWindowPoints MessageBoxW MsgWaitForMultipleObjectsEx PeekMessageW PostMessageW PostQuitMessage
    RedrawWindow RegisterClassW RegisterHotKey SetCursor SetForegroundWindow SetRect SetTimer SetWindowLongW
    SetWindowPos ShowWindow SystemParametersInfoW UpdateWindow WaitForInputIdle GetCurrentProcess
    GetFinalPathNameByHandleW IsProcessInJob IsWindow RegisterApplicationRestart ReleaseMutex
    VerSetConditionMask VerifyVersionInfoW wcsncmp ChangeWindowMessageFilter CreateDCW FindWindowExW GdiFlush
    GetClientRect GetMonitorInfoW IsIconic IsZoomed MonitorFromWindow RegisterWindowMessageW SendInput
    SendMessageW SetLastError ShowWindowAsync memcmp
    CreateEventW SetEvent Sleep GetCurrentProcessId RegisterEventSourceW ReportEventW WSAStartup WSACleanup
    GetAddrInfoW FreeAddrInfoW socket connect closesocket strchr strrchr
)
imports=$(awk '/DLL Name:/ { dll = 1; next } dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' \
    <<<"$info" | sort -u)
for import in $imports; do
    [[ " ${vista[*]} " == *" $import "* ]] || { echo "FAIL: $import is not known on Windows Vista"; status=1; }
done
[ -n "$imports" ] || { echo "FAIL: no imports read"; status=1; }
[ "$(grep -c supportedOS <<<"$info")" = 5 ] || { echo "FAIL: not Vista to 11"; status=1; }
for entry in 'file format pei-i386' 'Windows GUI' '102 14 /* RT_GROUP_ICON */' \
    '"\040\040\020\000", 1, 4,' ' FILEVERSION 1, 4, 8, 0' 'VALUE "Translation", 0x409, 1252' \
    '1 24 /* RT_MANIFEST */' '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>' \
    '<requestedExecutionLevel level=""asInvoker"" uiAccess=""false""/>' \
    '{e2011457-1546-43c5-a5fe-008deee3d3f0}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    grep -qF -- "$entry" <<<"$info" || { echo "FAIL: no $entry"; status=1; }
done
exit $status
