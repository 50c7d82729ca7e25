#!/usr/bin/env bash
# End-to-end suite: the real Calvendrake.exe under Wine on a private virtual display, used
# only from outside as a person does (xdotool input through the X server, the screen read
# back with peek.exe, real Perl runs, real second launches, the registry through reg).
#   tools/e2e.sh [BUILD_DIR]     (default build/x64; needs Calvendrake.exe and peek.exe in
#                                 BUILD_DIR/bin and the Perl bridge in BUILD_DIR/bridge)
# Exits non-zero when any scenario fails.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${CALV_BUILD_DIR:-$repo/build/x64}}

for file in bin/Calvendrake.exe bin/peek.exe bridge/perl.exe; do
    if [ ! -f "$build/$file" ]; then
        echo "e2e: $build/$file is missing: build first (cmake --build --preset x64)" >&2
        exit 2
    fi
done
build=$(cd "$build" && pwd)

# Always a private display: the suite moves the pointer and types.
unset DISPLAY
# Windows of their own on the X server: the suite clicks and types through it.
unset CALV_WINE_DESKTOP
source "$repo/tools/wine-env.sh"
export WINEPATH="Z:${build//\//\\}\\bridge"

# The drag source is an X client built for the host. Without a compiler or Xlib's headers
# the drop scenario is skipped, not failed.
if cc -O2 -o "$CALV_WINE_TMP/xdnd_source" "$repo/tests/e2e/xdnd_source.c" -lX11 2>"$CALV_WINE_TMP/xdnd_source.log"; then
    export CALV_E2E_XDND_SOURCE="$CALV_WINE_TMP/xdnd_source"
else
    echo "e2e: could not build the X drag source:" >&2
    cat "$CALV_WINE_TMP/xdnd_source.log" >&2
fi

export CALV_E2E_BUILD="$build" CALV_E2E_REPO="$repo"
cd "$repo"
prove --timer -I tests/e2e/lib tests/e2e/t
