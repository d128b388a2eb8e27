#!/bin/sh
# The installed tree, copied to another prefix, opens the window under a
# real X server: tarvik runs the moved tree's window program, and the
# toolbar shows the moved tree's theme (taking the theme away changes it).
# Usage: relocated_window.sh BUILD_FOLDER TEST_OUTPUT_FOLDER
# Exit 77 (skipped) only when no X server can be started.
set -u
BUILD=$1
OUTPUT=$2
HERE=$(dirname "$0")
TITLE="Quorvane JPG to BMP 2.8"

. "$HERE/../support/x_session.sh"
. "$HERE/install_tree.sh"

require_tools Xvfb xdotool import compare

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/installed-window.XXXXXX")
install_and_move
private_session "$WORK"
unset TARVIK_THEMES_DIR


start_xvfb "$WORK"


# The window's class, which the installed desktop entry names so that the
# desktop ties the window to its entry.
WM_CLASS=$(sed -n 's/^StartupWMClass=//p' "$Q/share/applications/tarvik.desktop")
[ -n "$WM_CLASS" ] || fail "the installed desktop entry has no StartupWMClass"

# Starts the moved program, checks which window program it runs and the
# window's class, saves a screenshot of the main window as $1.png and
# closes it with Alt+X.
window_shot() {
    "$Q/bin/tarvik" &
    APP_PID=$!
    MAIN=$(wait_window "^$TITLE\$") || fail "the main window did not open ($1)"
    program=$(readlink "/proc/$APP_PID/exe")
    [ "$program" = "$Q/lib/tarvik/tarvik-gui" ] || fail "tarvik ran '$program'"
    timeout 5 xdotool search --class "^$WM_CLASS\$" | grep -qx "$MAIN" ||
        fail "the window's class is not $WM_CLASS, the desktop entry's StartupWMClass"
    sleep 0.5
    timeout 10 import -window "$MAIN" "$OUTPUT/$1.png" || fail "no screenshot of the window"
    press "$MAIN" alt+x
    wait_exit "$APP_PID" "Alt+X to end the program ($1)"
    [ "$STATUS" -eq 0 ] || fail "the window ended with $STATUS ($1)"
}

window_shot installed_window_theme
mv "$Q/share/tarvik/gfx" "$Q/share/tarvik/gfx-away" || fail "cannot take the theme away"
window_shot installed_window_builtin

# The window keeps its size between the starts; only the pictures differ.
differing=$(compare -metric AE "$OUTPUT/installed_window_theme.png" \
    "$OUTPUT/installed_window_builtin.png" null: 2>&1)
[ "$differing" != "0" ] || fail "the window looks the same without the installed theme"
case $differing in
    *[!0-9]*) fail "the screenshots cannot be compared: $differing" ;;
esac

cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
