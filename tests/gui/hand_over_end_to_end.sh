#!/bin/sh
# A second start of the real program under a real X server with a window
# manager (openbox): with a file it hands the file to the open window,
# which shows it and comes to the front, and ends with 0; without one it
# only brings the window forward. A killed window's socket and lock do not
# stop the next window; a window that does not answer is named on stderr.
# Without a usable XDG_RUNTIME_DIR the lock lives in a private folder in
# the temp folder, which must be this user's and closed to others; a
# runtime folder too long for a socket address still works.
# Usage: hand_over_end_to_end.sh TARVIK SAMPLE_WRITER TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
SAMPLE=$2
OUTPUT=$3
TITLE="Quorvane JPG to BMP 2.8"
SOCKET_NAME="$TITLE.socket"

. "$(dirname "$0")/../support/x_session.sh"

require_tools Xvfb xdotool openbox import

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/hand-over-e2e.XXXXXX")
private_session "$WORK"
mkdir -p "$WORK/pics" "$WORK/tmp"

start_xvfb "$WORK"
start_openbox "$WORK"

"$SAMPLE" "$WORK/pics/a.jpg" || fail "cannot write the test photo"
for name in b c d; do cp "$WORK/pics/a.jpg" "$WORK/pics/$name.jpg"; done
cd "$WORK/pics" || fail "no pics folder"

main_visible() { [ "$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | wc -l)" -eq 1 ]; }
main_active() { [ "$(active_window)" = "$MAIN" ]; }
main_inactive() { [ "$(active_window)" != "$MAIN" ]; }

# second_start WHAT ARGS...: a second start that must end with 0 and
# print nothing.
second_start() {
    what=$1
    shift
    timeout 30 "$TARVIK" "$@" >"$WORK/second.out" 2>"$WORK/second.err"
    status=$?
    [ "$status" -eq 0 ] || fail "$what ended with $status: $(cat "$WORK/second.err")"
    [ ! -s "$WORK/second.err" ] || fail "$what printed: $(cat "$WORK/second.err")"
}

# open_window ARGS...: starts the window and sets MAIN.
open_window() {
    "$TARVIK" "$@" &
    APP_PID=$!
    MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open"
    wait_until "the main window to show" main_visible
}

# convert_shown BASENAME: F5 converts what the input box holds; only that
# file's picture appears.
convert_shown() {
    press "$MAIN" F5
    PROGRESS=$(wait_window "Conversion complete") || fail "the conversion of $1 did not complete"
    press "$PROGRESS" Return
    wait_gone "Conversion complete" || fail "Return did not close the progress window"
    [ -s "$WORK/pics/$1.bmp" ] || fail "the window did not convert $1.jpg: $(ls "$WORK/pics")"
}

end_window() {
    press "$MAIN" alt+x
    wait_exit "$APP_PID" "Alt+X to end the program"
}

# A file handed to a minimised window: shown, converted, window in front.
open_window a.jpg
timeout 5 xdotool windowminimize --sync "$MAIN"
wait_until "the window to be minimised" sh -c "! xdotool search --onlyvisible --name '^$TITLE\$' >/dev/null"
second_start "a second start with b.jpg" b.jpg
wait_until "the window to come back after the hand-over" main_visible
wait_until "the window to be active after the hand-over" main_active
sleep 0.2
timeout 10 import -window root "$OUTPUT/e2e_hand_over.png"
convert_shown b
[ ! -e a.bmp ] || fail "the first file was converted instead of the handed-over one"

# Without a file a second start only brings the window to the front of
# another program's window (the uninstall window takes no lock).
"$TARVIK" -U &
OTHER=$!
wait_window "Uninstall" >/dev/null || fail "the uninstall window did not open"
wait_until "the other window to take the focus" main_inactive
second_start "a second start without a file"
wait_until "the window to come to the front" main_active
[ "$(xdotool search --name "^$TITLE\$" | wc -l)" -eq 1 ] || fail "a second main window opened"
kill "$OTHER"
wait "$OTHER"

# A window that holds the lock but does not answer: one line, status 1.
kill -STOP "$APP_PID"
timeout 60 "$TARVIK" c.jpg >"$WORK/second.out" 2>"$WORK/second.err"
STATUS=$?
kill -CONT "$APP_PID"
[ "$STATUS" -eq 1 ] || fail "a start beside a stopped window ended with $STATUS"
[ "$(wc -l <"$WORK/second.err")" -eq 1 ] && grep -q "^Error: .*did not answer" "$WORK/second.err" ||
    fail "a start beside a stopped window must say so in one line: $(cat "$WORK/second.err")"

# A killed window leaves its socket; the next window replaces it and takes
# hand-overs.
kill -KILL "$APP_PID"
wait "$APP_PID"
APP_PID=""
[ -S "$XDG_RUNTIME_DIR/$SOCKET_NAME" ] || fail "the killed window left no socket to test with"
open_window
second_start "a hand-over to the window after a killed one" c.jpg
convert_shown c
end_window
[ "$STATUS" -eq 0 ] || fail "the window ended with $STATUS"
[ ! -e "$XDG_RUNTIME_DIR/$SOCKET_NAME" ] || fail "the window left its socket behind"

# No usable XDG_RUNTIME_DIR (what su can leave): a private folder in TMPDIR.
PRIVATE="$WORK/tmp/tarvik-$(id -u)"
export TMPDIR="$WORK/tmp" XDG_RUNTIME_DIR="$WORK/no-such-runtime"
open_window
[ -S "$PRIVATE/$SOCKET_NAME" ] && [ -f "$PRIVATE/$TITLE.lock" ] ||
    fail "no lock and socket in $PRIVATE: $(ls -la "$PRIVATE" 2>&1)"
[ "$(stat -c '%a %u' "$PRIVATE")" = "700 $(id -u)" ] ||
    fail "the private folder is $(stat -c '%a %u' "$PRIVATE")"
second_start "a hand-over through the private folder" d.jpg
convert_shown d
end_window
[ ! -e "$WORK/no-such-runtime" ] || fail "the missing runtime folder was made"

# refused WHAT: a start that must end with 1 and one line naming the folder.
refused() {
    timeout 30 "$TARVIK" >"$WORK/refused.out" 2>"$WORK/refused.err"
    status=$?
    [ "$status" -eq 1 ] || fail "$1: the start ended with $status"
    [ "$(wc -l <"$WORK/refused.err")" -eq 1 ] && grep -q "^Error: .*$PRIVATE.*0700" "$WORK/refused.err" ||
        fail "$1: no one line naming the folder: $(cat "$WORK/refused.err")"
    [ "$(xdotool search --name "^$TITLE\$" 2>/dev/null | wc -l)" -eq 0 ] || fail "$1: a window opened"
}
chmod 755 "$PRIVATE"
refused "a private folder open to others"
chmod 700 "$PRIVATE"
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$PRIVATE"
    refused "a private folder of another user"
    chown root "$PRIVATE"
fi

# A runtime folder whose socket path is longer than a socket address holds.
LONG="$WORK/runtime/a-runtime-folder-name-long-enough/to-push-the-socket-path-past-its-limit"
mkdir -p "$LONG"
chmod 700 "$LONG"
export XDG_RUNTIME_DIR="$LONG"
[ "${#LONG}" -gt 100 ] || fail "the long runtime folder is only ${#LONG} bytes"
open_window
second_start "a hand-over through a long socket path" a.jpg
convert_shown a
end_window

cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
