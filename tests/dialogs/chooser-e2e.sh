#!/bin/bash
# The built Tarnwick5 in a program folder of its own, driven with the mouse and keyboard:
# pick another bitmap set in the chooser, see it saved and loaded, open the chat window
# (its web view is loaded only then) and leave with "E X I T".
#   chooser-e2e.sh PROGRAM_DIR        (needs DISPLAY: an X server with openbox)
set -euo pipefail
program_dir="$1"
folder=$(mktemp -d "${TMPDIR:-/tmp}/tw-chooser.XXXXXX")
tarnwick=""
cleanup() {
    [ -z "$tarnwick" ] || kill "$tarnwick" 2>/dev/null || true
    rm -rf "$folder" "$folder.log"
}
trap cleanup EXIT

source "$TW_SOURCE_DIR/tests/e2e/lib.sh"

cp -R "$program_dir/." "$folder/"
rm -f "$folder"/[Cc][Uu][Rr][Ss][Ee][Tt].[Ii][Nn][Ii]
printf 'Standard\r\n' >"$folder/Curset.ini"
printf 'Standard\r\nFine Detail\r\nOdd Sizes\r\n' >"$folder/bitmapsets.ini"

web_view_loaded() { grep -q libtw_webview.so "/proc/$tarnwick/maps"; }

step "start-up"
"$folder/Tarnwick5" >"$folder.log" 2>&1 &
tarnwick=$!
main=""
until_true 30 has_other_window "$tarnwick" || fail "no main window"
main=$(other_window_of "$tarnwick")
expect_console_line "Bitmap set: Standard"
! web_view_loaded || fail "the web view was loaded at start-up"

step "choose the set Odd Sizes"
chooser_title="Select Bitmap Set (Software test)"
click "$main" 1867 1687   # Select Software Test Bitmap Set...
until_true 30 has_window_named "$chooser_title" || fail "no chooser"
chooser=$(window_named "$chooser_title")
click "$chooser" 600 500  # the first entry
xdotool key --clearmodifiers Down Down
sleep 0.3
click "$chooser" 3667 547 # Set Selected
until_true 30 no_window_named "$chooser_title" || fail "the chooser stayed open"

step "saved and loaded"
[ "$(od -An -c "$folder/Curset.ini" | tr -s ' ')" = " O d d S i z e s \r \n" ] ||
    fail "Curset.ini holds: $(od -An -c "$folder/Curset.ini")"
[ "$(find "$folder" -maxdepth 1 -iname curset.ini | wc -l)" = 1 ] ||
    fail "more than one current-set file: $(ls "$folder")"
expect_console_line "Bitmap set: Odd Sizes"

step "the chat window brings the web view"
click "$main" 1867 1447   # Begin Chat Room
until_true 60 has_window_named "Tarnwick Chat" || fail "no chat window"
web_view_loaded || fail "the chat window has no web view module loaded"

step "E X I T"
xdotool windowactivate --sync "$main" 2>/dev/null || true # the chat window lies over it
sleep 0.3
click "$main" 1867 2167
until_true 10 process_ended "$tarnwick" || fail "still running after E X I T"
status=0
wait "$tarnwick" || status=$?
tarnwick=""
[ "$status" = 0 ] || fail "E X I T ended with status $status"
echo "PASS"
