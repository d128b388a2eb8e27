#!/bin/sh
# Runs every case of a Qt Test program alone by name ("function:tag"), so
# that no case depends on what an earlier one left behind. Prints one line
# per failing case and ends with 1 when there was one.
# Usage: each_case_alone.sh TEST_PROGRAM
set -u
PROGRAM=$1
LIST=$(mktemp)
trap 'rm -f "$LIST"' EXIT
"$PROGRAM" -datatags >"$LIST" || { echo "FAILED: $PROGRAM cannot list its cases"; exit 1; }
[ -s "$LIST" ] || { echo "FAILED: $PROGRAM lists no case"; exit 1; }

failed=0
count=0
# Each line: "Class function [tag words]".
while read -r _class function tag; do
    case_name=$function
    [ -n "$tag" ] && case_name="$function:$tag"
    count=$((count + 1))
    if ! out=$("$PROGRAM" "$case_name" 2>&1); then
        echo "FAILED alone: $case_name"
        printf '%s\n' "$out" | grep -E '^(FAIL!|   Loc:)' | head -n 4
        failed=1
    fi
done <"$LIST"
[ "$failed" -eq 0 ] && echo "PASSED: $count cases alone"
exit "$failed"
