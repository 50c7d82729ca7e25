#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Calvendrake need, then the
# Wine test bed that runs both programs (tools/wine-bed.sh). Only what is missing is fetched,
# so on a ready machine this does no network work, needs no root and takes a second. Root is
# needed once per machine, to install: through sudo when the caller is not root and has it.
set -euo pipefail

packages=(
    cmake make
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    googletest
    debootstrap
    xvfb xdotool xclip x11-utils imagemagick
    perl python3 file procps
    wixl faketime osslsigncode openssl
    g++ clang-14 libclang-rt-14-dev libx11-dev
)

installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

install() {
    local missing=() package
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
        echo "install-deps: missing ${missing[*]}: run once as root: bash $(readlink -f "$0")" >&2
        exit 1
    fi
    echo "install-deps: installing ${missing[*]}" >&2
    as_root apt-get update
    # No questions: CI runs without a terminal. env, because sudo drops the caller's environment.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

install "${packages[@]}"
bash "$(dirname "$0")/wine-bed.sh" install
