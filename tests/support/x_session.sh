# Sourced by the tests that run the real program under a real X server: a
# private home, config and runtime folder, an Xvfb on a free display, and a
# wait for a window by its name. They exit 77 (skipped) only when no X
# server can be started.

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

# require_tools TOOL...: skips the test when one of them is missing.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 ||
            skip "$tool is not installed (scripts/install-deps installs it)"
    done
}

# private_session WORK: HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR inside WORK.
private_session() {
    mkdir -p "$1/home" "$1/config" "$1/runtime"
    chmod 700 "$1/runtime"
    export HOME="$1/home" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime"
    unset QT_QPA_PLATFORM
}

XVFB_PID=""
APP_PID=""
stop_session() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
}

# start_xvfb WORK: an X server on a free display (Xvfb writes its number to
# the descriptor); sets DISPLAY and stops the server and the program when
# the script ends.
start_xvfb() {
    trap stop_session EXIT
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$1/display" 2>"$1/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$1/display" ] || skip "Xvfb could not be started: $(tail -n 1 "$1/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$1/display")"
}

# Waits up to 10 s for a window whose name matches; prints its id.
wait_window() {
    for _ in $(seq 100); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
