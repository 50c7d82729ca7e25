#!/usr/bin/env bash
# Builds the 32-bit program, the one users get, and starts it under Wine (the test bed of
# tools/wine-bed.sh) on the bundled example, ready to convert: the example script is in its
# recent list, so script, input and output are filled and 実行 (Run) converts at once.
# With a display the window opens there and this script ends when the program does.
# Without one the window opens on a virtual display; this script presses 実行 itself, shows
# the first lines of the input beside the converted output, saves a screenshot to
# build/screenshot.png and closes the program.
# The Wine prefix is kept in build/run-prefix, so the program's settings survive between runs.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
CALV_WINEPREFIX="$repo/build/run-prefix"
source "$repo/tools/wine-env.sh"

preset=x86
LC_ALL=C.UTF-8 cmake --preset "$preset" >/dev/null
LC_ALL=C.UTF-8 cmake --build --preset "$preset" -j2 --target Calvendrake perl
calv_wine_build "build/$preset"

# Z: is the prefix's drive for the Unix root.
windows_path() {
    local path="Z:$1"
    echo "${path//\//\\}"
}

exe=build/$preset/bin/Calvendrake.exe
input=examples/part1.ncd
output=examples/part1_cvted.ncd
key='HKCU\Software\Harnox\Quen\Calvendrake'
# A prefix whose recent list already has scripts keeps them.
if ! wine reg query "$key" /v ScriptFile0 >/dev/null 2>&1; then
    wine reg add "$key" /v ScriptFile0 /d "$(windows_path "$repo/examples/renumber.pl")" /f >/dev/null
fi
echo "Calvendrake: converting $(windows_path "$repo/$input") with examples/renumber.pl"

if [ -z "${CALV_XVFB_PID:-}" ]; then
    wine "$exe" "$(windows_path "$repo/$input")"
    exit
fi

# An output left by an earlier run would make 実行 ask before replacing it.
rm -f "$output"
wine "$exe" "$(windows_path "$repo/$input")" &
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

# Enter presses the default button, 実行; the window must have the keyboard first.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers Return
for _ in $(seq 150); do
    [ -s "$output" ] && ! pgrep -f 'examples/renumber\.pl' >/dev/null && break
    sleep 0.2
done
if [ ! -s "$output" ]; then
    echo "Calvendrake: 実行 wrote no $output" >&2
    exit 1
fi
echo "Calvendrake: the first lines of $input (left) and $output (right):"
pr -m -t -w 80 <(head -n 20 "$input") <(head -n 20 "$output")

sleep 1 # let the dialog finish painting
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage build/screenshot.png
echo "Calvendrake: screenshot saved to $repo/build/screenshot.png"

# Closing through the window (WM_CLOSE) lets the program save its settings as a user's close would.
wine taskkill /im Calvendrake.exe >/dev/null 2>&1 || true
timeout 20 tail --pid="$program" -f /dev/null || echo "Calvendrake: did not close; stopping it" >&2
