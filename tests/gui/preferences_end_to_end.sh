#!/bin/sh
# The Preferences dialog in the real program under a real X server: opened
# from the toolbar, the icon size set to Large with the keyboard, OK. The
# toolbar then shows 32-pixel icons and config.ini holds the new size.
# Usage: preferences_end_to_end.sh TARVIK TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u

TARVIK=$1
OUTPUT=$2
TITLE="Quorvane JPG to BMP 2.8"
# The Preferences button of the toolbar at small icons, in window pixels.
PREFERENCES_X=98
PREFERENCES_Y=35

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/preferences-e2e.XXXXXX")
CONFIG_DIR="$WORK/config/Quorvane/tarvik"
mkdir -p "$WORK/home" "$CONFIG_DIR" "$WORK/runtime"
chmod 700 "$WORK/runtime"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
unset QT_QPA_PLATFORM
# Small icons to begin with; every other setting keeps its default.
printf '\357\273\277\r\n[Interface]\r\nUI Size = 0\r\n' >"$CONFIG_DIR/config.ini"

XVFB_PID=""
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
}
trap cleanup EXIT

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
done
[ -s "$WORK/display" ] || skip "Xvfb could not be started: $(tail -n 1 "$WORK/xvfb.log")"
export DISPLAY=":$(head -n 1 "$WORK/display")"

wait_window() {
    for _ in $(seq 100); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
toolbar_shot() {
    import -window "$1" "$OUTPUT/$2.png"
}

"$TARVIK" &
APP_PID=$!
MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open"
sleep 0.5
toolbar_shot "$MAIN" e2e_preferences_before

xdotool mousemove --window "$MAIN" "$PREFERENCES_X" "$PREFERENCES_Y" click 1
DIALOG=$(wait_window "^Preferences...\$") || fail "the toolbar button did not open Preferences"
sleep 0.3
import -window "$DIALOG" "$OUTPUT/e2e_preferences_dialog.png"
# The focus starts in the category list: Interface, then Theme, Icon Size
# (its last entry is Large), Defaults, OK.
xdotool windowfocus --sync "$DIALOG"
xdotool key --clearmodifiers Down Tab Tab End Tab Tab space
for _ in $(seq 50); do
    xdotool search --name "^Preferences...\$" >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --name "^Preferences...\$" >/dev/null 2>&1 && fail "OK did not close Preferences"
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

xdotool windowfocus --sync "$MAIN" && xdotool key --clearmodifiers alt+x
for _ in $(seq 100); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
done
wait "$APP_PID"
APP_PID=""
grep -q "^UI Size = 2$CR\$" "$CONFIG_DIR/config.ini" || fail "the size was lost at the end"
echo "PASSED"
