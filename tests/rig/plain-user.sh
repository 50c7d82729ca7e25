#!/usr/bin/env bash
# The test bed as a plain user uses it once root has installed it: run as root, this drops to
# the nobody user (no account, no home, no sudo: a sudo on its PATH fails the run), with a
# TMPDIR outside /tmp, and runs tools/install-deps.sh, one Wine command and the unit tests of
# build/x64 that way. Nothing of that user may stay behind in the folders users share.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "plain-user: run as root; it drops to the nobody user itself" >&2; exit 2; }
shared=(/tmp /var/tmp "$(dirname "${CALV_WINE_BED:-/var/cache/calvendrake/wine-bed}")")
leftovers() { find "${shared[@]}" -xdev -user nobody ! -path "$work*" 2>/dev/null | sort; }

work=$(mktemp -d /var/tmp/calv-plain-user.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir "$work/bin" "$work/tmp"
printf '#!/bin/sh\necho "plain-user: sudo $*: a plain user must need no sudo" >&2\nexit 1\n' >"$work/bin/sudo"
chmod 755 "$work/bin/sudo" && chown nobody:nogroup "$work/tmp"
before=$(leftovers)

echo "== test: as the nobody user, without sudo =="
setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$work/bin:/usr/local/bin:/usr/bin:/bin" \
    HOME=/nonexistent TMPDIR="$work/tmp" ${CALV_WINE_BED:+CALV_WINE_BED="$CALV_WINE_BED"} bash -c '
    set -euo pipefail
    cd "$1"
    bash tools/install-deps.sh
    source tools/wine-env.sh
    wine cmd /c mkdir "C:\\owner"
    [ "$(stat -c %U "$WINEPREFIX/drive_c/owner")" = nobody ] || { echo "plain-user: Wine wrote as another user" >&2; exit 1; }
    wine build/x64/bin/unit_tests.exe --gtest_brief=1
' sh "$repo"

after=$(leftovers)
[ "$after" = "$before" ] || { echo "plain-user: left behind:" >&2; comm -13 <(echo "$before") <(echo "$after") >&2; exit 1; }
