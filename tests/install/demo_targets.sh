#!/bin/sh
# The targets `make demo` builds compile no test, no window code and no
# picture: a newcomer's first command stays quick.
# Usage: demo_targets.sh NINJA BUILD_FOLDER MAKEFILE
set -u
NINJA=$1
BUILD=$2
MAKEFILE=$3

fail() { echo "FAILED: $*"; exit 1; }

targets=$(sed -n 's/^DEMO_TARGETS = //p' "$MAKEFILE")
[ -n "$targets" ] || fail "the Makefile names no DEMO_TARGETS"
# shellcheck disable=SC2086
commands=$("$NINJA" -C "$BUILD" -t commands $targets) || fail "ninja does not know: $targets"
echo "$commands" | grep -q "libtarvik-draw.so" || fail "the demo would not build the drawing module"
echo "$commands" | grep -E "/tests/|gtest|/src/gui/|moc|rsvg-convert|Qt6" && fail "the demo builds more than it needs"
echo "PASSED"
