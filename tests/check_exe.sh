#!/usr/bin/env bash
# Usage: check_exe.sh EXE OBJDUMP WINDRES. Fails when korvane.exe is over 64 KiB, no 32-bit GUI
# program, needs a DLL not the system's own, or lacks a resource: icon, version, manifest.
set -uo pipefail
info=$("$2" -p "$1")$("$3" -J coff -i "$1" -O rc)
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$info" | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
status=0
[ "$(stat -c %s "$1")" -le 65536 ] || { echo "FAIL: over 64 KiB"; status=1; }
[[ "$dlls" =~ ^((KERNEL32|USER32|GDI32|MSVCRT|SHELL32)\.DLL\ )+$ ]] || { echo "FAIL: imports"; status=1; }
grep -q requestedExecutionLevel <<<"$info" && { echo "FAIL: an execution level"; status=1; }
[ "$(grep -c supportedOS <<<"$info")" = 5 ] || { echo "FAIL: not Vista to 11"; status=1; }
for entry in 'file format pei-i386' 'Windows GUI' '102 14 /* RT_GROUP_ICON */' \
    '"\040\040\020\000", 1, 4,' ' FILEVERSION 1, 4, 8, 0' 'VALUE "Translation", 0x409, 1252' \
    '1 24 /* RT_MANIFEST */' '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>' \
    '{e2011457-1546-43c5-a5fe-008deee3d3f0}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    grep -qF -- "$entry" <<<"$info" || { echo "FAIL: no $entry"; status=1; }
done
exit $status
