#!/bin/sh
# The real program under a real X server: a photo opened the way a file
# manager's "Open with" does, F5, Return, Alt+X; meanwhile a second window
# start and a command-line job. Then the picture and config.ini, and F1 on
# a desktop without xdg-open.
# Usage: window_end_to_end.sh TARVIK SAMPLE_WRITER TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
SAMPLE=$2
OUTPUT=$3
TITLE="Quorvane JPG to BMP 2.8"

. "$(dirname "$0")/../support/x_session.sh"

require_tools Xvfb xdotool

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/window-e2e.XXXXXX")
private_session "$WORK"
mkdir -p "$WORK/pics" "$WORK/cli" "$WORK/alone"


start_xvfb "$WORK"

shot() {
    command -v import >/dev/null 2>&1 && timeout 10 import -window root "$OUTPUT/$1.png"
}

"$SAMPLE" "$WORK/pics/photo.jpg" || fail "cannot write the test photo"

# Without the window front end beside it, tarvik says so and ends with 1.
cp "$TARVIK" "$WORK/alone/tarvik"
"$WORK/alone/tarvik" >"$WORK/alone/out" 2>"$WORK/alone/err"
[ $? -eq 1 ] || fail "a missing front end must end with 1"
[ "$(wc -l <"$WORK/alone/err")" -eq 1 ] && grep -q "Window mode is not available" "$WORK/alone/err" ||
    fail "a missing front end must be named in one line: $(cat "$WORK/alone/err")"

cd "$WORK/pics" || fail "no pics folder"
"$TARVIK" photo.jpg &
APP_PID=$!
MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open"
sleep 0.3
shot e2e_main_window

# A second window start ends at once, without a second window.
timeout 10 "$TARVIK"
[ $? -eq 0 ] || fail "a second window start must end with 0 at once"
[ "$(xdotool search --name "^$TITLE\$" | wc -l)" -eq 1 ] || fail "a second main window opened"

# A command-line job runs beside the window.
"$TARVIK" -q -i "$WORK/pics/photo.jpg" -o "$WORK/cli" || fail "the command-line job failed beside the window"
[ -s "$WORK/cli/photo.bmp" ] || fail "the command-line job wrote no picture"

press "$MAIN" F5
PROGRESS=$(wait_window "Conversion complete") || fail "the conversion did not complete"
NAME=$(xdotool getwindowname "$PROGRESS")
[ "$NAME" = "Conversion complete (1/1)" ] || fail "progress window titled '$NAME'"
sleep 0.2
shot e2e_progress_window
press "$PROGRESS" Return
wait_gone "Conversion complete" || fail "Return did not close the progress window"

# No window manager hands the keyboard back here: the window takes it, so
# keys typed after the run reach it, and a later box hears Return.
timeout 5 xdotool key ctrl+n F5
WARNING=$(wait_window "^Warning\$") || fail "keys after the run did not reach the window"
timeout 5 xdotool key Return
wait_gone "^Warning\$" || fail "the box after the run did not hear Return"

press "$MAIN" alt+x
wait_exit "$APP_PID" "Alt+X to end the program"
[ "$STATUS" -eq 0 ] || fail "the window ended with $STATUS"

# On a desktop with nothing to open files (no xdg-open on the PATH), F1
# says so in a box, and Return closes it.
mkdir -p "$WORK/no-programs"
PATH="$WORK/no-programs" BROWSER="" "$TARVIK" &
APP_PID=$!
MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open without programs on the PATH"
press "$MAIN" F1
BOX=$(wait_window "^Warning\$") || fail "F1 without xdg-open showed no box"
sleep 0.2
shot e2e_no_opener
press "$BOX" Return
wait_gone "^Warning\$" || fail "Return did not close the box"
press "$MAIN" alt+x
wait_exit "$APP_PID" "Alt+X to end the program without programs on the PATH"

head -c 2 "$WORK/pics/photo.bmp" | grep -q "BM" || fail "no BMP beside the photo"
CONFIG="$WORK/config/Quorvane/tarvik/config.ini"
[ -f "$CONFIG" ] || fail "no config.ini"
[ "$(head -c 5 "$CONFIG" | od -An -tx1 | tr -d ' \n')" = "efbbbf0d0a" ] ||
    fail "config.ini must begin with the byte-order mark and CR LF"
CR=$(printf '\r')
grep -q "^Recent Out Folders = $WORK/pics/$CR\$" "$CONFIG" || fail "the history lacks the photo's folder"
grep -q "^Width = 510$CR\$" "$CONFIG" && grep -q "^Height = 260$CR\$" "$CONFIG" &&
    grep -q "^IsMaximized = 0$CR\$" "$CONFIG" || fail "the window geometry is missing"
cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
