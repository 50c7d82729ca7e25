#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Calvendrake need.
# Only missing packages are fetched, so on a ready machine this does no network work.
set -euo pipefail

packages=(
    cmake make
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    googletest
    wine wine64 fonts-wine
    locales
    xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic
    perl python3
    g++ clang-14 libclang-rt-14-dev libx11-dev
)

installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

echo "install-deps: installing ${missing[*]}" >&2
as_root apt-get update
# No questions: CI runs without a terminal. env, because sudo drops the caller's environment.
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
