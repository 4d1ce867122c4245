#!/bin/bash
# Sets up a fresh machine, builds, and starts Tarnwick5 on the current display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: set DISPLAY to an X server (XWayland works too)." >&2
    exit 1
fi
exec "$BUILD_DIR/program/Tarnwick5"
