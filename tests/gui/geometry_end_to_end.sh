#!/bin/sh
# The stored window geometry under a real X server with a window manager
# (openbox): off the screen, 2147483647 wide and high, negative, saved at
# another scale factor. Each time the whole window, frame included, opens
# on the 1280 x 800 screen, and a huge stored size costs no memory: the
# program stays under 100 MB and ends at once.
# Usage: geometry_end_to_end.sh TARVIK TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
OUTPUT=$2
TITLE="Quorvane JPG to BMP 2.8"
SCREEN_W=1280
SCREEN_H=800
RSS_LIMIT_KB=102400

. "$(dirname "$0")/../support/x_session.sh"

require_tools Xvfb xdotool openbox xprop import

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/geometry-e2e.XXXXXX")
private_session "$WORK"
CONFIG_DIR="$WORK/config/Quorvane/tarvik"
mkdir -p "$CONFIG_DIR"

start_xvfb "$WORK"
start_openbox "$WORK"

# The client rectangle "X Y W H" of a window, from the X server.
client_rect() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# The frame's extents "LEFT RIGHT TOP BOTTOM" the window manager set.
frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','
}
framed() { [ -n "$(frame_extents "$1")" ]; }

# check NAME X Y WIDTH HEIGHT MAXIMISED SCALE
check() {
    name=$1
    printf '\357\273\277\r\n[Window]\r\nIsMaximized = %s\r\nWidth = %s\r\nHeight = %s\r\nX = %s\r\nY = %s\r\n' \
        "$6" "$4" "$5" "$2" "$3" >"$CONFIG_DIR/config.ini"
    QT_SCALE_FACTOR=$7 "$TARVIK" &
    APP_PID=$!
    MAIN=$(wait_window "^$TITLE\$") || fail "$name: the main window did not open"
    wait_until "$name: the window manager to frame the window" framed "$MAIN"
    sleep 0.3
    set -- $(client_rect "$MAIN") $(frame_extents "$MAIN")
    left=$(($1 - $5)) top=$(($2 - $7)) right=$(($1 + $3 + $6)) bottom=$(($2 + $4 + $8))
    timeout 10 import -window root "$OUTPUT/e2e_geometry_$(echo "$name" | tr ' ,' '__').png"
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le "$SCREEN_W" ] && [ "$bottom" -le "$SCREEN_H" ] ||
        fail "$name: the window spans $left,$top to $right,$bottom on a ${SCREEN_W}x$SCREEN_H screen"
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$APP_PID/status")
    [ "$rss" -lt "$RSS_LIMIT_KB" ] || fail "$name: the program holds $rss kB"
    echo "$name: $left,$top to $right,$bottom, $rss kB"
    press "$MAIN" alt+x
    wait_exit "$APP_PID" "$name: Alt+X to end the program"
    [ "$STATUS" -eq 0 ] || fail "$name: the window ended with $STATUS"
}

check "inside" 100 100 510 260 0 1
check "65 x 48 pixels visible" 1300 700 510 260 0 1
check "off screen" 30000 30000 600 260 0 1
check "huge" 100 100 2147483647 2147483647 0 1
check "huge, maximised" 100 100 2147483647 2147483647 1 1
check "negative" -2147483648 -5000 -300 -1 0 1
check "saved at scale 1, opened at scale 2" 1000 600 900 260 0 2
check "huge at scale 2" 100 100 2147483647 2147483647 0 2

cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
