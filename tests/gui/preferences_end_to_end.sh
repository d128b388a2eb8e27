#!/bin/sh
# The Preferences dialog in the real program under a real X server: opened
# from the toolbar, the icon size set to Large with the keyboard, OK. The
# toolbar then shows 32-pixel icons and config.ini holds the new size.
# Before that, Escape closes the dialog and it opens again.
# Usage: preferences_end_to_end.sh TARVIK TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
OUTPUT=$2
TITLE="Quorvane JPG to BMP 2.8"
# The Preferences button of the toolbar at small icons, in window pixels.
PREFERENCES_X=98
PREFERENCES_Y=35
# The format options button beside the output format box.
FORMAT_OPTIONS_X=375
FORMAT_OPTIONS_Y=150

. "$(dirname "$0")/../support/x_session.sh"

require_tools Xvfb xdotool import convert

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/preferences-e2e.XXXXXX")
CONFIG_DIR="$WORK/config/Quorvane/tarvik"
private_session "$WORK"
mkdir -p "$CONFIG_DIR"
# Small icons to begin with; every other setting keeps its default.
printf '\357\273\277\r\n[Interface]\r\nUI Size = 0\r\n' >"$CONFIG_DIR/config.ini"


start_xvfb "$WORK"

toolbar_shot() {
    timeout 10 import -window "$1" "$OUTPUT/$2.png"
}

"$TARVIK" &
APP_PID=$!
MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open"
sleep 0.5
toolbar_shot "$MAIN" e2e_preferences_before

open_preferences() {
    timeout 5 xdotool mousemove --window "$MAIN" "$PREFERENCES_X" "$PREFERENCES_Y" click 1
    DIALOG=$(wait_window "^Preferences...\$") || fail "the toolbar button did not open Preferences $1"
}

# Escape closes the dialog, which then opens again, from the toolbar and
# from the format options button beside the output format.
open_preferences "at first"
sleep 0.3
press "$DIALOG" Escape
wait_gone "^Preferences...\$" || fail "Escape did not close Preferences"
timeout 5 xdotool mousemove --window "$MAIN" "$FORMAT_OPTIONS_X" "$FORMAT_OPTIONS_Y" click 1
DIALOG=$(wait_window "^Preferences...\$") || fail "the format options button did not open Preferences after Escape"
sleep 0.3
press "$DIALOG" Escape
wait_gone "^Preferences...\$" || fail "Escape did not close Preferences the second time"
open_preferences "after Escape"
sleep 0.3
timeout 10 import -window "$DIALOG" "$OUTPUT/e2e_preferences_dialog.png"
# The focus starts in the category list: Interface, then Theme, Icon Size
# (its last entry is Large), Defaults, OK.
press "$DIALOG" Down Tab Tab End Tab Tab space
wait_gone "^Preferences...\$" || fail "OK did not close Preferences"
sleep 0.3
toolbar_shot "$MAIN" e2e_preferences_after

CR=$(printf '\r')
grep -q "^UI Size = 2$CR\$" "$CONFIG_DIR/config.ini" || fail "config.ini lacks UI Size = 2"

# The New icon at the left of the toolbar: the height of its dark outline,
# measured above the first label, grows from about 16 to about 32 pixels.
icon_height() {
    convert "$1" -crop 30x34+0+22 +repage -colorspace gray -threshold 45% -trim -format '%h' info:
}
BEFORE=$(icon_height "$OUTPUT/e2e_preferences_before.png")
AFTER=$(icon_height "$OUTPUT/e2e_preferences_after.png")
[ "$BEFORE" -lt 20 ] && [ "$AFTER" -ge 24 ] ||
    fail "the toolbar icons did not grow to 32 pixels ($BEFORE -> $AFTER)"

press "$MAIN" alt+x
wait_exit "$APP_PID" "Alt+X to end the program"
grep -q "^UI Size = 2$CR\$" "$CONFIG_DIR/config.ini" || fail "the size was lost at the end"
echo "PASSED"
