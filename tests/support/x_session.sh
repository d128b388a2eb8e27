# Sourced by the tests that run the real program under a real X server: a
# private home, config and runtime folder, an Xvfb on a free display, and
# waits for windows and programs, each with a bound. A wait that runs out
# fails with one line naming what it waited for and the windows still
# open. The tests exit 77 (skipped) only when no X server can be started.

# Seconds any one wait may take: far above a loaded machine's need.
WAIT_SECONDS=${WAIT_SECONDS:-20}

skip() { echo "SKIPPED: $*"; exit 77; }

# The names of the visible windows, for a failure line.
open_windows() {
    [ -n "${DISPLAY:-}" ] || { echo "no display"; return; }
    names=""
    for id in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
        name=$(timeout 5 xdotool getwindowname "$id" 2>/dev/null)
        [ -n "$name" ] && names="$names${names:+, }'$name'"
    done
    echo "${names:-none}"
}

fail() { echo "FAILED: $* (open windows: $(open_windows))"; exit 1; }

# require_tools TOOL...: skips the test when one of them is missing.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 ||
            skip "$tool is not installed (scripts/install-deps installs it)"
    done
}

# private_session WORK: HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR inside WORK.
private_session() {
    mkdir -p "$1/home" "$1/config" "$1/runtime" "$1/cache" "$1/data"
    chmod 700 "$1/runtime"
    export HOME="$1/home" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime"
    export XDG_CACHE_HOME="$1/cache" XDG_DATA_HOME="$1/data"
    unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
}

XVFB_PID=""
WM_PID=""
APP_PID=""
stop_session() {
    [ -n "$APP_PID" ] && kill -CONT "$APP_PID" 2>/dev/null && kill "$APP_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
}

# start_xvfb WORK: an X server on a free display (Xvfb writes its number to
# the descriptor); sets DISPLAY and stops the server and the program when
# the script ends. -noreset: an X server resets whenever its last client
# leaves and refuses connections meanwhile, and here every xdotool call is
# a client that comes and goes beside the program starting.
start_xvfb() {
    trap stop_session EXIT
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp -noreset 5>"$1/display" 2>"$1/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq $((WAIT_SECONDS * 10))); do
        [ -s "$1/display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$1/display" ] || skip "Xvfb could not be started: $(tail -n 1 "$1/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$1/display")"
}

# start_openbox WORK: the openbox window manager on the display, as a
# desktop has one; returns once it runs (it touches a file when started).
start_openbox() {
    openbox --sm-disable --startup "touch $1/openbox.ready" >"$1/openbox.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq $((WAIT_SECONDS * 10))); do
        [ -e "$1/openbox.ready" ] && return 0
        kill -0 "$WM_PID" 2>/dev/null || break
        sleep 0.1
    done
    fail "openbox did not start: $(tail -n 1 "$1/openbox.log")"
}

# The id of the window that has the focus under a window manager.
active_window() { timeout 5 xdotool getactivewindow 2>/dev/null; }

# Waits for a window whose name matches; prints its id.
wait_window() {
    for _ in $(seq $((WAIT_SECONDS * 10))); do
        id=$(timeout 5 xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits until no window's name matches; false when one still does.
wait_gone() {
    for _ in $(seq $((WAIT_SECONDS * 10))); do
        timeout 5 xdotool search --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# wait_until WHAT COMMAND...: runs the command until it succeeds; fails
# naming WHAT when it never does.
wait_until() {
    what=$1
    shift
    for _ in $(seq $((WAIT_SECONDS * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    fail "waited ${WAIT_SECONDS} s for $what"
}

# press WINDOW KEY...: gives the window the focus, then types the keys.
press() {
    window=$1
    shift
    timeout 5 xdotool windowfocus --sync "$window" &&
        timeout 5 xdotool key --clearmodifiers "$@"
}

# wait_exit PID WHAT: waits for the program to end and sets STATUS to its
# exit status; fails naming WHAT when it is still running.
wait_exit() {
    for _ in $(seq $((WAIT_SECONDS * 10))); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && fail "waited ${WAIT_SECONDS} s for $2"
    wait "$1"
    STATUS=$?
    [ "$1" = "$APP_PID" ] && APP_PID=""
    return 0
}
