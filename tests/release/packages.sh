#!/usr/bin/env bash
# The release as users get it. tools/release.sh runs here and on a copy of the sources; the two
# must be byte for byte the same. The zip unpacked into a Japanese folder converts the example;
# the installer goes into a fresh Wine prefix, its Open with entry converts the example, a signed
# build of a higher version replaces it and is uninstalled; the user's settings stay throughout.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
fail() { echo "release test: $*" >&2; exit 1; }
win() { local path="Z:$1"; echo "${path//\//\\}"; }

unset DISPLAY CALV_WINE_DESKTOP CALV_WINEPREFIX
source tools/wine-env.sh
tmp=$CALV_WINE_TMP c=$WINEPREFIX/drive_c copy=$CALV_WINE_TMP/copy
export WINEPATH="Z:${repo//\//\\}\\build\\x86\\bridge"
bash tools/release.sh
LC_ALL=C.UTF-8 cmake --build --preset x86 -j2 --target perl >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/x86/CMakeCache.txt)
new=$(awk -F. -v OFS=. '{$3++; print}' <<<"$version")
first=build/release/Calvendrake-$version-x86 second=$copy/build/release/Calvendrake-$new-x86
# The copy has no history: it gets the commit's time from here.
export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
mkdir "$copy"
git ls-files -coz --exclude-standard | tar --null -T - --ignore-failed-read -cf - | tar -xf - -C "$copy"
bash "$copy/tools/release.sh" >/dev/null
for f in build/x86/bin/Calvendrake.exe "$first".{zip,msi}; do cmp "$f" "$copy/$f"; done

# A higher version, signed with a throwaway certificate; the time-stamp server does not answer.
sed -i -E "s/^(project\(Calvendrake VERSION )[0-9.]+/\1$new/" "$copy/CMakeLists.txt"
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=Calvendrake-test -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -passout pass:test -out "$tmp/cert.p12"
CALV_SIGN_PKCS12=$tmp/cert.p12 CALV_SIGN_PASSWORD=test CALV_SIGN_TIMESTAMP=http://127.0.0.1:9/ \
    bash "$copy/tools/release.sh" >/dev/null
python3 - "$second.zip" "$new" "$tmp/second" <<'EOF'
import struct, sys, zipfile
z = zipfile.ZipFile(sys.argv[1]); z.extractall(sys.argv[3]); text = z.read("README-ja.txt"); exe = z.read("Calvendrake.exe")
assert text.count(b"\n") == text.count(b"\r\n") > 20 and sys.argv[2] in text.decode("cp932"), "README-ja.txt: not CP932 with CR LF naming the version"
v = struct.unpack_from("<4H", exe, exe.index(b"\xbd\x04\xef\xfe", exe.index("VS_VERSION_INFO".encode("utf-16le"))) + 8)
assert "%d.%d.%d.%d" % (v[1], v[0], v[3], v[2]) == sys.argv[2], "Calvendrake.exe is not version " + sys.argv[2]
EOF
for f in "$tmp/second/Calvendrake.exe" "$second.msi"; do
    osslsigncode verify -CAfile "$tmp/cert.pem" -in "$f" | grep -q '^Signature verification: ok' || fail "$f: not signed"
done

# The user's settings: the example script in the recent list, a suffix of their own, no output opened.
key='HKCU\Software\Harnox\Quen\Calvendrake'
wine reg add "$key" /v SuffixName /d _mine /f >/dev/null
wine reg add "$key" /v OpenCvtedFile /t REG_DWORD /d 0 /f >/dev/null
wine reg add "$key" /v ScriptFile0 /d 'C:\ツール\Calvendrake\examples\renumber.pl' /f >/dev/null
perl examples/renumber.pl examples/part1.ncd "$tmp/expected.ncd"
output=$c/ツール/Calvendrake/examples/part1_mine.ncd ncd='C:\ツール\Calvendrake\examples\part1.ncd'
# Starts the command line $@, presses 実行 with Enter and waits for the converted example.
convert() {
    wine "$@" &
    local program=$! window
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Calvendrake$' | head -n 1) || fail "no window from $*"
    xdotool windowfocus --sync "$window" key --clearmodifiers Return
    timeout 30 sh -c 'until cmp -s "$0" "$1"; do sleep 0.2; done' "$output" "$tmp/expected.ncd" || fail "$* did not convert"
    wine taskkill /im Calvendrake.exe >/dev/null 2>&1 || true
    wait "$program" || true
    rm "$output"
}
python3 -m zipfile -e "$first.zip" "$c/ツール/Calvendrake"
convert 'C:\ツール\Calvendrake\Calvendrake.exe' "$ncd"

dir="$c/Program Files (x86)/Calvendrake"
# Windows puts a per-machine shortcut into ProgramData's Start menu, Wine into the user's.
shortcut() { ls "$c/"{ProgramData,users/*/AppData/Roaming}"/Microsoft/Windows/Start Menu/Programs/Calvendrake.lnk" 2>/dev/null; }
arp() {
    calv_wine_reg_export 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /reg:32 |
        awk '/^\[/ {k = substr($0, 2, length($0) - 2)} $0 == "\"DisplayName\"=\"Calvendrake\"" {print k}'
}
# $1: the version that must be installed, $2: its program file.
installed() {
    cmp "$dir/Calvendrake.exe" "$2" && ls "$dir/"{README-ja.txt,examples/part1.ncd,examples/renumber.pl} >/dev/null &&
        [ -n "$(shortcut)" ] || fail "$1: files or shortcut missing"
    [ "$(arp | wc -l)" = 1 ] && [ "$(calv_wine_reg_value "$(arp)" DisplayVersion /reg:32)" = "$1" ] &&
        [ "$(calv_wine_reg_value "$(arp)" Publisher /reg:32)" = Harnox ] &&
        calv_wine_reg_export 'HKLM\Software\Classes\Installer\Products' | grep -qE '^"ProductIcon"=".*\\\\Calvendrake\.ico"$' ||
        fail "$1: not one Programs and Features entry with its version, publisher and icon"
}
# Another program is .ncd's default, and stays so.
wine reg add 'HKLM\Software\Classes\.ncd' /ve /d OtherCam.ncd /f >/dev/null
wine msiexec /i "$(win "$repo/$first.msi")" /qn
installed "$version" "$c/ツール/Calvendrake/Calvendrake.exe"
[ "$(calv_wine_reg_value 'HKLM\Software\Classes\.ncd' '')" = OtherCam.ncd ] || fail ".ncd's default program was taken"
# Open with: the command of .ncd's Calvendrake entry, run as the shell runs it.
progid=$(calv_wine_reg_export 'HKLM\Software\Classes\.ncd\OpenWithProgids' | sed -nE 's/^"([^"]+)"="".*/\1/p')
command=$(calv_wine_reg_value "HKLM\\Software\\Classes\\$progid\\shell\\open\\command" '')
eval "args=(${command//\\/\\\\})"
# A standard user may not write beside the installed example (under Wine anyone may): as the
# read-me says, the example is first copied into the user's documents and opened from there.
docs=$(ls -d "$c"/users/*/Documents | grep -v /Public/)
cp -r "$dir/examples" "$docs/"
output=$docs/examples/part1_mine.ncd ncd=$(win "$docs/examples/part1.ncd") ncd=C:${ncd#"$(win "$c")"}
convert "${args[@]//%1/$ncd}"

wine msiexec /i "$(win "$second.msi")" /qn
installed "$new" "$tmp/second/Calvendrake.exe"
wine msiexec /x "$(win "$second.msi")" /qn
[ -z "$(ls "$dir" 2>/dev/null)$(shortcut)$(arp)$(calv_wine_reg_export 'HKLM\Software\Classes' | grep -i calvendrake)" ] ||
    fail "files or machine-wide entries left after uninstall"
[ "$(calv_wine_reg_value "$key" SuffixName)" = _mine ] || fail "the user's settings are gone"
echo "release test: zip, installer, upgrade, uninstall, signatures and reproducibility passed"
