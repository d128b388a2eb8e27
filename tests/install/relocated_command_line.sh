#!/bin/sh
# The installed tree, copied to another prefix, holds every file in its
# place, names nothing of the build tree, and converts with a frame: the
# drawing module is found relative to the moved program. DESTDIR is
# honoured.
# Usage: relocated_command_line.sh BUILD_FOLDER SAMPLE_WRITER TEST_OUTPUT_FOLDER
set -u
BUILD=$1
SAMPLE=$2
OUTPUT=$3
HERE=$(dirname "$0")

fail() { echo "FAILED: $*"; exit 1; }
. "$HERE/install_tree.sh"

mkdir -p "$OUTPUT"
WORK=$(mktemp -d "$OUTPUT/installed-cli.XXXXXX")
install_and_move

while read -r file; do
    [ -s "$Q/$file" ] || fail "not installed: $file"
done <"$HERE/installed_files.txt"

for elf in bin/tarvik lib/tarvik/tarvik-gui lib/tarvik/libtarvik-draw.so; do
    readelf -d "$Q/$elf" | grep -E "RPATH|RUNPATH" && fail "$elf carries a library path"
    # Debug information may name the sources; what the program runs must not.
    objcopy --strip-debug "$Q/$elf" "$WORK/stripped" || fail "cannot read $elf"
    grep -qF "$BUILD" "$WORK/stripped" && fail "$elf names the build folder $BUILD"
done
[ -x "$Q/bin/tarvik" ] && [ -x "$Q/lib/tarvik/tarvik-gui" ] || fail "the programs are not executable"

DESTDIR="$WORK/staged" cmake --install "$BUILD" --prefix /usr/local >/dev/null 2>&1 ||
    fail "cmake --install with DESTDIR failed"
[ -s "$WORK/staged/usr/local/bin/tarvik" ] && [ -s "$WORK/staged/usr/local/lib/tarvik/libtarvik-draw.so" ] ||
    fail "DESTDIR was not honoured"

"$SAMPLE" "$WORK/x.jpg" || fail "cannot write the test photo"
cd "$WORK" || fail "no work folder"
LD_DEBUG=files "$Q/bin/tarvik" -q -i x.jpg --fr-solid-left=5 --fr-solid-left-color=FF0000 \
    2>"$WORK/loader.log" || fail "the moved program did not convert with a frame"
grep -q "file=$Q/lib/tarvik/libtarvik-draw.so " "$WORK/loader.log" ||
    fail "the drawing module was not loaded from the moved tree: $(grep -m 1 tarvik-draw "$WORK/loader.log")"
[ -s x.bmp ] || fail "no x.bmp"
cp x.bmp "$OUTPUT/installed_frame.bmp"
convert x.bmp "$OUTPUT/installed_frame.png" 2>/dev/null

# Columns 0-4 are the red frame band; column 5 is the photo again.
band=$(convert x.bmp -crop 5x100000+0+0 +repage -format '%[fx:minima.r] %[fx:maxima.g] %[fx:maxima.b]' info:)
[ "$band" = "1 0 0" ] || fail "the left band is not the frame colour: $band"
after=$(convert x.bmp -crop 1x100000+5+0 +repage -format '%[fx:minima.r<1 || maxima.g>0 || maxima.b>0]' info:)
[ "$after" = "1" ] || fail "the frame is wider than 5 pixels"

cd "$OUTPUT" && rm -rf "$WORK"
echo "PASSED"
