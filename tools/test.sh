#!/usr/bin/env bash
# Builds both Windows programs, checks what they import and runs every test layer under Wine
# against each: the 64-bit build and the 32-bit build users get.
# Needs nothing but Debian 12: missing packages and the Wine test bed are installed first
# (tools/wine-env.sh); after that, root or a plain user, with no sudo.
# Both programs run in the test bed on every x86-64 machine; either failing to start fails the run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

# Always a private virtual display: test windows then never land on a developer's desktop,
# and every run sees the same screen.
unset DISPLAY
# Inside one Wine desktop window Wine moves the keyboard focus itself: the tests that read
# the focus after a message box then never race the X server's focus events.
export CALV_WINE_DESKTOP=1024x768
source "$repo/tools/wine-env.sh"

declare -A bits=([x64]=64-bit [x86]=32-bit)

# The build speaks English whatever the caller's locale.
for preset in x64 x86; do
    LC_ALL=C.UTF-8 cmake --preset "$preset" >/dev/null
    LC_ALL=C.UTF-8 cmake --build --preset "$preset" -j2
done

python3 tools/check-imports.py build/x64/bin/Calvendrake.exe build/x86/bin/Calvendrake.exe

# The rig: the bed's mirror and proxy come from apt.
bash tests/rig/apt-source.sh

for preset in x64 x86; do
    echo "== test: the ${bits[$preset]} program build/$preset/bin/Calvendrake.exe =="
    # The program's "perl" is the bridge of the same build.
    calv_wine_build "build/$preset"
    # One test at a time, since the program is single-instance and tests look its window up
    # by title. The timeout stops a test stuck on an unexpected message box.
    ctest --preset "$preset" --timeout 180 --no-tests=error
    # The same program used through the X server, as a person does.
    bash tools/e2e.sh "build/$preset"
done
# The 32-bit program's release, made twice, installed, upgraded and removed as users do. Run
# as root (as CI does), it runs as a plain user in a clone of its own, as a contributor meets
# it, after the bed's check for plain users without sudo.
if [ "$(id -u)" -eq 0 ]; then
    bash tests/rig/plain-user.sh --release
else
    bash tests/release/packages.sh
fi

# The pure rules under sanitizers, natively, with a short fuzzing run.
bash tools/sweep.sh
