#!/usr/bin/env bash
# Builds the 32-bit program, the one users get, and makes its release in build/release/:
#   Calvendrake-<version>-x86.zip  Calvendrake.exe, the Japanese read-me and the examples; runs where unpacked
#   Calvendrake-<version>-x86.msi  the per-machine installer (tools/release/Calvendrake.wxs)
#   SHA256SUMS                     for both
# The version is the one of project() in CMakeLists.txt. Every time stamp is the last commit's
# (or SOURCE_DATE_EPOCH's), so one commit always gives the same bytes.
# Signing: with CALV_SIGN_PKCS12 naming a PKCS#12 file (its password in CALV_SIGN_PASSWORD), the
# program and the installer are signed, time-stamped by CALV_SIGN_TIMESTAMP (a URL) when that
# server answers, and without a time stamp when it does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash tools/install-deps.sh

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
timestamp=${CALV_SIGN_TIMESTAMP:-http://timestamp.digicert.com}
out=$repo/build/release
stage=$out/stage

LC_ALL=C.UTF-8 cmake --preset x86 >/dev/null
LC_ALL=C.UTF-8 cmake --build --preset x86 -j2 --target Calvendrake
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/x86/CMakeCache.txt)
name=Calvendrake-$version-x86

# Signs file $1 in place; the signing time is the commit's, so a signed file is reproducible too.
sign() {
    [ -n "${CALV_SIGN_PKCS12:-}" ] || return 0
    if ! osslsign "$1" -ts "$timestamp" 2>/dev/null; then
        echo "release: no time stamp from $timestamp: $(basename "$1") is signed without one" >&2
        osslsign "$1"
    fi
    mv "$1.signed" "$1"
}
osslsign() {
    local file=$1
    shift
    rm -f "$file.signed"
    osslsigncode sign -pkcs12 "$CALV_SIGN_PKCS12" -readpass <(printf %s "${CALV_SIGN_PASSWORD:-}") \
        -n Calvendrake -h sha256 -time "$SOURCE_DATE_EPOCH" "$@" -in "$file" -out "$file.signed" >/dev/null
}
[ -n "${CALV_SIGN_PKCS12:-}" ] || echo "release: CALV_SIGN_PKCS12 is not set: the packages are not signed" >&2

rm -rf "$out"
mkdir -p "$stage/examples"
cp build/x86/bin/Calvendrake.exe res/Calvendrake.ico "$stage/"
cp examples/part1.ncd examples/renumber.pl "$stage/examples/"
# Notepad on every Windows from 7 on reads code page 932 with CR LF line ends.
python3 -c 'import sys; open(sys.argv[3], "wb").write(open(sys.argv[1], encoding="utf-8").read()
    .replace("@VERSION@", sys.argv[2]).replace("\n", "\r\n").encode("cp932"))' \
    tools/release/README-ja.txt "$version" "$stage/README-ja.txt"
sign "$stage/Calvendrake.exe"
# The installer's cabinet keeps the files' times.
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# Entries in a fixed order with the commit's time.
python3 - "$out/$name.zip" "$stage" Calvendrake.exe README-ja.txt examples/part1.ncd examples/renumber.pl <<'EOF'
import os, sys, time, zipfile
archive, stage, names = sys.argv[1], sys.argv[2], sys.argv[3:]
when = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(archive, "w") as z:
    for name in names:
        entry = zipfile.ZipInfo(name, when)
        entry.external_attr = 0o644 << 16
        with open(os.path.join(stage, name), "rb") as f:
            z.writestr(entry, f.read(), zipfile.ZIP_DEFLATED, 9)
EOF

# One product code per version, the same on every build of it.
product_code=$(python3 -c 'import sys, uuid
print(str(uuid.uuid5(uuid.UUID("EF24BF81-2ED0-4903-90DB-5D9EF158A9DC"), sys.argv[1])).upper())' "$version")
# wixl stamps the package with the clock's time: it sees the commit's, frozen.
(cd "$stage" && TZ=UTC faketime -f "$(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T')" \
    wixl -a x86 -D Version="$version" -D ProductCode="$product_code" -o "$out/$name.msi" \
    "$repo/tools/release/Calvendrake.wxs")
# The package code wixl drew at random (a 39-byte string property of the summary) becomes one
# derived from the rest of the package.
python3 - "$out/$name.msi" <<'EOF'
import hashlib, re, sys, uuid
path = sys.argv[1]
data = open(path, "rb").read()
codes = re.findall(rb"\x1e\0\0\0\x27\0\0\0(\{[0-9A-F-]{36}\})", data)
if len(codes) != 1 or data.count(codes[0]) != 1:
    sys.exit("release: the package code of %s was not found once" % path)
derived = uuid.UUID(bytes=hashlib.sha256(data.replace(codes[0], b"")).digest()[:16], version=4)
open(path, "wb").write(data.replace(codes[0], ("{%s}" % derived).upper().encode()))
EOF
sign "$out/$name.msi"

rm -rf "$stage"
(cd "$out" && sha256sum "$name.zip" "$name.msi" >SHA256SUMS)
echo "release: $out/$name.zip"
echo "release: $out/$name.msi"
echo "release: $out/SHA256SUMS"
