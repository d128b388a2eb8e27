# Shared by the installed-tree tests (sourced): installs the build into
# $WORK/p, copies that to $WORK/q and removes $WORK/p, so anything the
# copy still looked for under the first prefix would be missing.
# Needs BUILD, WORK, fail().
install_and_move() {
    cmake --install "$BUILD" --prefix "$WORK/p" >"$WORK/install.log" 2>&1 ||
        fail "cmake --install failed: $(tail -n 3 "$WORK/install.log")"
    cp -a "$WORK/p" "$WORK/q" && rm -rf "$WORK/p" || fail "cannot move the installed tree"
    Q="$WORK/q"
}
