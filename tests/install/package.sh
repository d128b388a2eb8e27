#!/bin/sh
# The Debian package: built by CPack into a folder of its own, with the
# fields a package manager needs, Depends from dpkg-shlibdeps, every
# installed file under /usr, and no lintian error.
# Usage: package.sh CPACK_CONFIG TEST_OUTPUT_FOLDER
set -u
CONFIG=$1
OUTPUT=$2
HERE=$(dirname "$0")

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/package.XXXXXX")
cpack --config "$CONFIG" -B "$WORK" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 5 "$WORK/cpack.log")"
DEB="$WORK/tarvik_2.8_amd64.deb"
[ -s "$DEB" ] || fail "no tarvik_2.8_amd64.deb: $(ls "$WORK")"

dpkg-deb --info "$DEB" >"$WORK/info" || fail "dpkg-deb cannot read the package"
for field in "Package: tarvik" "Version: 2.8" "Architecture: amd64" "Section: graphics" \
    "Maintainer: Quorvane <support@quorvane.example>" "Homepage: http://www.quorvane.example/tarvik/"; do
    grep -qxF " $field" "$WORK/info" || fail "the package lacks '$field': $(cat "$WORK/info")"
done
grep -q "^ Description: ." "$WORK/info" || fail "the package has no description"
depends=$(sed -n 's/^ Depends: //p' "$WORK/info")
for library in libc6 libfreeimage3 libcairo2 libpangocairo libqt6widgets6 libarchive13; do
    case $depends in
        *"$library"*) ;;
        *) fail "Depends lacks $library: $depends" ;;
    esac
done

dpkg-deb --contents "$DEB" >"$WORK/contents" || fail "dpkg-deb cannot list the package"
while read -r file; do
    # Manual pages and the changelog are packed compressed.
    [ "$file" = share/man/man1/tarvik.1 ] && file=$file.gz
    grep -q " \./usr/$file\$" "$WORK/contents" || fail "the package lacks /usr/$file"
done <"$HERE/installed_files.txt"
grep -q " \./usr/share/doc/tarvik/changelog.gz\$" "$WORK/contents" || fail "the package lacks its changelog"
grep -q " \./usr/share/man/man1/tarvik.1\$" "$WORK/contents" && fail "the manual page is not compressed"
awk '{ print $2 }' "$WORK/contents" | grep -v "^root/root$" && fail "files not owned by root"

# Warnings are shown, errors fail.
lintian --fail-on error "$DEB" >"$WORK/lintian.log" 2>&1 ||
    fail "lintian finds errors: $(grep '^E:' "$WORK/lintian.log")"
cat "$WORK/lintian.log"
cp "$DEB" "$OUTPUT/"
cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
