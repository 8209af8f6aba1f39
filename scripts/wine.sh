#!/usr/bin/env bash
# The one place that decides how Wine is started on this machine.
#
#   wine.sh PROGRAM [ARGS...]   runs a Windows program (wineboot, reg, Hueloom.exe ...)
#   wine.sh --i686              exit 0 if 32-bit Windows programs can run here;
#                               otherwise prints why and exits 1
#   wine.sh --kernel-i386       exit 0 if the kernel executes 32-bit (i386) programs
#
# Machines of this kind differ: some kernels refuse i386 programs. There,
# Debian's /usr/bin/wine still picks the 32-bit loader once wine32 is
# installed, and then no program starts at all, 64-bit ones included. So we
# look at what the machine does and, where 32-bit programs cannot run, start
# the 64-bit loader directly.
#
# HUELOOM_NO_I386=1 behaves as such a machine does (to rehearse that path).
set -uo pipefail

WINE32=/usr/lib/wine/wine
WINE64=/usr/lib/wine/wine64

# A complete 96-byte i386 ELF program that exits with status 42.
kernel_runs_i386() {
    [ "${HUELOOM_NO_I386:-}" = 1 ] && return 1
    [ "$(uname -m)" = x86_64 ] || [ "$(uname -m)" = i686 ] || return 1
    local probe rc
    probe="$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX")" || return 1
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x28\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    rc=$?
    rm -f "$probe"
    [ "$rc" -eq 42 ]
}

# Why 32-bit Windows programs cannot run here; empty when they can.
i686_missing() {
    if [ "${HUELOOM_NO_I386:-}" = 1 ]; then
        echo "HUELOOM_NO_I386=1 asks to behave as a machine without 32-bit support"
    elif [ ! -x "$WINE32" ]; then
        if kernel_runs_i386; then
            echo "Wine's 32-bit loader (wine32:i386) is not installed"
        else
            echo "this machine's kernel cannot execute 32-bit programs"
        fi
    elif ! "$WINE32" --version >/dev/null 2>&1; then
        echo "this machine's kernel cannot execute 32-bit programs (Wine's 32-bit loader does not start)"
    fi
}

case "${1:-}" in
    --kernel-i386)
        kernel_runs_i386
        exit $?
        ;;
    --i686)
        why="$(i686_missing)"
        [ -z "$why" ] && exit 0
        echo "$why"
        exit 1
        ;;
    "")
        echo "usage: wine.sh PROGRAM [ARGS...] | --i686 | --kernel-i386" >&2
        exit 2
        ;;
esac

export WINEDEBUG="${WINEDEBUG:--all}"
if [ -z "$(i686_missing)" ]; then
    exec "$WINE32" "$@"
fi
if [ ! -x "$WINE64" ]; then
    echo "wine.sh: Wine is not installed (run scripts/setup.sh)" >&2
    exit 127
fi
export WINELOADER="$WINE64"
exec "$WINE64" "$@"
