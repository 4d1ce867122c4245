# Starts Xvfb with openbox when no DISPLAY is given, and stops them on exit. Sourced.
XVFB_PID=""
WM_PID=""
stop_display() {
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap stop_display EXIT

# A real X server with a window manager, for stacking, activation and screen read-back.
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
