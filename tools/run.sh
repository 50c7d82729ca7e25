#!/usr/bin/env bash
# Builds the 64-bit program and starts it under Wine on the bundled example input.
# With a display the window opens there and this script ends when the program does.
# Without one the window opens on a virtual display; a screenshot of it is saved to
# build/screenshot.png and the program is closed.
# The Wine prefix is kept in build/run-prefix, so the program's settings survive between runs.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash tools/install-deps.sh
LC_ALL=C.UTF-8 cmake --preset x64
LC_ALL=C.UTF-8 cmake --build --preset x64 -j2

CALV_WINEPREFIX="$repo/build/run-prefix"
source tools/wine-env.sh

# Z: is the prefix's drive for the Unix root.
windows_path() {
    local path="Z:$1"
    echo "${path//\//\\}"
}

exe=build/x64/bin/Calvendrake.exe
input=$(windows_path "$repo/examples/part1.ncd")
echo "Calvendrake: input $input"
echo "Calvendrake: type this conversion script into the script field: $(windows_path "$repo/examples/renumber.pl")"

if [ -z "${CALV_XVFB_PID:-}" ]; then
    wine "$exe" "$input"
    exit
fi

wine "$exe" "$input" &
program=$!

# Polls rather than xdotool search --sync, so that a program that dies early is noticed.
window=
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Calvendrake$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "Calvendrake: no window titled Calvendrake appeared" >&2
    exit 1
fi

sleep 1 # let the dialog finish painting
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage build/screenshot.png
echo "Calvendrake: screenshot saved to $repo/build/screenshot.png"

# Closing through the window (WM_CLOSE) lets the program save its settings as a user's close would.
wine taskkill /im Calvendrake.exe >/dev/null 2>&1 || true
timeout 20 tail --pid="$program" -f /dev/null || echo "Calvendrake: did not close; stopping it" >&2
