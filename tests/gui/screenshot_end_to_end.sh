#!/bin/sh
# The screenshot mode of the real program under a real X server: "-T DIR"
# writes tarvik1.jpg and the 180-pixel-wide tarvik1x.jpg and no config.ini;
# a folder that does not exist gets nothing, and neither does anything else.
# "-U" shows the uninstall window, which Escape closes, ending the program.
# Usage: screenshot_end_to_end.sh TARVIK TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
OUTPUT=$2

. "$(dirname "$0")/../support/x_session.sh"

require_tools Xvfb xdotool identify

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/screenshot-e2e.XXXXXX")
private_session "$WORK"
mkdir -p "$WORK/shots"


start_xvfb "$WORK"

# Width and height of a picture, as "W H".
size_of() { identify -format '%w %h' "$1" 2>/dev/null; }

timeout 30 "$TARVIK" -T "$WORK/shots"
STATUS=$?
[ "$STATUS" -eq 0 ] || fail "-T ended with $STATUS"
[ -s "$WORK/shots/tarvik1.jpg" ] || fail "no tarvik1.jpg"
[ -s "$WORK/shots/tarvik1x.jpg" ] || fail "no tarvik1x.jpg"
[ "$(ls "$WORK/shots" | wc -l)" -eq 2 ] || fail "more than the two pictures: $(ls "$WORK/shots")"
set -- $(size_of "$WORK/shots/tarvik1.jpg")
W=${1:-0} H=${2:-0}
[ "$W" -ge 510 ] && [ "$H" -ge 260 ] || fail "tarvik1.jpg is ${W}x$H, smaller than the window"
# 180 wide, the height in proportion, rounded to the nearest pixel.
EXPECTED="180 $(( (180 * H * 2 + W) / (2 * W) ))"
[ "$(size_of "$WORK/shots/tarvik1x.jpg")" = "$EXPECTED" ] ||
    fail "tarvik1x.jpg is $(size_of "$WORK/shots/tarvik1x.jpg"), not $EXPECTED"
cp "$WORK/shots/tarvik1.jpg" "$OUTPUT/screenshot_mode_xvfb.jpg"

# A relative folder is taken from the current one.
mkdir -p "$WORK/here/out"
(cd "$WORK/here" && timeout 30 "$TARVIK" -T out) || fail "-T with a relative folder failed"
[ -s "$WORK/here/out/tarvik1.jpg" ] && [ -s "$WORK/here/out/tarvik1x.jpg" ] ||
    fail "-T out wrote nothing into the current folder's out/"

# A folder that does not exist: nothing is shown or written.
(cd "$WORK/here" && timeout 30 "$TARVIK" -T "$WORK/missing")
STATUS=$?
[ "$STATUS" -eq 0 ] || fail "-T with a missing folder ended with $STATUS"
[ ! -e "$WORK/missing" ] || fail "-T created the missing folder"
[ "$(ls "$WORK/here" | wc -l)" -eq 1 ] || fail "-T with a missing folder wrote $(ls "$WORK/here")"

# The uninstall window: Escape closes it and the program ends with 0.
"$TARVIK" -U &
APP_PID=$!
WINDOW=$(wait_window "^Uninstall\$") || fail "-U showed no uninstall window"
sleep 0.3
press "$WINDOW" Escape
wait_exit "$APP_PID" "Escape to end the uninstall window"
[ "$STATUS" -eq 0 ] || fail "-U ended with $STATUS"

# Settings are neither read nor written in any of these runs.
[ -z "$(find "$WORK/config" "$WORK/home" -type f)" ] ||
    fail "files appeared in the configuration folders: $(find "$WORK/config" "$WORK/home" -type f)"
cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
