#!/bin/bash
# Installs what a fresh Debian machine lacks and builds both programs into build/program/.
# Sourced by run.sh and test.sh; BUILD_DIR and CMAKE_EXTRA may be set by the caller.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev libqt6opengl6-dev qt6-webengine-dev
    libxcb1-dev libxcb-image0-dev libgl1-mesa-dri
    googletest libgtest-dev libbenchmark-dev
    xvfb openbox xdotool x11-utils xauth fonts-liberation
    dpkg-dev file xclip wmctrl imagemagick
)
# shellcheck disable=SC2206
PACKAGES+=(${EXTRA_PACKAGES:-})

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

build_programs() {
    # shellcheck disable=SC2086
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_EXTRA:-}
    # shellcheck disable=SC2086
    cmake --build "$BUILD_DIR" -j"$(nproc)" ${TW_BUILD_TARGETS:+--target $TW_BUILD_TARGETS}
}

install_missing_packages
build_programs
