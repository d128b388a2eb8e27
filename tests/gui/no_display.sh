#!/bin/sh
# Window mode without a display the window could use: no DISPLAY or
# WAYLAND_DISPLAY at all, or a DISPLAY with no X server behind it. Each
# start ends with 1 and one "Error: ..." line that names the display and
# -i, never with an abort; the uninstall window is refused the same way.
# The offscreen platform needs no display and keeps working.
# Usage: no_display.sh TARVIK TEST_OUTPUT_FOLDER
set -u

TARVIK=$1
OUTPUT=$2

. "$(dirname "$0")/../support/x_session.sh"

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/no-display.XXXXXX")
private_session "$WORK"
cd "$WORK" || fail "no work folder"

# A display number no X server listens on.
FREE=99
while [ -e "/tmp/.X11-unix/X$FREE" ] || [ -e "/tmp/.X$FREE-lock" ]; do FREE=$((FREE + 1)); done

# refused WHAT ENV-ARGS...: the start ends with 1 and one line.
refused() {
    what=$1
    shift
    timeout 30 env "$@" >"$WORK/out" 2>"$WORK/err"
    status=$?
    [ "$status" -eq 1 ] || fail "$what ended with $status: $(cat "$WORK/err")"
    [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "$what printed more than one line: $(cat "$WORK/err")"
    grep -q "^Error: The window needs a display.*-i FILE" "$WORK/err" ||
        fail "$what gave another line: $(cat "$WORK/err")"
    [ ! -s "$WORK/out" ] || fail "$what wrote to stdout: $(cat "$WORK/out")"
}

refused "window mode without a display" -u DISPLAY -u WAYLAND_DISPLAY "$TARVIK" -o out
refused "window mode with a display nobody serves" -u WAYLAND_DISPLAY DISPLAY=":$FREE" "$TARVIK"
refused "the X platform asked for by name" -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY=":$FREE" "$TARVIK"
refused "a Wayland display that is not there" -u DISPLAY WAYLAND_DISPLAY=no-such-wayland \
    XDG_SESSION_TYPE=wayland "$TARVIK"
refused "the uninstall window without a display" -u DISPLAY -u WAYLAND_DISPLAY "$TARVIK" -U
[ ! -e "$WORK/out" ] || [ ! -s "$WORK/out" ] || fail "something was written"
[ ! -e "$WORK/config/Quorvane/tarvik/config.ini" ] || fail "a refused start wrote config.ini"

# The offscreen platform needs no display: the screenshot mode runs on it.
mkdir -p "$WORK/shots"
timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$TARVIK" -T "$WORK/shots" \
    >"$WORK/out" 2>"$WORK/err"
STATUS=$?
[ "$STATUS" -eq 0 ] || fail "the offscreen screenshot mode ended with $STATUS: $(cat "$WORK/err")"
[ -s "$WORK/shots/tarvik1.jpg" ] || fail "the offscreen screenshot mode wrote no picture"

cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
