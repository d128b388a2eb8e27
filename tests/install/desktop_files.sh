#!/bin/sh
# The desktop entry and the AppStream data pass their validators and carry
# what a file manager's "Open with" and the applications menu need.
# Usage: desktop_files.sh DESKTOP_ENTRY METAINFO
set -u
DESKTOP=$1
METAINFO=$2

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done

desktop-file-validate "$DESKTOP" || fail "desktop-file-validate rejects $DESKTOP"
appstreamcli validate --no-net "$METAINFO" || fail "appstreamcli rejects $METAINFO"

# StartupWMClass is the window's class (tests/install/relocated_window.sh).
for line in "Name=Quorvane JPG to BMP" "Exec=tarvik %f" "MimeType=image/jpeg;" \
    "Categories=Graphics;Photography;Qt;" "Icon=tarvik" "Type=Application" \
    "StartupWMClass=tarvik"; do
    grep -qxF "$line" "$DESKTOP" || fail "the desktop entry lacks '$line'"
done
grep -q "^GenericName=." "$DESKTOP" && grep -q "^Comment=." "$DESKTOP" ||
    fail "the desktop entry needs a generic name and a comment"

grep -qF '<launchable type="desktop-id">tarvik.desktop</launchable>' "$METAINFO" ||
    fail "the AppStream data must launch tarvik.desktop"
grep -qF '<release version="2.8" ' "$METAINFO" || fail "the AppStream data lacks the 2.8 release"
grep -qF '<url type="homepage">https://www.quorvane.example/tarvik/</url>' "$METAINFO" ||
    fail "the AppStream data lacks the home page"
grep -q '<image>https://[^<]*/tarvik-window.jpg</image>' "$METAINFO" ||
    fail "the AppStream data lacks the window's screenshot"
echo "PASSED"
