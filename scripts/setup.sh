#!/usr/bin/env bash
# Installs everything Hueloom needs to build and test on Debian 12, as root.
# Safe to run again: each step checks whether its work is already done.
set -euo pipefail

DEPS_PREFIX="${HUELOOM_DEPS:-/opt/hueloom-deps}"
JPEG_VERSION="1:2.1.5-2"
DEFLATE_VERSION="1.14-1"
CSS_TREE_VERSION="3.2.1"
COLORJS_VERSION="0.7.1"
APCA_VERSION="0.1.9"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
STAMP="$DEPS_PREFIX/.packages-v14"

log() { printf '[setup] %s\n' "$*"; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

PACKAGES=(
    build-essential cmake ninja-build ccache pkg-config dpkg-dev nasm
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev
    libgtest-dev googletest libbenchmark-dev zlib1g-dev libjpeg62-turbo-dev libpng-dev libdeflate-dev
    clang libclang-rt-14-dev
    wine wine64 xvfb xserver-xephyr xauth xdotool xclip x11-utils x11-apps imagemagick
    fonts-ipafont-gothic locales pngcheck libjpeg-turbo-progs libwmf-bin gsfonts
    cups-daemon cups-client printer-driver-cups-pdf poppler-utils libreoffice-draw
    fp-utils libchm-bin inkscape librsvg2-bin chromium
    liblcms2-utils colord-data icc-profiles-free libimage-exiftool-perl
)

# wine32 only where the kernel runs 32-bit programs: elsewhere it would make
# Debian's `wine` unusable for 64-bit programs too (scripts/wine.sh copes
# with a machine that has it anyway).
want_wine32() { bash "$HERE/scripts/wine.sh" --kernel-i386; }

# A mirror in the middle of a sync refuses its index files for a while
# ("File has unexpected size"): try again before giving up on fresh lists.
apt_update() {
    local i
    for i in 1 2 3 4; do
        as_root apt-get update -qq && return 0
        log "apt-get update failed (attempt $i of 4)"
        [ "$i" -lt 4 ] && sleep 20
    done
    log "apt-get update kept failing: installing from the package lists already here"
}

# Where wine32 cannot be installed (a mirror whose i386 lists lag behind its
# amd64 ones breaks the multiarch pairs), the i686 build's Wine tests are
# skipped with that reason (scripts/wine.sh --i686) rather than nothing
# tested at all.
install_wine32() {
    want_wine32 || return 0
    dpkg -s wine32:i386 >/dev/null 2>&1 && return 0
    as_root apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null \
        || log "wine32:i386 could not be installed (apt's message above): the i686 Wine tests will be skipped"
}

install_packages() {
    if [ -f "$STAMP" ]; then
        install_wine32
        log "packages already installed"
        return
    fi
    export DEBIAN_FRONTEND=noninteractive
    if want_wine32 && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    # Source packages are needed for the MinGW builds of libjpeg-turbo and
    # libdeflate.
    local src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ] && ! grep -q 'deb-src' "$src"; then
        as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$src"
    fi
    apt_update
    as_root apt-get install -y -qq --no-install-recommends "${PACKAGES[@]}" >/dev/null
    if want_wine32; then
        install_wine32
    else
        log "this machine cannot execute 32-bit programs: wine32 left out, i686 tests will be skipped"
    fi
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
        as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || true
    fi
    as_root mkdir -p "$DEPS_PREFIX"
    as_root touch "$STAMP"
}

toolchain_file() { echo "$HERE/cmake/toolchain-$1.cmake"; }

build_libjpeg() {
    local arch="$1" prefix="$DEPS_PREFIX/$1"
    if [ -f "$prefix/lib/libjpeg.a" ]; then
        log "libjpeg for $arch already built"
        return
    fi
    local work="$DEPS_PREFIX/src"
    mkdir -p "$work"
    if [ ! -d "$work/libjpeg-turbo" ]; then
        (cd "$work" && apt-get source -qq "libjpeg-turbo=$JPEG_VERSION" >/dev/null 2>&1 \
            || apt-get source -qq libjpeg-turbo >/dev/null)
        local dir
        dir="$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)"
        mv "$dir" "$work/libjpeg-turbo"
    fi
    log "building libjpeg-turbo for $arch"
    cmake -S "$work/libjpeg-turbo" -B "$work/build-$arch" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$(toolchain_file "$arch")" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
        >/dev/null
    cmake --build "$work/build-$arch" >/dev/null
    cmake --install "$work/build-$arch" >/dev/null
}

# A Debian source package unpacked once into $DEPS_PREFIX/src/NAME.
fetch_source() {
    local name="$1" version="$2" work="$DEPS_PREFIX/src"
    mkdir -p "$work"
    [ -d "$work/$name" ] && return
    (cd "$work" && apt-get source -qq "$name=$version" >/dev/null 2>&1 || apt-get source -qq "$name" >/dev/null)
    local dir
    dir="$(find "$work" -maxdepth 1 -type d -name "$name-[0-9]*" | head -n1)"
    mv "$dir" "$work/$name"
}

build_libdeflate() {
    local arch="$1" prefix="$DEPS_PREFIX/$1"
    if [ -f "$prefix/lib/libdeflate.a" ]; then
        log "libdeflate for $arch already built"
        # Its licence beside it, for the notices shipped with the program
        # (builds of earlier setups lack it).
        [ -f "$prefix/share/doc/libdeflate/COPYING" ] ||
            install -D -m644 "$DEPS_PREFIX/src/libdeflate/COPYING" "$prefix/share/doc/libdeflate/COPYING"
        return
    fi
    fetch_source libdeflate "$DEFLATE_VERSION"
    log "building libdeflate for $arch"
    # Its Makefile builds the static library for MinGW as libdeflatestatic.lib;
    # it goes in beside libjpeg as libdeflate.a, with its one header.
    local b="$DEPS_PREFIX/src/libdeflate-$arch"
    rm -rf "$b"
    cp -a "$DEPS_PREFIX/src/libdeflate" "$b"
    make -C "$b" -s -j"$(nproc)" CC="$arch-w64-mingw32-gcc" AR="$arch-w64-mingw32-ar" libdeflatestatic.lib >/dev/null
    install -D -m644 "$b/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
    install -D -m644 "$b/libdeflate.h" "$prefix/include/libdeflate.h"
    install -D -m644 "$b/COPYING" "$prefix/share/doc/libdeflate/COPYING"
}

build_gtest() {
    local arch="$1" prefix="$DEPS_PREFIX/$1"
    if [ -f "$prefix/lib/libgtest.a" ]; then
        log "GoogleTest for $arch already built"
        return
    fi
    log "building GoogleTest for $arch"
    local b="$DEPS_PREFIX/src/gtest-$arch"
    cmake -S /usr/src/googletest -B "$b" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$(toolchain_file "$arch")" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$b" >/dev/null
    cmake --install "$b" >/dev/null
}

# The JavaScript programs the tests hold our files and values against, into
# a folder of their own outside the tree (the tests find them there):
# css-tree (reads our CSS palettes), colorjs.io (reads our CSS colour texts)
# and apca-w3 (APCA contrast).
install_npm_witnesses() {
    local dir="$DEPS_PREFIX/npm" want=("css-tree@$CSS_TREE_VERSION" "colorjs.io@$COLORJS_VERSION" "apca-w3@$APCA_VERSION")
    local missing=()
    for p in "${want[@]}"; do
        grep -q "\"version\": \"${p##*@}\"" "$dir/node_modules/${p%@*}/package.json" 2>/dev/null || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        log "npm witnesses already installed"
        return
    fi
    if ! command -v npm >/dev/null; then
        as_root apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
    fi
    log "installing ${missing[*]}"
    as_root mkdir -p "$dir"
    as_root npm install --prefix "$dir" --no-audit --no-fund --silent "${want[@]}" >/dev/null
}

# The PngSuite, the test pictures that come with libpng's source.
fetch_pngsuite() {
    local dir="$DEPS_PREFIX/pngsuite" work="$DEPS_PREFIX/src"
    if [ -f "$dir/basn0g01.png" ]; then
        log "PngSuite already unpacked"
        return
    fi
    mkdir -p "$work" "$dir"
    (cd "$work" && apt-get source -qq --tar-only libpng1.6 >/dev/null 2>&1)
    local tarball
    tarball="$(find "$work" -maxdepth 1 -name 'libpng1.6_*.orig.tar.*' | head -n1)"
    tar -xf "$tarball" -C "$dir" --strip-components=3 --wildcards '*/contrib/pngsuite/*.png'
}

install_packages
install_npm_witnesses
fetch_pngsuite
for arch in x86_64 i686; do
    build_libjpeg "$arch"
    build_libdeflate "$arch"
    build_gtest "$arch"
done
log "done"
