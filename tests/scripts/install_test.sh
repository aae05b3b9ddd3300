#!/bin/sh
# The installed game, as a user gets it.
# usage: install_test.sh MODE BUILD_DIR SOURCE_DIR "TOOL..."
#   install  cmake --install into a prefix, then move the prefix elsewhere:
#            everything must still be found from the executable's location
#   package  the .deb from CPack, unpacked with dpkg-deb -x (no root needed),
#            with its dependencies computed from the executables
# Both then check the files against the source tree, run the installed
# voltaro (--check, and a headless replay from a folder that holds no game)
# and validate the menu entry and the man pages with Debian's tools.
set -u
mode=$1
build=$2
source=$3
tools=$4  # the content tools the build installs, by name

fail() {
    echo "FAIL ($mode): $*" >&2
    exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/voltaro-install-XXXXXX") || fail "no temporary directory"
trap 'rm -rf "$work"' EXIT

case $mode in
install)
    cmake --install "$build" --prefix "$work/first" >"$work/install.log" 2>&1 ||
        fail "cmake --install failed: $(cat "$work/install.log")"
    mv "$work/first" "$work/moved"
    root=$work/moved
    ;;
package)
    (cd "$build" && cpack -G DEB -B "$work/cpack") >"$work/cpack.log" 2>&1 || fail "cpack failed: $(cat "$work/cpack.log")"
    set -- "$work"/cpack/voltaro_*.deb
    [ -f "$1" ] || fail "no .deb in $work/cpack: $(cat "$work/cpack.log")"
    deb=$1
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "$depends" | grep -q "libsdl1.2debian" || fail "the package does not depend on SDL: '$depends'"
    dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x failed"
    root=$work/root/usr
    ;;
*)
    fail "unknown mode"
    ;;
esac

# The engine and every content tool, each with its man page.
[ -x "$root/bin/voltaro" ] || fail "no bin/voltaro"
[ -f "$root/share/man/man6/voltaro.6.gz" ] || fail "no man page voltaro(6)"
[ -n "$tools" ] || fail "the build names no content tool"
for tool in $tools; do
    [ -x "$root/bin/$tool" ] || fail "the tool $tool is not installed"
    "$root/bin/$tool" --help >/dev/null 2>&1 || fail "$tool --help fails"
    [ -f "$root/share/man/man1/$tool.1.gz" ] || fail "no man page $tool(1)"
done

# The game's runtime files as in the source tree, its sources as examples.
installed=$root/share/voltaro/game
for file in "$source"/game/*; do
    [ -f "$file" ] || continue
    cmp -s "$file" "$installed/$(basename "$file")" || fail "game/$(basename "$file") is not installed as it is"
done
for folder in art maps tiled sfx songs; do
    [ ! -e "$installed/$folder" ] || fail "the sources in game/$folder are installed with the game"
done
[ -f "$root/share/doc/voltaro/examples/art/hero1-right.art" ] || fail "the art sources are not among the examples"
[ -f "$root/share/doc/voltaro/examples/maps/pendix.vmap" ] || fail "the map sources are not among the examples"
[ -f "$root/share/doc/voltaro/examples/tiled/pendix.tmx" ] || fail "the Tiled project is not among the examples"
[ -f "$root/share/doc/voltaro/examples/sfx/jump.sfx" ] || fail "the effect sources are not among the examples"
[ -f "$installed/sounds/jump.wav" ] && [ -f "$installed/music/menu.xm" ] || fail "the sounds and music are not installed"
[ -f "$root/share/doc/voltaro/README.md" ] && [ -f "$root/share/doc/voltaro/docs/command-line.md" ] ||
    fail "the README and docs are not installed"

# The menu entry and the icon, from the hero's own art.
desktop=$root/share/applications/voltaro.desktop
[ -f "$desktop" ] || fail "no desktop file"
for size in 24 48 96 192; do
    icon=$root/share/icons/hicolor/${size}x$size/apps/voltaro.png
    [ "$(head -c 4 "$icon" 2>/dev/null | od -An -c | tr -d ' ')" = "211PNG" ] || fail "no PNG icon $icon"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" >"$work/desktop.txt" 2>&1 || fail "desktop-file-validate: $(cat "$work/desktop.txt")"
    [ ! -s "$work/desktop.txt" ] || fail "desktop-file-validate: $(cat "$work/desktop.txt")"
fi
if command -v man >/dev/null 2>&1; then
    for page in "$root"/share/man/man*/*; do
        LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >/dev/null 2>"$work/man.txt" || fail "man cannot show $page"
        [ ! -s "$work/man.txt" ] || fail "man --warnings on $page: $(cat "$work/man.txt")"
    done
fi

# Run from a folder that holds no game: the installed voltaro finds its own.
mkdir "$work/elsewhere" && cd "$work/elsewhere" || fail "no empty folder"
"$root/bin/voltaro" --check >"$work/check.txt" 2>&1 || fail "--check of the installed game: $(cat "$work/check.txt")"
grep -q "voltaro --check $installed: 0 errors, 0 warnings" "$work/check.txt" ||
    fail "--check did not check the installed game cleanly: $(cat "$work/check.txt")"
replay=$source/tests/e2e/replays/pendix-voltaro1.log
"$root/bin/voltaro" --headless --replay "$replay" --frames 300 --screenshot 300:installed.bmp >/dev/null 2>"$work/err.txt" ||
    fail "the installed voltaro cannot play: $(cat "$work/err.txt")"
"$build/voltaro" --headless --data "$source/game" --replay "$replay" --frames 300 --screenshot 300:built.bmp >/dev/null 2>&1 ||
    fail "the built voltaro cannot play"
cmp -s installed.bmp built.bmp || fail "the installed game shows another picture at frame 300 than the source tree's"
echo "PASS ($mode)"
