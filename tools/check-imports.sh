#!/usr/bin/env bash
# Fails unless every Calvendrake.exe build imports only DLLs that every Windows has:
# the program ships as a single file, so a runtime DLL pulled in by the toolchain
# (libstdc++-6.dll, libwinpthread-1.dll, ...) would break it on the user's machine.
# Usage: tools/check-imports.sh [EXE...]   (default: build/*/bin/Calvendrake.exe)
set -euo pipefail

allowed=" kernel32.dll user32.dll gdi32.dll shell32.dll shlwapi.dll comdlg32.dll advapi32.dll comctl32.dll msvcrt.dll "

repo=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 0 ]; then
    exes=("$@")
else
    shopt -s nullglob
    exes=("$repo"/build/*/bin/Calvendrake.exe)
fi
if [ ${#exes[@]} -eq 0 ]; then
    echo "check-imports: FAILED: no build/*/bin/Calvendrake.exe to check" >&2
    exit 1
fi

failed=0
for exe in "${exes[@]}"; do
    # The mingw objdump reads both 32- and 64-bit PE files; C locale keeps its labels English.
    if ! dump=$(LC_ALL=C x86_64-w64-mingw32-objdump -p "$exe"); then
        echo "check-imports: FAILED: cannot read $exe" >&2
        failed=1
        continue
    fi
    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
    if [ -z "$dlls" ]; then
        echo "check-imports: FAILED: $exe lists no imports" >&2
        failed=1
        continue
    fi
    extra=()
    while read -r dll; do
        case "$allowed" in
            *" ${dll,,} "*) ;;
            *) extra+=("$dll") ;;
        esac
    done <<<"$dlls"
    if [ ${#extra[@]} -gt 0 ]; then
        echo "check-imports: FAILED: $exe imports ${extra[*]}" >&2
        failed=1
    else
        echo "check-imports: ok: $exe imports ${dlls//$'\n'/ }"
    fi
done
exit "$failed"
