# A morning at the keyboard, through the X server as a person works: what only real input
# shows. The script arrives by a real drag from another program; Tab, Shift+Tab, the
# mnemonics, Enter and Escape walk the dialog; a real Perl run and the stored settings show
# where every key landed. Run by tools/e2e.sh, which sets up Wine and builds the drag source.
set -u
passed=0
# Each step builds on the one before: the first failure ends the scenario.
check() {
    local what=$1
    shift
    if "$@"; then passed=$((passed + 1)) && echo "ok - $what" && return 0; fi
    echo "not ok - $what"
    echo "$passed passed, 1 failed"
    exit 1
}
# Polls for up to 30 s: other builds may share the cores.
soon() { for _ in $(seq 150); do "$@" && return 0; sleep 0.2; done; return 1; }
keys() { xdotool key --delay 60 "$@"; }
shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
is_shown() { [ "$(shown "$1")" = "$2" ]; }
# Back to the dialog after a box closes, as a person clicks into it: with no window manager
# the activation may stay behind. The point lies on the background between Exit and Settings.
refocus() { soon is_shown Calvendrake 1 && xdotool mousemove $((X + 240)) $((Y + 294)) click 1; }
# Converted, and the run over: keys pressed while a script runs are dropped. The bridge's
# perl.exe, which ends last, names the script in this run's own folder.
converted() { cmp -s "$w/$1" "$w/expected.ncd" && ! pgrep -f "${CALV_WINE_TMP##*/}.e2e.renumber" >/dev/null; }
# Wine's X window may leave out the frame, so the panel is seen by the height passing a mark.
taller_than() { [ "$(xdotool getwindowgeometry --shell "$dlg" | sed -n 's/^HEIGHT=//p')" -gt "$1" ]; }
# The text of the focused field, copied as a person copies it; Wine hands it on to X.
copied() { keys End shift+Home ctrl+c && [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
launch() {
    wine "$CALV_E2E_PROGRAM" "$@" >/dev/null 2>&1 &
    pid=$!
    dlg=$(timeout 30 xdotool search --sync --onlyvisible --name '^Calvendrake$' | head -1)
}

w=$CALV_WINE_TMP/e2e
mkdir -p "$w"
cp "$CALV_E2E_REPO/examples/renumber.pl" "$CALV_E2E_REPO/examples/part1.ncd" "$w/"
perl "$w/renumber.pl" "$w/part1.ncd" "$w/expected.ncd"
wine reg delete 'HKCU\Software\Harnox\Quen\Calvendrake' /f >/dev/null 2>&1

# Started with an input, as from a file's "Send to": the output name is derived from it.
launch "$(winpath "$w/part1.ncd")"
check "the dialog appears" [ -n "$dlg" ]
eval "$(xdotool getwindowgeometry --shell "$dlg")"

# Pressed on the drag source, moved in steps and let go over the script's folder label,
# whose centre lies 194,66 from the window's corner.
timeout 20 "$CALV_E2E_DRAG" "$w/renumber.pl" 600 120 >"$w/drag.log" &
soon grep -q ready "$w/drag.log"
xdotool mousemove 620 140 mousedown 1 sleep 0.1 mousemove 500 150 sleep 0.1 mousemove $((X + 194)) $((Y + 66)) \
    sleep 0.2 mousemove $((X + 195)) $((Y + 66)) sleep 0.2 mouseup 1
refocus
check "a script dragged onto its folder label shows in its field" soon copied renumber.pl

# The focus starts in the script field; the fourth Tab reaches the output name. Enter there
# presses the default button, Run, which must resolve the typed name before it runs.
keys Tab Tab Tab Tab
xdotool type --delay 30 typed.ncd
keys Return
check "Tab reaches the output name; Enter resolves it and runs the dropped script" soon converted typed.ncd
# Shift+Tab from Run goes back to the output name; leaving it for Alt+R resolves the new name.
keys shift+Tab shift+Tab
xdotool type --delay 30 again.ncd
keys alt+r
check "Shift+Tab returns to it; Alt+R resolves a new name and runs" soon converted again.ncd

for chooser in 's 開く' 'i 開く' 'o 名前を付けて保存'; do
    set -- $chooser
    keys "alt+$1"
    check "Alt+${1^^} opens the $2 chooser" soon is_shown "$2" 1
    keys Escape
    soon is_shown "$2" 0
    refocus
done

keys alt+p
check "Alt+P opens the options panel" soon taller_than 400
# A first start has the three options on, off, off: each key flips one.
keys alt+1 alt+2 alt+3 Escape
check "Escape closes the program" soon is_shown Calvendrake 0 && wait $pid
for value in OpenCvtedFile=0 ExitAfterCvt=1 CompleteDialog=1 OptOnOff=0; do
    check "Alt+1, Alt+2, Alt+3 and Alt+P are kept: $value" \
        test "$(calv_wine_reg_value 'HKCU\Software\Harnox\Quen\Calvendrake' "${value%=*}")" = "dword:0000000${value#*=}"
done

# The exit button by its mnemonic, on the next start.
launch
keys alt+x
check "Alt+X ends the program" soon is_shown Calvendrake 0 && wait $pid

echo "$passed passed, 0 failed"
