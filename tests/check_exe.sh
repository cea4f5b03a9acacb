#!/usr/bin/env bash
# Fails when korvane.exe is over 64 KiB, no 32-bit GUI program, imports from a DLL other than
# the system's own, or lacks a resource that Windows or its user sees: the class icon, the
# version 1.4.8.0 and the manifest (DPI-aware, Vista to 11, no execution level).
# Usage: check_exe.sh EXE OBJDUMP WINDRES
set -euo pipefail
headers=$("$2" -p "$1")
resources=$("$3" -J coff -i "$1" -O rc)
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
echo "korvane.exe: $(stat -c %s "$1") bytes; imports: $dlls"
status=0
fail() { echo "FAIL: $1"; status=1; }
[ "$(stat -c %s "$1")" -le 65536 ] || fail "over 64 KiB"
grep -q 'file format pei-i386' <<<"$headers" || fail "not PE32 (i386)"
grep -q '^Subsystem.*Windows GUI' <<<"$headers" || fail "not a GUI program"
for dll in $dlls; do
    [[ "$dll" =~ ^(KERNEL32|USER32|GDI32|MSVCRT)\.DLL$ ]] || fail "imports from $dll"
done
manifest=$(sed -n '/^1 24 \/\* RT_MANIFEST \*\//,/^END/p' <<<"$resources")
for entry in '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>' \
    e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
    4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
    8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    grep -qF -- "$entry" <<<"$manifest" || fail "manifest 1 without $entry"
done
! grep -q requestedExecutionLevel <<<"$manifest" || fail "an execution level in the manifest"
for entry in '102 14 /* RT_GROUP_ICON */' '"\040\040\020\000", 1, 4,' ' FILEVERSION 1, 4, 8, 0' \
    ' PRODUCTVERSION 1, 4, 8, 0' 'VALUE "Translation", 0x409, 1252'; do
    grep -qF -- "$entry" <<<"$resources" || fail "resources without $entry"
done
exit $status
