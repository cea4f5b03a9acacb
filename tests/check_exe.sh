#!/usr/bin/env bash
# Fails when korvane.exe is over 64 KiB, is no GUI program, or imports from a DLL other than
# the system's own.
set -euo pipefail
exe=$1
objdump=$2
size=$(stat -c %s "$exe")
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
subsystem=$("$objdump" -p "$exe" | sed -n 's/^Subsystem\s*//p')
echo "korvane.exe: $size bytes; imports: $dlls; subsystem: $subsystem"
status=0
[ "$size" -le 65536 ] || { echo "FAIL: over 64 KiB"; status=1; }
[[ "$subsystem" == *"Windows GUI"* ]] || { echo "FAIL: not a GUI program"; status=1; }
for dll in $dlls; do
    case "$dll" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|MSVCRT.DLL) ;;
        *) echo "FAIL: imports from $dll"; status=1 ;;
    esac
done
"$objdump" -f "$exe" | grep -q 'file format pei-i386' || { echo "FAIL: not PE32 (i386)"; status=1; }
exit $status
