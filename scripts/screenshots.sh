#!/bin/bash
# Makes the README's screenshots in docs/ from the real programs under Xvfb (or DISPLAY).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/display.sh"
source "$ROOT/tests/e2e/lib.sh"

folder=$(mktemp -d "${TMPDIR:-/tmp}/tw-shots.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$folder"
    stop_display
}
trap cleanup EXIT
shot() { import -window "$1" "$ROOT/docs/$2.png" && echo "docs/$2.png"; }
cp -R "$BUILD_DIR/program/." "$folder/"
# A set of many bitmaps, so that a sweep is on the screen long enough to be caught.
mkdir "$folder/Showcase"
for i in $(seq 10 39); do cp "$folder/Standard/Colour Bars.bmp" "$folder/Showcase/Bars $i.bmp"; done
printf 'Showcase\r\n' >"$folder/Curset.ini"

"$folder/Tarnwick5" >/dev/null 2>&1 &
tarnwick=$!
pids+=("$tarnwick")
main=""
until_true 30 has_other_window "$tarnwick" || fail "no main window"
main=$(other_window_of "$tarnwick")

# The progress window of an Average run, then the main window after a Weak one.
click "$main" 5587 1507
click "$main" 1867 1207
until_true 30 has_other_window "$tarnwick" || fail "no progress window"
status=$(other_window_of "$tarnwick")
sleep 1
shot "$status" progress-window
xdotool windowactivate --sync "$status" 2>/dev/null || true
xdotool key q
expect_console_line "DX test was cancelled by user."
click "$main" 5587 1147
click "$main" 1867 1207
expect_console_line "You recieved 0 DXArtifactMarks." 120
shot "$main" main-window

# The test bed in the middle of its sweep, which lasts a fraction of a second a bitmap:
# look without pausing and take the screen at once.
click "$main" 540 2767
click "$main" 1867 1207
until_true 60 has_window_named "Testing... - Showcase" || fail "no sweep"
bed=$(window_named "Testing... - Showcase")
read -r X Y < <(origin_of "$bed")
until [ "$(xdotool getwindowname "$bed" 2>/dev/null)" = "Testing... - Showcase" ] &&
    import -window root "$folder/sweep.png" &&
    [ "$(xdotool getwindowname "$bed" 2>/dev/null)" = "Testing... - Showcase" ]; do
    process_ended "$tarnwick" && fail "no sweep caught"
done
convert "$folder/sweep.png" -crop "635x535+$X+$Y" +repage "$ROOT/docs/test-bed.png"
echo docs/test-bed.png
expect_console_line "Bitmap29 reported 0 artifacts." 900

# The monitor, green, then red under another window.
click "$main" 1867 1927
until_true 30 has_window_named "TW Monitor App" || fail "no monitor"
monitor=$(window_named "TW Monitor App")
pids+=("$(xdotool getwindowpid "$monitor")")
read -r X Y < <(origin_of "$monitor")
until_true 10 screen_shows "$X" $((Y + 88)) 129 17 green || fail "monitor not green"
shot "$monitor" monitor-green
xmessage -geometry 60x40+$((X + 20))+$((Y + 10)) -bg white "cover" &
pids+=("$!")
until_true 10 has_window_named "xmessage" || fail "no covering window"
wmctrl -r xmessage -b add,above
until_true 10 screen_shows "$X" $((Y + 88)) 129 17 red || fail "monitor not red"
import -window root -crop "133x148+$X+$Y" +repage "$ROOT/docs/monitor-red.png"
echo docs/monitor-red.png
