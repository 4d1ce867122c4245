#!/bin/bash
# The user's whole journey through the built programs, driven only as a user would: mouse,
# keyboard and the window manager. Checks what the programs show (console text through the
# clipboard, window titles and sizes, screen pixels) and what they wrote.
#   journey.sh PROGRAM_DIR        (needs DISPLAY: an X server with openbox)
set -euo pipefail
program_dir="$1"
folder=$(mktemp -d "${TMPDIR:-/tmp}/tw-journey.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$folder"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# --- a program folder of its own, with a set of its own ----------------------------------
cp -R "$program_dir/." "$folder/"
mkdir "$folder/Journey"
cp "$program_dir/Odd Sizes/10x8.bmp" "$program_dir/Odd Sizes/3x2.bmp" "$folder/Journey/"
printf 'Journey\r\n' >"$folder/Curset.ini"
printf 'Journey\r\nStandard\r\nOdd Sizes\r\n' >"$folder/bitmapsets.ini"

step "start-up"
"$folder/Tarnwick5" >"$folder.log" 2>&1 &
tarnwick=$!
pids+=("$tarnwick")
main=""
until_true 30 has_other_window "$tarnwick" || fail "no main window"
main=$(other_window_of "$tarnwick")
[ "$(size_of "$main")" = "495x334" ] || fail "main window is $(size_of "$main")"
expect_console_line "Corvantis 2.0 Engine instance created."
expect_console_line "DirectX 7 virtual surfaces created."
expect_console_line "Bitmap set: Journey"

step "software test over the set Journey"
click "$main" 540 2767    # Software Testing
click "$main" 1867 1207   # Begin Test
expect_console_line "Set corvantis test object successful." 60
expect_console_line "Bitmap1 reported 0 artifacts." 900
expect_console_line "Score is 0 ArtifactMarks"
expect_console_line "You have no artifacts...overclock some more!"
until_true 30 no_window_named "Checking for corruption... - Journey" || fail "test bed stayed"

step "a Weak DirectDraw test"
click "$main" 2220 2767   # DirectX7 Testing
click "$main" 5587 1147   # Weak
click "$main" 1867 1207   # Begin Test
expect_console_line "You recieved 0 DXArtifactMarks." 120
expect_console_line "No aritfacts detected!  Please overclock some more!"

step "an Average DirectDraw test cancelled with Q"
click "$main" 5587 1507   # Average
click "$main" 1867 1207   # Begin Test
until_true 30 has_other_window "$tarnwick" || fail "no progress window"
status=$(other_window_of "$tarnwick")
[ "$(size_of "$status")" = "$((2535 / 15))x$((825 / 15))" ] || echo "note: progress window is $(size_of "$status")"
xdotool windowactivate --sync "$status" 2>/dev/null || true
xdotool key q
expect_console_line "DX test was cancelled by user." 30
[ "$(console_text | grep -c 'You recieved')" = 1 ] || fail "the cancelled run reported a score"

step "choosing another bitmap set"
click "$main" 1867 1687   # Select Software Test Bitmap Set...
until_true 30 has_window_named "Select Bitmap Set (Software test)" || fail "no set chooser"
chooser=$(window_named "Select Bitmap Set (Software test)")
click "$chooser" 600 480  # the first set in the list
xdotool key --window "$chooser" Down Down
sleep 0.3
click "$chooser" 3667 547 # Set Selected
until_true 30 no_window_named "Select Bitmap Set (Software test)" || fail "chooser stayed open"
expect_console_line "Bitmap set: Odd Sizes"
curset=$(find "$folder" -maxdepth 1 -iname curset.ini)
[ "$(cat "$curset")" = $'Odd Sizes\r' ] || fail "Curset.ini holds: $(od -c "$curset")"
[ "$(find "$folder" -maxdepth 1 -iname curset.ini | wc -l)" = 1 ] || fail "a second Curset.ini appeared"

step "About, the guide and the chat window"
click "$main" 5587 2947   # About Tarnwick...
until_true 30 has_other_window "$tarnwick" || fail "no About window"
about=$(other_window_of "$tarnwick")
[ "$(size_of "$about")" = "305x120" ] || fail "About window is $(size_of "$about")"
xdotool windowactivate --sync "$about" 2>/dev/null || true
xdotool key Return
until_true 30 has_no_other_window "$tarnwick" || fail "About stayed open"

click "$main" 5587 3667   # How to take valid measurements...
until_true 30 has_window_named "Taking Valid Measurements" || fail "no guide window"
wmctrl -c "Taking Valid Measurements"
until_true 30 no_window_named "Taking Valid Measurements" || fail "guide stayed open"

click "$main" 1867 1447   # Begin Chat Room
until_true 60 has_window_named "Tarnwick Chat" || fail "no chat window"
wmctrl -c "Tarnwick Chat"
until_true 30 no_window_named "Tarnwick Chat" || fail "chat stayed open"

step "the artifact monitor turns red under another window"
click "$main" 1867 1927   # Launch Artifact Monitor
until_true 30 has_window_named "TW Monitor App" || fail "no monitor window"
monitor=$(window_named "TW Monitor App")
pids+=("$(xdotool getwindowpid "$monitor")")
read -r X Y < <(origin_of "$monitor")
status_x=$X
status_y=$((Y + 88))
until_true 10 screen_shows "$status_x" "$status_y" 129 17 green || fail "monitor is not green"
xmessage -geometry 60x40+$((X + 20))+$((Y + 10)) -bg white "cover" &
pids+=("$!")
until_true 10 has_window_named "xmessage" || fail "no covering window"
wmctrl -r xmessage -b add,above
until_true 10 screen_shows "$status_x" "$status_y" 129 17 red || fail "monitor did not turn red"
kill "${pids[-1]}"
until_true 10 screen_shows "$status_x" "$status_y" 129 17 green || fail "monitor did not turn green"
wmctrl -c "TW Monitor App"
until_true 10 no_window_named "TW Monitor App" || fail "monitor stayed open"

step "E X I T"
click "$main" 1867 2167
until_true 10 process_ended "$tarnwick" || fail "Tarnwick5 did not end"
echo "journey complete"
