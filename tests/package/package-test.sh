#!/bin/bash
# Builds the Debian package, unpacks it into a scratch root and starts both programs from
# there: once from the installed folder itself, once as a user who cannot write to it.
#   package-test.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tw-package.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/pkg" >/dev/null) || fail "cpack could not build the package"
deb=$(ls "$scratch"/pkg/*.deb)
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "package does not depend on Qt Widgets"

folder="$root/usr/lib/tarnwick5"
for file in Tarnwick5 TWMonitor libtw_webview.so Curset.ini bitmapsets.ini twmeasure.txt \
    chat.htm Standard/Checks.bmp "Odd Sizes/10x8.bmp" "Fine Detail/Noise.bmp"; do
    [ -e "$folder/$file" ] || fail "package lacks $file"
done
for entry in tarnwick5 twmonitor; do
    [ -x "$root/usr/bin/$entry" ] || fail "no launcher $entry"
    grep -q "^Exec=$entry$" "$root/usr/share/applications/$entry.desktop" || fail "$entry.desktop"
    for size in 16 32; do
        file "$root/usr/share/icons/hicolor/${size}x${size}/apps/$entry.png" |
            grep -q "PNG image data, $size x $size" || fail "$entry icon $size"
    done
done

# Waits for a visible window of the process and prints its title.
window_of() {
    local pid=$1 window
    window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1) ||
        return 1
    xdotool getwindowname "$window"
}

# start AS_USER PROGRAM: starts a launcher in the background, its pid in $started.
start() {
    local user=$1 program=$2 home="$scratch/home-$1"
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    if [ "$user" = root ]; then
        env HOME="$home" XDG_RUNTIME_DIR="$home/run" "$root/usr/bin/$program" >"$home/$program.log" 2>&1 &
    else
        chown -R "$user" "$home"
        setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
            env HOME="$home" XDG_RUNTIME_DIR="$home/run" "$root/usr/bin/$program" \
            >"$home/$program.log" 2>&1 &
    fi
    started=$!
    pids+=("$started")
}

start root tarnwick5
window_of "$started" >/dev/null || fail "Tarnwick5 showed no window from the installed folder"
start root twmonitor
[ "$(window_of "$started")" = "TW Monitor App" ] || fail "TWMonitor showed no window"

# A user who cannot write the installed folder gets a copy of it in the data folder.
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
    chmod -R a+rX "$scratch"
    chmod a-w "$folder"
    start nobody tarnwick5
    window_of "$started" >/dev/null || fail "Tarnwick5 showed no window for a user: $(cat "$scratch/home-nobody/tarnwick5.log")"
    own="$scratch/home-nobody/.local/share/tarnwick5"
    [ -x "$own/Tarnwick5" ] && [ -f "$own/Curset.ini" ] || fail "no writable copy in $own"
    [ -w "$own/Curset.ini" ] || fail "the user's Curset.ini is not writable"
fi
echo "package installs and starts"
