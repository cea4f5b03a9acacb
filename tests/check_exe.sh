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
[[ "$dlls" =~ ^((KERNEL32|USER32|GDI32|MSVCRT|SHELL32)\.DLL\ )+$ ]] || { echo "FAIL: imports"; status=1; }
# What Windows Vista's system DLLs export of what the launcher may import, checked one by one
# against Microsoft's documentation ("minimum supported client"); later functions are looked up
# at run time with GetProcAddress instead.
vista=(
    GDI32:CreateCompatibleDC GDI32:CreateDIBSection GDI32:CreateSolidBrush GDI32:DeleteDC
    GDI32:DeleteObject GDI32:GetStockObject GDI32:SelectObject GDI32:SetBrushOrgEx
    GDI32:SetStretchBltMode GDI32:StretchBlt
    KERNEL32:CloseHandle KERNEL32:CreateFileW KERNEL32:CreateMutexW KERNEL32:CreateProcessW
    KERNEL32:CreateThread KERNEL32:DeleteCriticalSection KERNEL32:DeleteFileW
    KERNEL32:EnterCriticalSection KERNEL32:ExitProcess KERNEL32:FindClose KERNEL32:FindFirstFileW
    KERNEL32:FormatMessageW KERNEL32:FreeLibrary KERNEL32:GetCommandLineW
    KERNEL32:GetCurrentDirectoryW KERNEL32:GetCurrentThreadId KERNEL32:GetDriveTypeW
    KERNEL32:GetErrorMode KERNEL32:GetExitCodeProcess KERNEL32:GetFileAttributesW
    KERNEL32:GetFileSizeEx KERNEL32:GetFullPathNameW KERNEL32:GetLastError KERNEL32:GetLocalTime
    KERNEL32:GetModuleHandleA KERNEL32:GetModuleHandleW KERNEL32:GetPrivateProfileStringW
    KERNEL32:GetProcAddress KERNEL32:GetProcessHeap KERNEL32:GetProcessId KERNEL32:GetStartupInfoA
    KERNEL32:GetStartupInfoW KERNEL32:GetTickCount KERNEL32:HeapAlloc KERNEL32:HeapFree
    KERNEL32:InitializeCriticalSection KERNEL32:LeaveCriticalSection KERNEL32:LoadLibraryA
    KERNEL32:LoadLibraryW KERNEL32:MoveFileExW KERNEL32:MulDiv KERNEL32:ReadFile
    KERNEL32:SearchPathW KERNEL32:SetCurrentDirectoryW KERNEL32:SetEnvironmentVariableW
    KERNEL32:SetErrorMode KERNEL32:SetThreadExecutionState KERNEL32:SetUnhandledExceptionFilter
    KERNEL32:Sleep KERNEL32:TerminateProcess KERNEL32:TlsGetValue KERNEL32:VirtualProtect
    KERNEL32:VirtualQuery KERNEL32:WaitForSingleObject KERNEL32:WriteFile
    MSVCRT:__getmainargs MSVCRT:__initenv MSVCRT:__p__acmdln MSVCRT:__p__commode MSVCRT:__p__fmode
    MSVCRT:__set_app_type MSVCRT:__setusermatherr MSVCRT:_amsg_exit MSVCRT:_cexit MSVCRT:_initterm
    MSVCRT:_iob MSVCRT:_onexit MSVCRT:abort MSVCRT:calloc MSVCRT:exit MSVCRT:fprintf MSVCRT:free
    MSVCRT:fwrite MSVCRT:malloc MSVCRT:memcpy MSVCRT:memmove MSVCRT:signal MSVCRT:strlen
    MSVCRT:strncmp MSVCRT:vfprintf MSVCRT:wcscmp MSVCRT:wcslen MSVCRT:wcspbrk
    SHELL32:ShellExecuteExW
    USER32:AllowSetForegroundWindow USER32:BeginPaint USER32:BringWindowToTop
    USER32:CreateWindowExW USER32:DefWindowProcW USER32:DestroyWindow USER32:DispatchMessageW
    USER32:EndPaint USER32:EnumDisplayMonitors USER32:EnumThreadWindows USER32:EnumWindows
    USER32:GetClassNameW USER32:GetForegroundWindow USER32:GetSystemMetrics USER32:GetTopWindow
    USER32:GetWindow USER32:GetWindowLongW USER32:GetWindowRect USER32:GetWindowTextW
    USER32:GetWindowThreadProcessId USER32:IntersectRect USER32:InvalidateRect USER32:IsHungAppWindow
    USER32:IsWindowVisible USER32:KillTimer USER32:LoadCursorW USER32:LoadIconW USER32:MapWindowPoints
    USER32:MessageBoxW USER32:MsgWaitForMultipleObjectsEx USER32:PeekMessageW USER32:PostMessageW
    USER32:PostQuitMessage USER32:RedrawWindow USER32:RegisterClassW USER32:RegisterHotKey
    USER32:SetCursor USER32:SetForegroundWindow USER32:SetRect USER32:SetTimer USER32:SetWindowLongW
    USER32:SetWindowPos USER32:ShowWindow USER32:SystemParametersInfoW USER32:UpdateWindow
    USER32:WaitForInputIdle
)
imports=$(awk '/DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
               dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print dll ":" $3 }' <<<"$info" | sort -u)
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
