#!/bin/sh
# The Debian package: built by CPack into a folder of its own, with the
# fields a package manager needs, Depends from dpkg-shlibdeps and the
# watermark's font, no maintainer scripts, every installed file under /usr,
# binaries hardened and stripped as Debian's are, AppStream data and desktop
# entry valid as installed, and lintian (every check, pedantic ones too)
# without an error or a warning; any tag below those must be named, with its
# reason, in the packaging code.
# Usage: package.sh CPACK_CONFIG TEST_OUTPUT_FOLDER HARDENED PACKAGING_CODE
set -u
CONFIG=$1
OUTPUT=$2
HARDENED=$3
PACKAGING_CODE=$4
HERE=$(dirname "$0")

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

[ "$HARDENED" = ON ] ||
    skip "the package is made only from a build with the distribution's flags, and this one has none (a sanitizer build)"
for tool in cpack dpkg-deb dpkg-shlibdeps lintian hardening-check readelf appstreamcli \
    desktop-file-validate fc-match; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/package.XXXXXX")
cpack --config "$CONFIG" -B "$WORK" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 5 "$WORK/cpack.log")"
DEB="$WORK/tarvik_2.8_amd64.deb"
[ -s "$DEB" ] || fail "no tarvik_2.8_amd64.deb: $(ls "$WORK")"

# Control fields.
dpkg-deb --info "$DEB" >"$WORK/info" || fail "dpkg-deb cannot read the package"
for field in "Package: tarvik" "Version: 2.8" "Architecture: amd64" "Section: graphics" \
    "Maintainer: Quorvane <support@quorvane.example>" "Homepage: https://www.quorvane.example/tarvik/" \
    "Recommends: xdg-utils"; do
    grep -qxF " $field" "$WORK/info" || fail "the package lacks '$field': $(cat "$WORK/info")"
done
grep -q "^ Description: ." "$WORK/info" || fail "the package has no description"
depends=$(sed -n 's/^ Depends: //p' "$WORK/info")
for library in libc6 libfreeimage3 libcairo2 libpangocairo libqt6widgets6 libarchive13 \
    "fonts-liberation2 | fonts-liberation"; do
    case $depends in
        *"$library"*) ;;
        *) fail "Depends lacks $library: $depends" ;;
    esac
done
# The default watermark font, Arial, is what fontconfig resolves it to: a
# file of one of the font packages Depends names.
font=$(fc-match -f '%{file}' Arial)
owner=$(dpkg -S "$font" 2>/dev/null | cut -d: -f1)
case $owner in
    fonts-liberation2 | fonts-liberation) ;;
    *) fail "Arial resolves to $font of '${owner:-no package}', which Depends does not name" ;;
esac
# A private module needs no ldconfig: the package has no maintainer scripts.
dpkg-deb --ctrl-tarfile "$DEB" | tar -t | sed 's|^\./||' | grep -v -x -e '' -e control -e md5sums \
    >"$WORK/scripts" && fail "the package has maintainer scripts: $(cat "$WORK/scripts")"

# Contents.
dpkg-deb --contents "$DEB" >"$WORK/contents" || fail "dpkg-deb cannot list the package"
while read -r file; do
    # Manual pages and the changelog are packed compressed.
    [ "$file" = share/man/man1/tarvik.1 ] && file=$file.gz
    grep -q " \./usr/$file\$" "$WORK/contents" || fail "the package lacks /usr/$file"
done <"$HERE/installed_files.txt"
for file in share/doc/tarvik/changelog.gz share/doc-base/tarvik-manual; do
    grep -q " \./usr/$file\$" "$WORK/contents" || fail "the package lacks /usr/$file"
done
grep -q " \./usr/share/man/man1/tarvik.1\$" "$WORK/contents" && fail "the manual page is not compressed"
awk '{ print $2 }' "$WORK/contents" | grep -v "^root/root$" && fail "files not owned by root"

# The unpacked package as the system would hold it.
ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb cannot unpack the package"

# Hardening: position-independent, stack protector, fortified calls, full
# RELRO with immediate binding. Debian 12's C start files carry no CET
# marks, so no program linked there passes the control-flow check; the
# drawing module calls no function whose size the compiler knows, so it has
# nothing to fortify, though it is built with _FORTIFY_SOURCE as well.
for binary in usr/bin/tarvik usr/lib/tarvik/tarvik-gui usr/lib/tarvik/libtarvik-draw.so; do
    case $binary in
        *.so) skips="--nocfprotection --nofortify" ;;
        *) skips="--nocfprotection" ;;
    esac
    # shellcheck disable=SC2086
    hardening-check $skips "$ROOT/$binary" >"$WORK/hardening" 2>&1 ||
        fail "hardening-check rejects $binary: $(cat "$WORK/hardening")"
    readelf --dynamic "$ROOT/$binary" | grep -q "(FLAGS).*BIND_NOW" ||
        fail "$binary is not linked with immediate binding"
    readelf --program-headers "$ROOT/$binary" | grep -q GNU_RELRO || fail "$binary has no RELRO"
    readelf --section-headers "$ROOT/$binary" | grep -q -e "\.comment" -e "\.debug_" &&
        fail "$binary is not stripped as Debian strips"
done
echo "hardening-check passes on the programs and the drawing module"

# The AppStream data is named after its component, and the installed tree
# (metainfo, desktop entry, icons) passes the validator.
metainfo=$(ls "$ROOT/usr/share/metainfo")
component=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$ROOT/usr/share/metainfo/$metainfo")
[ "$metainfo" = "$component.metainfo.xml" ] ||
    fail "the AppStream file $metainfo is not named after its component $component"
appstreamcli validate-tree --no-net "$ROOT" >"$WORK/appstream.log" 2>&1 ||
    fail "appstreamcli validate-tree rejects the package: $(cat "$WORK/appstream.log")"
cat "$WORK/appstream.log"
desktop-file-validate "$ROOT/usr/share/applications/tarvik.desktop" ||
    fail "desktop-file-validate rejects the installed desktop entry"

# The manual page stands alone: it names no file of the source tree and
# ends with SEE ALSO.
gzip -dc "$ROOT/usr/share/man/man1/tarvik.1.gz" >"$WORK/tarvik.1"
grep -n -e "docs/" -e "src/" -e "README" "$WORK/tarvik.1" &&
    fail "the manual page refers to files the package does not install"
grep -q '^\.SH "\?SEE ALSO"\?$' "$WORK/tarvik.1" || fail "the manual page has no SEE ALSO"

# lintian with every check: no error, no warning; every other tag is named
# in the packaging code, which says why it stays.
lintian -EvIL +pedantic "$DEB" >"$WORK/lintian.log" 2>&1
cat "$WORK/lintian.log"
grep -E "^[EW]: " "$WORK/lintian.log" && fail "lintian finds errors or warnings"
for tag in $(sed -n 's/^[IPX]: tarvik: \([a-z0-9-]*\).*/\1/p' "$WORK/lintian.log" | sort -u); do
    grep -q -w -- "$tag" "$PACKAGING_CODE" || fail "lintian tag $tag is not explained in $PACKAGING_CODE"
done

cp "$DEB" "$OUTPUT/"
cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
