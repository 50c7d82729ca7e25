#!/usr/bin/env bash
# The Wine that runs both Calvendrake programs, the 64-bit one and the 32-bit one users get,
# on every x86-64 machine: Debian 13's Wine 10 in a root folder of its own (it needs Debian 13's
# C library), in its WoW64 mode, which runs 32-bit Windows code inside 64-bit processes. No
# 32-bit Linux program is involved, so a kernel without 32-bit support runs it too.
# Where a machine offers no 32-bit code segment at all (some hypervisors do not), WoW64 cannot
# run either: the bed then runs Wine's own 32-bit loader under QEMU's user-mode emulation,
# registered for 32-bit programs in the command's own user namespace only.
#   tools/wine-bed.sh install   builds the bed and a booted prefix to copy, where missing (as root,
#                               through sudo when there is one; a ready bed needs neither)
#   tools/wine-bed.sh prefix DIR  makes DIR a booted Wine prefix, a copy of that one
#   tools/wine-bed.sh apt-source  prints the Debian mirror and the proxy the bed is built with
#   tools/wine-bed.sh hold      (a plain user) enters the bed and waits there: while it runs, Wine
#                               commands given its process in CALV_WINE_BED_HOLDER join it
#   tools/wine-bed.sh emulated  succeeds where the bed runs 32-bit programs under QEMU
#   tools/bed/wine ...          (also wineserver, wineboot) run that command inside the bed
# The bed lives outside the checkout, in $CALV_WINE_BED (default /var/cache/calvendrake/wine-bed-<recipe>),
# so every clone on the machine shares it, and clones of another recipe keep theirs. Each command enters it through a private mount
# namespace: its mounts vanish with its last process, so nothing is ever left mounted. Root
# builds the bed once; after that every user enters it through a user namespace of their own.
set -euo pipefail

# Raised whenever the recipe below changes: a bed of the new recipe is then built beside the old.
recipe="trixie wine10 wow64 qemu r3"
bed=${CALV_WINE_BED:-/var/cache/calvendrake/wine-bed-${recipe##* }}
here=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")" && pwd)
repo=$(dirname "$here")

log() { echo "wine-bed: $*" >&2; }

# The host folder mounted into the bed so that $1, a folder, means the same inside and outside:
# its top-level folder, or the folder itself where that top folder is one the bed's own system
# lives in.
mount_of() {
    local top=${1#/}
    top=/${top%%/*}
    case $top in
        /usr | /var | /etc | /lib* | /bin | /sbin | /boot | /run) echo "$1" ;;
        *) echo "$top" ;;
    esac
}

# The caller's folders the bed needs, one a line, none inside another or inside /tmp (mounted
# anyway, with the X display's socket folder /tmp/.X11-unix): the checkout, $TMPDIR, and with
# a display the folder of its X authority file.
caller_mounts() {
    local dirs=("$repo") dir mount done_dir seen=()
    [ -z "${TMPDIR:-}" ] || dirs+=("$(readlink -f "$TMPDIR")")
    if [ -n "${DISPLAY:-}" ]; then
        local authority=${XAUTHORITY:-${HOME:-/}/.Xauthority}
        [ ! -e "$authority" ] || dirs+=("$(dirname "$(readlink -f "$authority")")")
    fi
    for dir in "${dirs[@]}"; do
        mount=$(mount_of "$dir")
        for done_dir in /tmp "${seen[@]}"; do
            case $mount/ in "$done_dir"/*) continue 2 ;; esac
        done
        seen+=("$mount")
        echo "$mount"
    done
}

# Where a user cannot make the user namespace that entering the bed takes: one line saying so.
userns_refused() {
    local setting file
    for setting in kernel.unprivileged_userns_clone=0 user.max_user_namespaces=0 \
        kernel.apparmor_restrict_unprivileged_userns=1; do
        file=/proc/sys/${setting%=*}
        file=${file//.//}
        [ "$(cat "$file" 2>/dev/null)" = "${setting#*=}" ] || continue
        log "this machine lets no user make a user namespace ($setting), which entering the bed takes:" \
            "as root, run: sysctl ${setting%=*}=${setting#*=}; or run this as root"
        return 0
    done
    return 1
}

# Whether this machine lacks the 32-bit code segment that WoW64 needs (the probe is built with the bed).
needs_emulation() {
    [ -x "$1/.cs32-probe" ] && ! ("$1/.cs32-probe"; exit $?) 2>/dev/null
}

# Runs "$@" in the bed $1 with /proc, /sys, /dev, /tmp (the X socket, Wine's server socket,
# temporary prefixes) and caller_mounts at their own paths. The bed's /run and /var/tmp get
# empty folders of their own, where mount points for the caller's folders come and go.
# Without root, a user namespace gives the rights to mount and change root; the caller keeps
# its user id, so what it leaves in shared folders is its own, as if it had run Wine itself.
# With emulation, root too gets a user namespace, which gets its own registration of QEMU;
# registering takes root in that namespace, so the caller is mapped to it. What the command
# leaves on disk is still the caller's own.
enter() {
    local root=$1 mounts emulate=
    shift
    mounts=$(caller_mounts)
    needs_emulation "$root" && emulate=1
    local as_user=()
    if [ "$(id -u)" -ne 0 ] || [ -n "$emulate" ]; then
        userns_refused && exit 125
        as_user=(--map-current-user --keep-caps)
        [ -z "$emulate" ] || as_user=(--map-root-user)
    fi
    # No --fork: the command keeps this process's ID, so callers can wait for it and kill it.
    exec unshare "${as_user[@]}" --mount --propagation private -- /bin/sh -c '
        root=$1 mounts=$2 cwd=$3 emulate=$4
        shift 4
        fail() { echo "wine-bed: $*" >&2; exit 125; }
        if [ -n "$emulate" ]; then
            # Any 32-bit x86 ELF program; F: the emulator is opened now, so it is found after the change of root too.
            mount -t binfmt_misc calv "$root/.binfmt" &&
            printf "%s" ":calv-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$root/usr/bin/qemu-i386:F" >"$root/.binfmt/register" ||
                fail "cannot register the emulator for 32-bit programs"
        fi
        mount --rbind /proc "$root/proc" || fail "cannot mount into $root here (no user namespace rights?): run as root"
        for dir in /sys /dev /tmp; do mount --rbind "$dir" "$root$dir" || fail "cannot mount $dir"; done
        for dir in /run /var/tmp; do mount -t tmpfs -o mode=755 tmpfs "$root$dir" || fail "cannot mount $dir"; done
        echo "$mounts" | while IFS= read -r dir; do
            [ -n "$dir" ] || continue
            [ -d "$root$dir" ] || mkdir -p "$root$dir" 2>/dev/null ||
                fail "$dir has no mount point in the bed: run tools/install-deps.sh once as root"
            mount --rbind "$dir" "$root$dir" || fail "cannot mount $dir"
        done || exit 125
        exec /usr/sbin/chroot "$root" /usr/bin/env PATH=/usr/sbin:/usr/bin:/sbin:/bin /bin/sh -c "cd \"\$0\" 2>/dev/null || cd /; exec \"\$@\"" "$cwd" "$@"
    ' sh "$root" "$mounts" "$PWD" "$emulate" "$@"
}

# Wine's commands, as the symlinks in tools/bed/ name them. Always through Wine's 64-bit loader:
# Debian's wrapper would start the 32-bit one first, which only runs where 32-bit programs do.
# The 64-bit loader hands a 32-bit program to the 32-bit loader, or runs it in WoW64 without one.
run_wine() {
    if [ ! -f "$bed/.recipe" ]; then
        log "no Wine test bed in $bed: run tools/install-deps.sh (once as root)"
        exit 125
    fi
    # Wine takes its code page from the locale; ja_JP.UTF-8 (code page 932) is generated inside
    # the bed. CALV_WINE_LOCALE names another for one command, e.g. C.UTF-8 for code page 1252.
    # Wine 10 aborts ("free(): invalid pointer") whenever TMPDIR is set: its server folder goes
    # to /tmp, while the caller's TMPDIR is mounted, as the prefixes made there need.
    local wine=("$1")
    case $1 in
        wine) wine=(/usr/lib/wine/wine64) ;;
        wineboot) wine=(/usr/lib/wine/wine64 wineboot) ;;
    esac
    local command=(env -u LOCPATH -u TMPDIR LC_ALL="${CALV_WINE_LOCALE:-ja_JP.UTF-8}" WINELOADER=/usr/lib/wine/wine64 "${wine[@]}" "${@:2}")
    # The kernel lets no process reach into one of a sibling user namespace, as Wine's server
    # does to write into a program's memory: the commands of a session share the holder's.
    if [ -n "${CALV_WINE_BED_HOLDER:-}" ] && kill -0 "$CALV_WINE_BED_HOLDER" 2>/dev/null; then
        local user=()
        [ "$(readlink "/proc/$CALV_WINE_BED_HOLDER/ns/user")" = "$(readlink /proc/self/ns/user)" ] || user=(--user)
        exec nsenter --target "$CALV_WINE_BED_HOLDER" "${user[@]}" --mount --preserve-credentials --root --wdns=/ \
            /usr/bin/env PATH=/usr/sbin:/usr/bin:/sbin:/bin /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "${command[@]}"
    fi
    enter "$bed" "${command[@]}"
}

# The Debian archive and the HTTP proxy this machine's apt uses, as two lines (the second
# empty without a proxy): the first enabled "deb" source for this machine's own release with
# the component main, from apt's source lists in one-line form (sources.list, *.list) or
# deb822 form (*.sources); the proxy is apt's Acquire::http::Proxy, else $http_proxy.
# APT_CONFIG (a file naming another Dir::Etc) points it at other lists, as for apt itself.
apt_source() {
    local list= parts= proxy= codename file files=()
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d proxy Acquire::http::Proxy)"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    for file in "$list" "$parts"*.list "$parts"*.sources; do
        [ ! -f "$file" ] || files+=("$file")
    done
    awk -v codename="$codename" '
        function pick(types, uris, suites, components,    n, i, u) {
            if (types !~ /(^| )deb( |$)/ || (" " suites " ") !~ (" " codename " ") || (" " components " ") !~ / main /) return
            split(uris, u, " ")
            print u[1]; found = 1; exit
        }
        function field(name) { return stanza[tolower(name)] }
        function flush() {
            if (field("enabled") != "no") pick(field("types"), field("uris"), field("suites"), field("components"))
            delete stanza; key = ""
        }
        FNR == 1 && NR > 1 && FILENAME != previous { flush() }
        { previous = FILENAME }
        /^[ \t]*#/ { next }
        { sub(/[ \t]#.*/, "") }
        FILENAME ~ /\.sources$/ {
            if ($0 ~ /^[ \t]*$/) { flush(); next }
            if ($0 ~ /^[ \t]/ && key != "") { stanza[key] = stanza[key] " " $0; next }
            key = tolower(substr($0, 1, index($0, ":") - 1))
            stanza[key] = substr($0, index($0, ":") + 1)
            gsub(/^[ \t]+|[ \t]+$/, "", stanza[key])
            next
        }
        $1 == "deb" {
            line = $0
            sub(/^[ \t]*deb[ \t]+/, "", line)
            sub(/^\[[^]]*\][ \t]*/, "", line)
            n = split(line, w, /[ \t]+/)
            components = ""
            for (i = 3; i <= n; i++) components = components " " w[i]
            pick("deb", w[1], w[2], components)
        }
        END { if (!found) flush(); if (!found) exit 1 }
    ' "${files[@]}" /dev/null || {
        log "no source for Debian $codename (main) in apt's lists $list and $parts: apt cannot install Debian's packages here"
        return 1
    }
    [ -n "$proxy" ] && [ "$proxy" != DIRECT ] || proxy=${http_proxy:-}
    echo "$proxy"
}

# Inside a new root: Wine 10 for x86-64 and its 32-bit loader (run natively or emulated), with a
# copy of the 32-bit Windows DLLs beside the 64-bit ones for WoW64, QEMU's user-mode emulator,
# Perl for the bridge, the Japanese locale and font. Fetched from the mirror and through the proxy
# this machine's apt uses (apt_source).
provision() {
    local root=$1 source mirror
    source=$(apt_source) || return 1
    mirror=$(sed -n 1p <<<"$source")
    export http_proxy
    http_proxy=$(sed -n 2p <<<"$source")
    log "from $mirror${http_proxy:+ through $http_proxy}"
    debootstrap --variant=minbase trixie "$root" "$mirror" >"$root.log" 2>&1 || {
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

# Mount points in the bed $1 for this checkout and for every top folder of this machine that
# is not a system one, so that any user's checkout and temporary folder can be mounted later.
make_mount_points() {
    local top
    for top in /*/ "$(mount_of "$repo")"; do
        top=${top%/}
        [ "$(mount_of "$top/x")" = "$top" ] || [ "$top" = "$(mount_of "$repo")" ] || continue
        [ -d "$1$top" ] || mkdir -p "$1$top"
    done
}

# The bed of this recipe, with a mount point for this checkout, or one that entering makes: in
# /var/tmp and /run, which each command gets empty of its own (a clone in TMPDIR=/var/tmp).
ready() {
    local mount
    mount=$(mount_of "$repo")
    [ "$(cat "$bed/.recipe" 2>/dev/null)" = "$recipe" ] &&
        case $mount in /var/tmp/* | /run/*) ;; *) [ -d "$bed$mount" ] ;; esac
}

install_bed() {
    if [ "$(cat "$bed/.recipe" 2>/dev/null)" = "$recipe" ]; then
        make_mount_points "$bed"
        return 0
    fi
    local started=$SECONDS new=$bed.new
    log "building the Wine test bed in $bed (Debian 13, Wine 10; about 3.3 GB, 2-3 minutes)"
    rm -rf "$new"
    provision "$new"
    make_mount_points "$new"
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
                ready && exit 0
                # Building a root folder takes root, once per machine.
                if [ "$(id -u)" -ne 0 ]; then
                    if ! command -v sudo >/dev/null; then
                        log "the Wine test bed in $bed is missing or out of date: run once as root: bash $repo/tools/install-deps.sh"
                        exit 1
                    fi
                    # sudo drops the caller's environment.
                    exec sudo CALV_WINE_BED="$bed" http_proxy="${http_proxy:-}" bash "$0" install
                fi
                mkdir -p "$(dirname "$bed")"
                # One builder at a time: clones on one machine share the bed.
                exec 9>"$(dirname "$bed")/.lock"
                flock 9
                install_bed
                ;;
            prefix)
                [ -f "$bed/.recipe" ] || { log "no Wine test bed in $bed: run tools/install-deps.sh"; exit 1; }
                # Without the file naming the server folder of the boot, which is root's alone.
                find "$bed/calv-prefix" -mindepth 1 -maxdepth 1 ! -name wineserver -exec cp -a -t "$2/" {} +
                ;;
            apt-source) apt_source ;;
            hold) enter "$bed" sleep infinity ;;
            emulated) needs_emulation "$bed" ;;
            *)
                echo "usage: tools/wine-bed.sh install | prefix DIR | apt-source | hold | emulated" >&2
                exit 2
                ;;
        esac
        ;;
esac
