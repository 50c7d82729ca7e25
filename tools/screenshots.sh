#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the 32-bit program, the one users get, as a user
# would see it: the bundled example placed in C:\NC\, its script in the recent list, the
# window in both forms and the version box, on a private virtual display with a fresh prefix;
# then the whole window again at 144 dpi (a scale of 150%).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
unset DISPLAY CALV_WINE_DESKTOP CALV_WINEPREFIX
source "$repo/tools/wine-env.sh"

preset=x86
LC_ALL=C.UTF-8 cmake --preset "$preset" >/dev/null
LC_ALL=C.UTF-8 cmake --build --preset "$preset" -j2 --target Calvendrake

# The example in C:\NC\ of the prefix, its script first in the recent list.
place_example() {
    mkdir -p "$WINEPREFIX/drive_c/NC"
    cp examples/part1.ncd examples/renumber.pl "$WINEPREFIX/drive_c/NC/"
    wine reg add 'HKCU\Software\Harnox\Quen\Calvendrake' /v ScriptFile0 /d 'C:\NC\renumber.pl' /f >/dev/null
}
place_example

# $1: the window's title as a pattern. Prints its X window once it is shown.
find_window() {
    local window
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && { echo "$window"; return; }
        sleep 0.2
    done
    echo "screenshots: no window $1 appeared" >&2
    return 1
}

# $1: X window, $2: picture. Waits for the painting to settle first.
shoot() {
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
    echo "screenshots: $2"
}

wine build/$preset/bin/Calvendrake.exe 'C:\NC\part1.ncd' &
program=$!
main=$(find_window '^Calvendrake$')
xdotool windowfocus --sync "$main"
shoot "$main" docs/main-collapsed.png

# The system menu's last item opens the version box.
xdotool key --clearmodifiers alt+space
sleep 0.5
xdotool key End Return
about=$(find_window 'ﾊﾞｰｼﾞｮﾝ情報$')
shoot "$about" docs/about.png
xdotool key Return

stop() {
    wine taskkill /im Calvendrake.exe >/dev/null 2>&1 || true
    timeout 20 tail --pid="$program" -f /dev/null || true
}
stop

# Opened with the panel rather than toggled to it: Wine leaves the frame out of the X window of
# a window resized after it was shown, which would crop the picture.
wine reg add 'HKCU\Software\Harnox\Quen\Calvendrake' /v OptOnOff /t REG_DWORD /d 0 /f >/dev/null
wine build/$preset/bin/Calvendrake.exe 'C:\NC\part1.ncd' &
program=$!
shoot "$(find_window '^Calvendrake$')" docs/main-expanded.png
stop

# A window of its own on the X server gets 96 dpi from Wine whatever the scale, so this one is
# shown inside a Wine desktop window, expanded, at the screen's top left, where it fits.
calv_wine_cleanup
export CALV_WINE_DESKTOP=1024x768
source tools/wine-env.sh
place_example
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
for value in Convert:1 PosLeft:0 PosTop:0 OptOnOff:0; do
    wine reg add 'HKCU\Software\Harnox\Quen\Calvendrake' /v "${value%:*}" /t REG_DWORD /d "${value#*:}" /f >/dev/null
done
wine build/$preset/bin/Calvendrake.exe 'C:\NC\part1.ncd' &
program=$!
shoot "$(find_window '^Calvendrake$')" docs/main-144dpi.png
stop
