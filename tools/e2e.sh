#!/usr/bin/env bash
# The keyboard-and-mouse scenario (tests/e2e/scenario.sh): one build's Calvendrake.exe used
# through the X server with xdotool, on a private virtual display, as a person does.
#   tools/e2e.sh [BUILD_DIR]   (default build/x64; build/x86 for the 32-bit program)
# Exits non-zero when a check fails.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build/x64}" && pwd)
program=$build/bin/Calvendrake.exe
if [ ! -f "$program" ] || [ ! -f "$build/bridge/perl.exe" ]; then
    echo "e2e: $build lacks bin/Calvendrake.exe or bridge/perl.exe: build it first" >&2
    exit 2
fi
echo "e2e: $program ($(file -b "$program" | cut -d, -f1))"

# Always a private display, and windows of their own on it: the scenario moves the pointer and types.
unset DISPLAY CALV_WINE_DESKTOP
source "$repo/tools/wine-env.sh"
calv_wine_build "$build"
# The drag source is an X client, built for the host.
cc -O2 -o "$CALV_WINE_TMP/drag_source" "$repo/tests/e2e/drag_source.c" -lX11
export CALV_E2E_PROGRAM=$program CALV_E2E_DRAG=$CALV_WINE_TMP/drag_source CALV_E2E_REPO=$repo
bash "$repo/tests/e2e/scenario.sh"
