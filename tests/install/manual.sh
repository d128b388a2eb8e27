#!/bin/sh
# The HTML manual as installed: every link and picture it names is there
# (the manual page's sections included), every picture is used, and every
# window, dialog and Preferences page has its section with a picture. The
# manual page itself passes mandoc's checks.
# Usage: manual.sh BUILD_FOLDER TEST_OUTPUT_FOLDER MANUAL_PAGE
set -u
BUILD=$1
OUTPUT=$2
MANPAGE=$3

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

command -v mandoc >/dev/null 2>&1 || skip "mandoc is not installed (scripts/install-deps installs it)"

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/manual.XXXXXX")
cmake --install "$BUILD" --prefix "$WORK/p" >"$WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 3 "$WORK/install.log")"
MANUAL="$WORK/p/share/doc/tarvik/manual"
INDEX="$MANUAL/index.html"
[ -s "$INDEX" ] || fail "no manual installed"

ids_of() { grep -o ' id="[^"]*"' "$1" | sed 's/ id="\(.*\)"/\1/'; }

# Every local link and picture resolves, fragments included.
grep -o -e 'href="[^"]*"' -e 'src="[^"]*"' "$INDEX" | sed 's/^[a-z]*="\(.*\)"$/\1/' |
    grep -v -e '^https://' -e '^mailto:' | sort -u >"$WORK/targets"
[ -s "$WORK/targets" ] || fail "the manual links to nothing"
while read -r target; do
    file=${target%%#*}
    fragment=${target#"$file"}
    fragment=${fragment#\#}
    [ -z "$file" ] && file=index.html
    [ -f "$MANUAL/$file" ] || fail "the manual names $file, which is not installed"
    if [ -n "$fragment" ]; then
        ids_of "$MANUAL/$file" | grep -qxF -- "$fragment" || fail "$file has no section $fragment"
    fi
done <"$WORK/targets"
grep -q 'href="tarvik.1.html#' "$INDEX" || fail "the manual does not link to the manual page's sections"

# Every installed picture is shown.
for picture in "$MANUAL"/pictures/*; do
    name=${picture#"$MANUAL/"}
    grep -qF "src=\"$name\"" "$INDEX" || fail "$name is installed but not shown"
done

# A section with a picture for each window, dialog and Preferences page: a
# picture follows the element with that id before the next heading.
for section in main-window progress-window preferences-general preferences-interface \
    preferences-input preferences-output preferences-transform preferences-adjustment \
    preferences-frame preferences-watermark-text preferences-watermark-image \
    preferences-advanced themes finder about update-check uninstall; do
    awk -v id="id=\"$section\"" '
        index($0, id) { inside = 1; next }
        inside && /<h[1-3]/ { exit }
        inside && /<img src="pictures\// { found = 1; exit }
        END { exit !found }' "$INDEX" || fail "the manual has no section $section with a picture"
done

# The manual page: no mandoc warning or error.
mandoc -Tlint -W warning "$MANPAGE" >"$WORK/mandoc.log" 2>&1 ||
    fail "mandoc finds faults in the manual page: $(cat "$WORK/mandoc.log")"

cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
