#!/bin/sh
# Regenerates the game's assets into SCRATCH_DIR and compares them with the
# committed ones in game/. Fails naming every stale, missing or sourceless
# file.
# usage: check_assets.sh BUILD_DIR SCRATCH_DIR
set -u

ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD_DIR=$1
SCRATCH=$2

rm -rf "$SCRATCH"
mkdir -p "$SCRATCH"
if ! sh "$ROOT/tools/build-assets.sh" "$BUILD_DIR" "$SCRATCH" >/dev/null; then
    echo "FAIL: tools/build-assets.sh could not regenerate the assets" >&2
    exit 1
fi

status=0
for fresh in "$SCRATCH"/*.bmp "$SCRATCH"/*.map "$SCRATCH"/tiled/*.tmx "$SCRATCH"/tiled/*.tsx; do
    [ -e "$fresh" ] || continue
    name=${fresh#"$SCRATCH"/}
    if [ ! -e "$ROOT/game/$name" ]; then
        echo "FAIL: game/$name is missing; run 'make assets' and commit it" >&2
        status=1
    elif ! cmp -s "$fresh" "$ROOT/game/$name"; then
        echo "FAIL: game/$name does not match its source; run 'make assets' and commit it" >&2
        status=1
    fi
done
for committed in "$ROOT"/game/*.bmp "$ROOT"/game/*.map "$ROOT"/game/tiled/*.tmx "$ROOT"/game/tiled/*.tsx; do
    [ -e "$committed" ] || continue
    name=${committed#"$ROOT"/game/}
    if [ ! -e "$SCRATCH/$name" ]; then
        case "$name" in
            *.bmp) source="game/art/${name%.bmp}.art" ;;
            tiled/*) continue ;;  # painted in Tiled: a source itself
            *) source="game/maps/${name%.map}.vmap" ;;
        esac
        echo "FAIL: game/$name has no source ($source)" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "all assets match their sources"
exit $status
