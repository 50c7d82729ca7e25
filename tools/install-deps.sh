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
    perl python3 file
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

updated=
install() {
    local missing=() package
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "install-deps: installing ${missing[*]}" >&2
    if [ -z "$updated" ]; then
        as_root apt-get update
        updated=1
    fi
    # No questions: CI runs without a terminal. env, because sudo drops the caller's environment.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Whether the kernel runs 32-bit x86 programs at all: a four-instruction Linux program that
# exits with 42. Some kernels are built without that support.
kernel_runs_i386() {
    local dir status=1
    dir=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$dir/probe.s"
    if as --32 -o "$dir/probe.o" "$dir/probe.s" && ld -m elf_i386 -o "$dir/probe" "$dir/probe.o"; then
        "$dir/probe" 2>/dev/null && status=0 || status=$?
    fi
    rm -rf "$dir"
    [ "$status" -eq 42 ]
}

install "${packages[@]}"

# wine32 runs the 32-bit build, the one users get, in the same prefix as the 64-bit one. On a
# kernel without 32-bit support it is left out: there Debian's `wine` would start its 32-bit
# loader first and fail for every program.
if installed wine32:i386; then
    exit 0
elif kernel_runs_i386; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        updated=
    fi
    install wine32:i386
else
    echo "install-deps: this kernel runs no 32-bit programs: wine32 is not installed" >&2
fi
