#!/usr/bin/env bash
# The Wine that runs both Calvendrake programs, the 64-bit one and the 32-bit one users get,
# on every x86-64 machine: Debian 13's Wine 10 in a root folder of its own (it needs Debian 13's
# C library), in its WoW64 mode, which runs 32-bit Windows code inside 64-bit processes. No
# 32-bit Linux program is involved, so a kernel without 32-bit support runs it too.
#   tools/wine-bed.sh install   builds the bed and a booted prefix to copy, where missing
#   tools/wine-bed.sh prefix DIR  makes DIR a booted Wine prefix, a copy of that one
#   tools/wine-bed.sh hold      holds a session's namespaces (see enter; tools/wine-env.sh starts it)
#   tools/bed/wine ...          (also wineserver, wineboot) run that command inside the bed
# Where a machine offers no 32-bit code segment at all (some hypervisors do not), WoW64 cannot
# run either: the bed then runs Wine's own 32-bit loader under QEMU's user-mode emulation,
# registered for 32-bit programs in the command's own namespace only.
# The bed lives outside the checkout, in $CALV_WINE_BED (default /var/cache/calvendrake/wine-bed-<recipe>),
# so every clone on the machine shares it, and clones of another recipe keep theirs. Each command
# enters it through a private mount namespace: its mounts vanish with its last process, so nothing
# is ever left mounted.
set -euo pipefail

# Raised whenever the recipe below changes: a bed of the new recipe is then built beside the old.
recipe="trixie wine10 wow64 qemu r3"
bed=${CALV_WINE_BED:-/var/cache/calvendrake/wine-bed-${recipe##* }}
here=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")" && pwd)
repo=$(dirname "$here")

log() { echo "wine-bed: $*" >&2; }

# The folder of the checkout that is mounted into the bed, so that every path under it (builds,
# examples, a kept prefix) means the same inside and outside: its top-level one, or the
# checkout itself where that top folder is one the bed's own system lives in.
repo_mount() {
    local top=${repo#/}
    top=/${top%%/*}
    case $top in
        /usr | /var | /etc | /lib* | /bin | /sbin | /boot | /run) echo "$repo" ;;
        *) echo "$top" ;;
    esac
}

# Whether this machine lacks the 32-bit code segment that WoW64 needs (the probe is built with the bed).
needs_emulation() {
    [ -x "$1/.cs32-probe" ] && ! ("$1/.cs32-probe"; exit $?) 2>/dev/null
}

# Run inside a new mount namespace as "sh -c" with the bed, the checkout's folder (repo_mount),
# whether to emulate, then a command: mounts /proc, /sys, /dev, /tmp (the X socket, Wine's server
# socket, temporary prefixes) and that folder into the bed at their own paths, registers QEMU for
# 32-bit programs where the machine needs it, and runs the command.
# shellcheck disable=SC2016
prepare_namespace='
    root=$1 top=$2 emulate=$3
    shift 3
    if [ -n "$emulate" ]; then
        # Any 32-bit x86 ELF program; F: the emulator is opened now, so it is found after the change of root too.
        mount -t binfmt_misc calv "$root/.binfmt" &&
        printf "%s" ":calv-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$root/usr/bin/qemu-i386:F" >"$root/.binfmt/register" || exit 125
    fi
    for dir in /proc /sys /dev /tmp "$top"; do
        [ -d "$root$dir" ] || mkdir -p "$root$dir" || exit 125
        mount --rbind "$dir" "$root$dir" || exit 125
    done
    exec "$@"
'

# Runs "$@" as root in the bed $1. Inside a session of tools/wine-env.sh, every command joins the
# session's namespaces (CALV_BED_HOLDER, from "hold"): the Wine server may then read and write the
# memory of every Wine process, as it must, and all of them share the mounts and the emulation.
# Otherwise the command gets namespaces of its own. Without root, or with emulation, a user
# namespace gives the rights to mount, register the emulator and change root.
# No --fork: the command keeps this process's ID, so callers can wait for it and kill it.
enter() {
    local root=$1
    shift
    local run_in_root=(/usr/sbin/chroot "$root" /usr/bin/env PATH=/usr/sbin:/usr/bin:/sbin:/bin /bin/sh -c
        'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "$@")
    if [ -n "${CALV_BED_HOLDER:-}" ] && [ -e "/proc/$CALV_BED_HOLDER/ns/mnt" ]; then
        exec nsenter --target "$CALV_BED_HOLDER" --user --mount -- "${run_in_root[@]}"
    fi
    local emulate= as_user=()
    needs_emulation "$root" && emulate=1
    [ "$(id -u)" -eq 0 ] && [ -z "$emulate" ] || as_user=(--user --map-root-user)
    exec unshare "${as_user[@]}" --mount --propagation private -- /bin/sh -c "$prepare_namespace" sh \
        "$root" "$(repo_mount)" "$emulate" "${run_in_root[@]}"
}

# The namespaces of a session, held by a process that only waits; see enter.
hold() {
    local emulate=
    needs_emulation "$bed" && emulate=1
    exec unshare --user --map-root-user --mount --propagation private -- /bin/sh -c "$prepare_namespace" sh \
        "$bed" "$(repo_mount)" "$emulate" sleep infinity
}

# Wine's commands, as the symlinks in tools/bed/ name them. Always through Wine's 64-bit loader:
# Debian's wrapper would start the 32-bit one first, which only runs where 32-bit programs do.
# The 64-bit loader hands a 32-bit program to the 32-bit loader, or runs it in WoW64 without one.
run_wine() {
    if [ ! -f "$bed/.recipe" ]; then
        log "no Wine test bed in $bed: run tools/install-deps.sh"
        exit 125
    fi
    local command=("$1")
    case $1 in
        wine) command=(/usr/lib/wine/wine64) ;;
        wineboot) command=(/usr/lib/wine/wine64 wineboot) ;;
    esac
    # Wine takes its code page from the locale; ja_JP.UTF-8 is generated inside the bed.
    enter "$bed" env -u LOCPATH LC_ALL=ja_JP.UTF-8 WINELOADER=/usr/lib/wine/wine64 "${command[@]}" "${@:2}"
}

# Inside a new root: Wine 10 for x86-64 and its 32-bit loader (run natively or emulated), with a
# copy of the 32-bit Windows DLLs beside the 64-bit ones for WoW64, QEMU's user-mode emulator,
# Perl for the bridge, the Japanese locale and font.
provision() {
    local root=$1
    debootstrap --variant=minbase trixie "$root" http://deb.debian.org/debian >"$root.log" 2>&1 || {
        tail -n 20 "$root.log" >&2
        return 1
    }
    (enter "$root" /bin/sh -ec '
        export DEBIAN_FRONTEND=noninteractive
        dpkg --add-architecture i386
        apt-get update -q
        apt-get install -y -q --no-install-recommends wine wine64 wine32:i386 libwine fonts-wine locales perl \
            fonts-ipafont-gothic qemu-user
        cp -a /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/
        apt-get clean
        localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
    ') >>"$root.log" 2>&1 || {
        tail -n 20 "$root.log" >&2
        return 1
    }
}

# A booted prefix that each test run copies (seconds) instead of booting its own (half a minute).
make_template() {
    local root=$1 prefix=$1/calv-prefix
    (enter "$root" env LC_ALL=ja_JP.UTF-8 WINEPREFIX=/calv-prefix WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" /bin/sh -ec '
        wine=/usr/lib/wine/wine64
        $wine wineboot -i
        # The caption buttons are drawn with Marlett, which Debian installs where Wine does not look.
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        reg() { $wine reg add "$@" /f >/dev/null; }
        # A crash ends the program instead of opening a dialog that waits for nobody.
        reg "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0
        # Proportional Japanese faces for the dialog font and its relatives.
        reg "HKCU\\Software\\Wine\\Fonts\\Replacements" /v "ＭＳ Ｐゴシック" /d IPAPGothic
        reg "HKCU\\Software\\Wine\\Fonts\\Replacements" /v "ＭＳ ゴシック" /d IPAGothic
        reg "HKCU\\Software\\Wine\\Fonts\\Replacements" /v "MS UI Gothic" /d IPAPGothic
        wineserver -w
    ') >>"$root.log" 2>&1 || {
        tail -n 20 "$root.log" >&2
        return 1
    }
    [ -f "$prefix/system.reg" ]
}

# The stand-in for the dialog face "ＭＳ Ｐゴシック", laid out as Windows lays out the real one.
# MS PGothic's line is exactly its em. IPAPGothic's is 7.5% taller (a Windows descent of 401
# against its typographic 246), so every dialog unit would stand a twelfth taller than on
# Windows, and a window sized in pixels would cut through controls that Windows shows whole.
# $1: a new bed, whose prefix gets a copy with the typographic descent, one version newer,
# which Wine then takes instead of the system's file of the same name.
stand_in_font() {
    python3 - "$1/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf" "$1/calv-prefix/drive_c/windows/Fonts/ipagp.ttf" <<'EOF'
import struct, sys
font = bytearray(open(sys.argv[1], 'rb').read())
count = struct.unpack_from('>H', font, 4)[0]
tables = {bytes(font[12 + 16 * i:16 + 16 * i]): struct.unpack_from('>I', font, 20 + 16 * i)[0] for i in range(count)}
os2, head = tables[b'OS/2'], tables[b'head']
# OS/2 usWinDescent takes the size of sTypoDescender; head fontRevision goes up by 1.0.
struct.pack_into('>H', font, os2 + 76, -struct.unpack_from('>h', font, os2 + 70)[0])
struct.pack_into('>I', font, head + 4, struct.unpack_from('>I', font, head + 4)[0] + 0x10000)
open(sys.argv[2], 'wb').write(font)
EOF
}

install_bed() {
    if [ "$(cat "$bed/.recipe" 2>/dev/null)" = "$recipe" ]; then
        # A checkout in another top folder needs its mount point.
        [ -d "$bed$(repo_mount)" ] || mkdir -p "$bed$(repo_mount)"
        return 0
    fi
    local started=$SECONDS new=$bed.new
    log "building the Wine test bed in $bed (Debian 13, Wine 10; about 3.3 GB, 2-3 minutes)"
    rm -rf "$new"
    provision "$new"
    [ -d "$new$(repo_mount)" ] || mkdir -p "$new$(repo_mount)"
    cc -static -no-pie -O1 -o "$new/.cs32-probe" "$here/cs32-probe.c"
    mkdir -p "$new/.binfmt"
    make_template "$new"
    stand_in_font "$new"
    echo "$recipe" >"$new/.recipe"
    rm -rf "$bed"
    mv "$new" "$bed"
    mv "$new.log" "$bed.log"
    log "ready in $((SECONDS - started)) s, $(du -sh "$bed" | cut -f1)"
}

case "$(basename "$0")" in
    wine | wineserver | wineboot) run_wine "$(basename "$0")" "$@" ;;
    *)
        case "${1:-}" in
            install)
                # Building a root folder takes root; sudo drops the caller's environment.
                [ "$(id -u)" -eq 0 ] || exec sudo CALV_WINE_BED="$bed" bash "$0" install
                mkdir -p "$(dirname "$bed")"
                # One builder at a time: clones on one machine share the bed.
                exec 9>"$(dirname "$bed")/.lock"
                flock 9
                install_bed
                ;;
            hold) hold ;;
            prefix)
                [ -f "$bed/.recipe" ] || { log "no Wine test bed in $bed: run tools/install-deps.sh"; exit 1; }
                cp -a "$bed/calv-prefix/." "$2/"
                ;;
            *)
                echo "usage: tools/wine-bed.sh install | hold | prefix DIR" >&2
                exit 2
                ;;
        esac
        ;;
esac
