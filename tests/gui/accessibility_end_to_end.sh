#!/bin/sh
# What a screen reader sees of the real program: under Xvfb, with a private
# D-Bus session and the accessibility bus switched on as a screen reader
# does, every control of the main window and of the Watermark page of
# Preferences (opened with Ctrl+Comma) has a name in the AT-SPI tree. A
# session bus that never answers delays the window by seconds, not for good.
# Usage: accessibility_end_to_end.sh TARVIK TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
OUTPUT=$2
TITLE="Quorvane JPG to BMP 2.8"
HERE=$(cd "$(dirname "$0")" && pwd)
PYTHON=/usr/bin/python3

. "$HERE/../support/x_session.sh"

require_tools Xvfb xdotool dbus-run-session dbus-send import
"$PYTHON" -c 'import pyatspi' 2>/dev/null ||
    skip "python3-pyatspi is not installed (scripts/install-deps installs it)"

# A session bus of its own, so the test never talks to the desktop's.
if [ -z "${TARVIK_PRIVATE_BUS:-}" ]; then
    TARVIK_PRIVATE_BUS=1 exec dbus-run-session -- sh "$0" "$@"
fi

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/accessibility-e2e.XXXXXX")
private_session "$WORK"
start_xvfb "$WORK"

# Switched on as a screen reader switches it on; the bus starts on demand.
timeout 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
    variant:boolean:true >/dev/null || fail "the accessibility bus did not start"

names() {
    timeout 60 "$PYTHON" "$HERE/accessible_names.py" tarvik "$1" >"$WORK/names" 2>&1
    status=$?
    cat "$WORK/names"
    [ "$status" -eq 0 ] || fail "$(cat "$WORK/names")"
}

"$TARVIK" &
APP_PID=$!
MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open"
names "$TITLE"

press "$MAIN" ctrl+comma
DIALOG=$(wait_window "^Preferences...\$") || fail "Ctrl+Comma did not open Preferences"
sleep 0.3
# The category list has the focus: Watermark is the one above Advanced.
# Then the page's first control, its type list, set to Text.
press "$DIALOG" End Up Tab Down
sleep 0.3
timeout 10 import -window "$DIALOG" "$OUTPUT/e2e_accessibility_watermark.png"
names "Preferences..."

press "$DIALOG" Escape
wait_gone "^Preferences...\$" || fail "Escape did not close Preferences"
press "$MAIN" alt+x
wait_exit "$APP_PID" "Alt+X to end the program"

# A session bus that takes connections and never answers holds the window
# back for a few seconds only, and says why on stderr.
SILENT="$WORK/silent-bus"
"$PYTHON" -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(8)
time.sleep(90)' "$SILENT" &
BUS_PID=$!
wait_until "the silent bus to listen" test -S "$SILENT"
STARTED=$(date +%s)
DBUS_SESSION_BUS_ADDRESS="unix:path=$SILENT" "$TARVIK" 2>"$WORK/silent.err" &
APP_PID=$!
MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open beside a silent bus"
TOOK=$(( $(date +%s) - STARTED ))
[ "$TOOK" -le 10 ] || fail "the window took $TOOK s beside a silent bus"
grep -q "^Warning: The desktop's session bus did not answer" "$WORK/silent.err" ||
    fail "no line about the silent bus: $(cat "$WORK/silent.err")"
press "$MAIN" alt+x
wait_exit "$APP_PID" "Alt+X to end the program beside a silent bus"
kill "$BUS_PID"
wait "$BUS_PID" 2>/dev/null
cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
