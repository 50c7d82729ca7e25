#!/usr/bin/env bash
# The mirror and proxy the test bed is built with come from this machine's apt: each case is a
# set of apt files (one-line and deb822 lists, apt.conf), a caller's http_proxy and the two
# lines `tools/wine-bed.sh apt-source` must print, or "fails".
set -uo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
failed=0

# $1: case, $2: http_proxy, $3: expected output (\n between lines); stdin: files as "== NAME" + lines,
# appended (apt.conf already names the case's folder).
check() {
    local etc=$work/$1 name= line out
    mkdir -p "$etc/sources.list.d"
    printf 'Dir::Etc "%s/";\n' "$etc" >"$etc/apt.conf"
    while IFS= read -r line; do
        case $line in "== "*) name=$etc/${line#== } ;; *) echo "$line" >>"$name" ;; esac
    done
    out=$(APT_CONFIG=$etc/apt.conf http_proxy=$2 bash "$repo/tools/wine-bed.sh" apt-source 2>/dev/null) || out=fails
    [ "$out" = "$(printf "$3")" ] || { echo "apt-source: $1: got '$out', expected '$(printf "$3")'" >&2; failed=1; }
}

check one-line-behind-others-with-caller-proxy "http://env.example:8080" "http://mirror.example/debian\nhttp://env.example:8080" <<EOF
== sources.list
# deb http://commented.example/debian $release main
deb-src http://source.example/debian $release main
deb http://security.example/debian-security $release-security main
deb http://other.example/repo stable main
deb http://contrib.example/debian $release contrib
== sources.list.d/mirror.list
deb [arch=amd64 signed-by=/k.gpg] http://mirror.example/debian $release main contrib
EOF

check deb822-after-a-disabled-one-with-proxy "http://env.example:8080" "http://first.example/debian\nhttp://proxy.example:3128" <<EOF
== apt.conf
Acquire::http::Proxy "http://proxy.example:3128";
== sources.list.d/a.sources
Types: deb
URIs: http://disabled.example/debian
Suites: $release
Components: main
Enabled: no

Types: deb-src deb
# a comment inside the stanza
URIs: http://first.example/debian
 http://second.example/debian
Suites: $release-updates
 $release
Components: main
EOF

check no-debian-source "" "fails" <<EOF
== sources.list.d/third.sources
Types: deb
URIs: http://other.example/repo
Suites: nodistro
Components: main
EOF

exit $failed
