#!/usr/bin/env bash
# The test bed as a plain user uses it once root has installed it: run as root, this drops to
# the nobody user (no account, no home, no sudo: a sudo on its PATH fails the run), with a
# TMPDIR outside /tmp, in a clone of its own (a copy of this checkout as it stands, wherever
# root keeps it), and runs tools/install-deps.sh, one Wine command and the unit tests of
# build/x64 that way; with --release, also the release test (tests/release/packages.sh).
# Nothing of that user may stay behind in the folders users share.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "plain-user: run as root; it drops to the nobody user itself" >&2; exit 2; }
release=
[ "${1:-}" != --release ] || release=1
shared=(/tmp /var/tmp "$(dirname "${CALV_WINE_BED:-/var/cache/calvendrake/wine-bed}")")
leftovers() { find "${shared[@]}" -xdev -user nobody ! -path "$work*" ! -path "$clone*" 2>/dev/null | sort; }

work=$(mktemp -d /var/tmp/calv-plain-user.XXXXXX)
# The user's clone, where a user's clone may lie: in a top folder the bed has a mount point for.
clone=$(mktemp -d /tmp/calv-plain-user.XXXXXX)
trap 'rm -rf "$work" "$clone"' EXIT
chmod 755 "$work" "$clone"
mkdir "$work/bin" "$work/tmp"
printf '#!/bin/sh\necho "plain-user: sudo $*: a plain user must need no sudo" >&2\nexit 1\n' >"$work/bin/sudo"
chmod 755 "$work/bin/sudo" && chown nobody:nogroup "$work/tmp"
# Root's checkout may lie where nobody may not go (in a folder of mode 700, as root's home is):
# here it is always reached through such a folder. The user's clone has its history and, over
# it, the files of this checkout as they are now; its build is its own, but for the unit tests,
# which it would build alike.
mkdir -m 700 "$work/root-only"
ln -s "$repo" "$work/root-only/checkout"
source=$work/root-only/checkout
git clone -q --no-hardlinks --no-checkout "$source" "$clone/repo"
git -C "$source" ls-files -coz --exclude-standard |
    tar -C "$source" --null --ignore-failed-read -T - -cf - | tar -xf - -C "$clone/repo"
git -C "$clone/repo" reset -q
mkdir -p "$clone/repo/build/x64/bin"
cp "$source/build/x64/bin/unit_tests.exe" "$clone/repo/build/x64/bin/"
chown -R nobody:nogroup "$clone/repo"
before=$(leftovers)

echo "== test: as the nobody user, without sudo${release:+, the release included} =="
setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$work/bin:/usr/local/bin:/usr/bin:/bin" \
    HOME=/nonexistent TMPDIR="$work/tmp" ${CALV_WINE_BED:+CALV_WINE_BED="$CALV_WINE_BED"} bash -c '
    set -euo pipefail
    cd "$1"
    bash tools/install-deps.sh
    source tools/wine-env.sh
    wine cmd /c mkdir "C:\\owner"
    [ "$(stat -c %U "$WINEPREFIX/drive_c/owner")" = nobody ] || { echo "plain-user: Wine wrote as another user" >&2; exit 1; }
    wine build/x64/bin/unit_tests.exe --gtest_brief=1
    [ -z "$2" ] || bash tests/release/packages.sh
' sh "$clone/repo" "$release"

after=$(leftovers)
[ "$after" = "$before" ] || { echo "plain-user: left behind:" >&2; comm -13 <(echo "$before") <(echo "$after") >&2; exit 1; }
