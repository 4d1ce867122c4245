#!/bin/bash
# Sets up a fresh machine, builds, and runs every test under a real X server.
#   scripts/test.sh              all tests
#   scripts/test.sh --sanitize   the same, built with AddressSanitizer and UBSan
set -euo pipefail

if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build-sanitize"
    export CMAKE_EXTRA="-DTW_SANITIZE=ON"
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
    shift
fi
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

XVFB_PID=""
WM_PID=""
stop_display() {
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap stop_display EXIT

# Tests need a real X server with a window manager for stacking and activation.
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 70 99); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISPLAY_NUMBER=$n; break; }
    done
    Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$DISPLAY_NUMBER"
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done
fi

# One test at a time: they share the screen.
cd "$BUILD_DIR"
ctest --output-on-failure -j1 "$@"
