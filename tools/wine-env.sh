# Source this file to get a private, quiet Wine set up for Calvendrake: every script that runs
# Wine starts with these two lines and holds no Wine set-up of its own:
#   repo=$(cd "$(dirname "$0")/.." && pwd)
#   source "$repo/tools/wine-env.sh"
# What is missing is installed first (tools/install-deps.sh; once for scripts that call each
# other). Wine is the test bed's (tools/wine-bed.sh): tools/bed goes first on PATH, so wine,
# wineserver and wineboot run both programs, 64- and 32-bit, the same way.
# It never touches the system or ~/.wine: everything lives in a temporary folder
# (or in $CALV_WINEPREFIX, if set before sourcing, so a prefix can be kept between runs).
# Wine runs at code page 932 (ja_JP.UTF-8); CALV_WINE_LOCALE=C.UTF-8 in one command's environment
# runs that command at code page 1252 instead (tools/wine-bed.sh), beside the others.
# CALV_WINE_DESKTOP=WxH, set before sourcing, puts every Wine window into one desktop window
# of that size instead of a window of its own on the X server.
# Exports PATH, WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES, WINEPATH, DISPLAY (a private
# Xvfb when none was set; CALV_XVFB_PID is then its process), CALV_WINE_TMP and CALV_DEPS_READY.
# calv_wine_build DIR points Calvendrake's "perl" at the Perl bridge of the build in DIR
# (default build/x64).
# calv_wine_cleanup ends this prefix's Wine processes and the Xvfb started here and removes
# the temporary folder; an EXIT trap calls it, and callers with their own EXIT trap call it there.

calv_wine_log() {
    echo "wine-env: $*" >&2
}

calv_wine_cleanup() {
    trap - EXIT
    # The prefix set up here, even if the caller has pointed WINEPREFIX elsewhere since.
    if [ -n "${CALV_WINE_PREFIX_USED:-}" ] && [ -d "$CALV_WINE_PREFIX_USED" ]; then
        # A server that never started is no reason to stop cleaning up.
        WINEPREFIX="$CALV_WINE_PREFIX_USED" wineserver -k 2>/dev/null || true
        WINEPREFIX="$CALV_WINE_PREFIX_USED" wineserver -w 2>/dev/null || true
        # A temporary prefix's server folder in /tmp, which the prefix names, goes with it.
        case $CALV_WINE_PREFIX_USED in
            "$CALV_WINE_TMP"/*) [ ! -s "$CALV_WINE_PREFIX_USED/wineserver" ] ||
                rm -rf "/tmp/$(basename "$(cat "$CALV_WINE_PREFIX_USED/wineserver")")" ;;
        esac
        CALV_WINE_PREFIX_USED=
    fi
    if [ -n "${CALV_WINE_BED_HOLDER:-}" ]; then
        kill "$CALV_WINE_BED_HOLDER" 2>/dev/null
        # Ended by the signal, so not with 0: no reason to stop cleaning up.
        wait "$CALV_WINE_BED_HOLDER" 2>/dev/null || true
        unset CALV_WINE_BED_HOLDER
    fi
    if [ -n "${CALV_XVFB_PID:-}" ]; then
        kill "$CALV_XVFB_PID" 2>/dev/null
        wait "$CALV_XVFB_PID" 2>/dev/null
        CALV_XVFB_PID=
        unset DISPLAY
    fi
    if [ -n "${CALV_WINE_TMP:-}" ]; then
        rm -rf "$CALV_WINE_TMP"
    fi
    # A shell that goes on must not point programs at the removed prefix.
    unset WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES WINEPATH CALV_WINE_TMP
    return 0
}

# Xvfb picks a free display itself (-displayfd) and writes its number once it accepts connections.
calv_wine_start_xvfb() {
    local fd_file="$CALV_WINE_TMP/xvfb.display" n
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >"$CALV_WINE_TMP/xvfb.log" 2>&1 &
    CALV_XVFB_PID=$!
    for _ in $(seq 200); do
        n=$(tr -dc 0-9 <"$fd_file")
        if [ -n "$n" ] && [ -S "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$CALV_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    calv_wine_log "Xvfb did not start:"
    cat "$CALV_WINE_TMP/xvfb.log" >&2
    return 1
}

calv_wine_reg() {
    wine reg add "$@" /f >/dev/null || {
        calv_wine_log "wine reg add $* failed"
        return 1
    }
}

# The registry key $1 and its subkeys as Wine's "reg export" writes them (further arguments, such as
# /reg:32, go to reg), as UTF-8 text without CRs, whatever the caller's locale: under env -i it
# is ASCII, into which no converter can write Japanese. What "reg query" prints is in a console's
# code page; the file reg export writes is UTF-16LE.
calv_wine_reg_export() {
    local file status=0
    file=$(mktemp "$CALV_WINE_TMP/export.XXXXXX") || return 1
    wine reg export "$1" "Z:${file//\//\\}" "${@:2}" /y >/dev/null 2>&1 &&
        iconv -f UTF-16LE -t UTF-8 "$file" | sed '1s/^\xEF\xBB\xBF//; s/\r$//' || status=1
    rm -f "$file"
    return $status
}

# The data of value $2 of key $1 (its default value when $2 is empty), further arguments as for
# calv_wine_reg_export: a string unquoted, any other type as the export writes it (dword:0000000a).
# Prints nothing when the key or the value is missing.
calv_wine_reg_value() {
    calv_wine_reg_export "$1" "${@:3}" | perl -ne '
        BEGIN { $name = shift; $want = $name eq "" ? "@" : "\"" . $name =~ s/([\\"])/\\$1/gr . "\"" }
        # The key itself comes first, then its subkeys.
        exit if /^\[/ && $keys++;
        next unless s/^\Q$want\E=//;
        chomp;
        s/\\(.)/$1/g if s/^"(.*)"$/$1/;
        print "$_\n";
        exit' "$2"
}
# Scripts that the callers start read the registry the same way.
export -f calv_wine_reg_export calv_wine_reg_value

# All Wine commands of this shell join one set of namespaces in the bed (tools/wine-bed.sh hold),
# where Wine's server may reach into the programs it serves, and share its emulator, if any.
calv_wine_hold() {
    bash "$CALV_WINE_REPO/tools/wine-bed.sh" hold </dev/null >/dev/null 2>"$CALV_WINE_TMP/hold.log" &
    export CALV_WINE_BED_HOLDER=$!
    for _ in $(seq 100); do
        [ "$(readlink "/proc/$CALV_WINE_BED_HOLDER/root")" = / ] || return 0
        kill -0 "$CALV_WINE_BED_HOLDER" 2>/dev/null || break
        sleep 0.1
    done
    cat "$CALV_WINE_TMP/hold.log" >&2
    return 1
}

calv_wine_make_prefix() {
    calv_wine_hold || return 1
    mkdir -p "$WINEPREFIX" || return 1
    # The marker is written only after a complete copy, so a kept prefix whose copy failed
    # half-way is made again rather than used.
    if [ ! -f "$WINEPREFIX/.calv-booted" ]; then
        bash "$CALV_WINE_REPO/tools/wine-bed.sh" prefix "$WINEPREFIX" && touch "$WINEPREFIX/.calv-booted" || {
            calv_wine_log "could not make the prefix $WINEPREFIX"
            return 1
        }
    fi
    # Started first and kept alive: otherwise the server ends after each program and costs a
    # second to start again. It fails only when a server already runs for this prefix.
    wineserver -p 2>/dev/null
    calv_wine_settings "$([ -n "${CALV_XVFB_PID:-}" ] && echo N || echo Y)" &&
    calv_wine_restart_for_desktop &&
    calv_wine_keep_desktop
}

# Wine closes the desktop a second after its last program ends; the next window then starts
# a new desktop process that inherits that program's standard error. ctest waits for every
# holder of a test's output pipe, so each such test would take the desktop's ~20 s shutdown.
# A program that stays for the whole session keeps one desktop, started here with quiet output.
calv_wine_keep_desktop() {
    local fifo="$CALV_WINE_TMP/keeper.in" keeper
    mkfifo "$fifo" || return 1
    # cmd waits forever on a pipe that this end also holds open for writing.
    wine cmd.exe /k <>"$fifo" >/dev/null 2>&1 &
    keeper=$!
    # It counts as a user of the desktop once user32 is loaded.
    for _ in $(seq 200); do
        grep -qi 'user32\.dll' "/proc/$keeper/maps" 2>/dev/null && break
        kill -0 "$keeper" 2>/dev/null || break
        sleep 0.1
    done
    grep -qi 'user32\.dll' "/proc/$keeper/maps" 2>/dev/null || {
        calv_wine_log "the desktop keeper did not start"
        return 1
    }
    # Any window-making program brings up the desktop process (and waits for it).
    wine rundll32.exe >/dev/null 2>&1 || {
        calv_wine_log "the desktop did not start"
        return 1
    }
}

# The desktop made at boot is not a virtual one: a requested one needs a new server.
calv_wine_restart_for_desktop() {
    [ -n "${CALV_WINE_DESKTOP:-}" ] || return 0
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wineserver -p 2>/dev/null
    return 0
}

# $1: Y when a window manager places the windows, N on the bare virtual display, where each
# window close would otherwise stall for up to two seconds waiting for a manager.
calv_wine_settings() {
    calv_wine_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" &&
    if [ -n "${CALV_WINE_DESKTOP:-}" ]; then
        # One Wine desktop window: Wine then moves the keyboard focus itself, with no race
        # against the X server when a message box closes and gives the activation back.
        calv_wine_reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default &&
        calv_wine_reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$CALV_WINE_DESKTOP"
    fi
}

# $1: a build folder. Its Perl bridge (a Windows perl.exe) is what the program's "perl" finds on
# the system's search for programs; Z: is the prefix's drive for the Unix root.
calv_wine_build() {
    local bridge=$1/bridge
    [ "${1#/}" != "$1" ] || bridge=$PWD/$bridge
    export WINEPATH="Z:${bridge//\//\\}"
}

calv_wine_setup() {
    local started
    started=$(date +%s%N)
    CALV_WINE_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd) || return 1
    if [ -z "${CALV_DEPS_READY:-}" ]; then
        bash "$CALV_WINE_REPO/tools/install-deps.sh" || return 1
        export CALV_DEPS_READY=1
    fi
    # Every wine, wineserver and wineboot is the test bed's (tools/wine-bed.sh).
    export PATH="$CALV_WINE_REPO/tools/bed:$PATH"
    CALV_WINE_TMP=$(mktemp -d "${TMPDIR:-/tmp}/calv-wine.XXXXXX") || return 1
    export CALV_WINE_TMP
    trap calv_wine_cleanup EXIT
    # A script stopped by Ctrl-C or kill still cleans up; an interactive shell keeps its own handling.
    case $- in
        *i*) ;;
        *) trap 'exit 130' INT; trap 'exit 143' TERM ;;
    esac

    if [ -z "${DISPLAY:-}" ]; then
        calv_wine_start_xvfb || return 1
    fi

    export WINEPREFIX="${CALV_WINEPREFIX:-$CALV_WINE_TMP/prefix}"
    CALV_WINE_PREFIX_USED=$WINEPREFIX
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    calv_wine_build "$CALV_WINE_REPO/build/x64"

    calv_wine_make_prefix || return 1
    local ms=$((($(date +%s%N) - started) / 1000000))
    calv_wine_log "ready in $((ms / 1000)).$((ms % 1000 / 100)) s (DISPLAY=$DISPLAY, WINEPREFIX=$WINEPREFIX)"
}

calv_wine_setup || {
    calv_wine_log "setup failed"
    calv_wine_cleanup
    false
}
