# What the end-to-end scripts share: waiting, finding windows, clicking in twips, reading
# the main window's console through the clipboard, and reading screen colours.
# Sourced; the caller sets $main to the main window once it is shown.

fail() {
    echo "FAIL: $*" >&2
    import -window root "${TMPDIR:-/tmp}/tw-journey-failure.png" 2>/dev/null &&
        echo "screen at the failure: ${TMPDIR:-/tmp}/tw-journey-failure.png" >&2
    exit 1
}
step() { echo "== $*"; }

# until SECONDS COMMAND...: retries the command until it succeeds.
until_true() {
    local limit=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt "$limit" ] || return 1
        sleep 0.2
    done
}

# Visible windows of the process, one id a line.
windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; }
# A visible window whose title is exactly the text.
window_named() {
    local pattern
    pattern=$(printf '%s' "$1" | sed 's/[][().*+?^$|\\{}]/\\&/g')
    xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -1
}
has_window_named() { [ -n "$(window_named "$1")" ]; }
no_window_named() { [ -z "$(window_named "$1")" ]; }
# The process's visible windows other than the main window, and whether it has one.
other_window_of() { windows_of "$1" | grep -vx "$main" | head -1; }
has_other_window() { [ -n "$(other_window_of "$1")" ]; }
has_no_other_window() { [ -z "$(other_window_of "$1")" ]; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }
# The screen position of a window's client area, as "X Y".
origin_of() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        END { print x, y }'
}
size_of() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }

# click WINDOW X Y: a left click at a point of the window's client area, in twips.
click() {
    xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
    sleep 0.3
}

# The main window's message console, read as a user would: select all and copy.
console_text() {
    click "$main" 1867 4147
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.3
    xclip -o -selection clipboard | tr -d '\r'
}
console_has() { console_text | grep -qxF -- "$1"; }
expect_console_line() {
    until_true "${2:-30}" console_has "$1" || fail "console lacks \"$1\": $(console_text)"
}

# screen_shows X Y WIDTH HEIGHT red|green: some pixel of the screen rectangle is clearly
# that colour (text is anti-aliased, so its full colour may not appear).
screen_shows() {
    import -window root -crop "$3x$4+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p' |
        awk -v want="$5" '
            want == "red" && $1 > 160 && $2 < 64 && $3 < 64 { found = 1 }
            want == "green" && $2 > 160 && $1 < 64 && $3 < 64 { found = 1 }
            END { exit !found }'
}
