#!/usr/bin/env bash
# check-imports.sh ARCH EXE...
# Fails unless each EXE is a PE image for ARCH (x86_64 or i686) that imports
# only DLLs Windows itself provides: Hueloom ships as one .exe with nothing
# beside it. Nor may it import the dpi functions of Windows 10 (1607 and
# later): the program looks them up at run time, so that it still starts on
# a Windows without them. An i686 image must also be large-address aware
# (more than 2 GiB of address space for big pictures).
set -euo pipefail
arch="$1"
shift
case "$arch" in
    x86_64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 ;;
    i686) objdump=i686-w64-mingw32-objdump format=pei-i386 ;;
    *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
# What every supported Windows has in System32.
late='^(GetDpiForWindow|GetDpiForSystem|GetSystemMetricsForDpi|AdjustWindowRectExForDpi|SystemParametersInfoForDpi|SetThreadDpiAwarenessContext|EnableNonClientDpiScaling)$'
system='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|winspool\.drv|msimg32|imm32|mscms|msvcrt|shlwapi|uxtheme|dwmapi|version)(\.dll)?$'
status=0
for exe in "$@"; do
    dump="$("$objdump" -p "$exe")"
    if ! grep -q "file format $format\$" <<<"$dump"; then
        echo "FAIL $exe: not a $format image ($(grep -m1 'file format' <<<"$dump"))"
        status=1
        continue
    fi
    if [ "$arch" = i686 ] && ! grep -q "large address aware" <<<"$dump"; then
        echo "FAIL $exe: not large-address aware (limited to 2 GiB)"
        status=1
        continue
    fi
    dlls="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")"
    if [ -z "$dlls" ]; then
        echo "FAIL $exe: no import table found"
        status=1
        continue
    fi
    foreign="$(tr 'A-Z' 'a-z' <<<"$dlls" | grep -Ev "$system" || true)"
    # Imported functions: the "<vma> <hint> <name>" lines of the import tables.
    imported="$(awk '/DLL Name:/ { t = 1 } t && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print $3 }' <<<"$dump" | grep -E "$late" || true)"
    if [ -n "$imported" ]; then
        echo "FAIL $exe imports functions older Windows lacks (look them up at run time):" $imported
        status=1
    elif [ -n "$foreign" ]; then
        echo "FAIL $exe imports DLLs that Windows does not provide:" $foreign
        status=1
    else
        echo "ok   $exe ($format): imports only" $(tr 'A-Z' 'a-z' <<<"$dlls" | sort -u)
    fi
done
exit $status
