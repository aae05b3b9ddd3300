#!/bin/sh
# Regenerates the game's assets into SCRATCH_DIR and compares them with the
# committed ones in game/, and the player-file template with
# docs/player-template.ini. Fails naming every stale, missing or sourceless
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

# compare DIR EXT SOURCE_DIR SOURCE_EXT: every generated DIR/*.EXT against
# the committed game/DIR/*.EXT, and every committed one against its source
# game/SOURCE_DIR/NAME.SOURCE_EXT. DIR is "." for game/ itself; SOURCE_DIR
# "-" means a committed file without a generated one is a source itself.
compare() {
    dir=$1
    ext=$2
    prefix=""
    [ "$dir" = "." ] || prefix="$dir/"
    for fresh in "$SCRATCH/$dir"/*."$ext"; do
        [ -e "$fresh" ] || continue
        name=$(basename "$fresh")
        if [ ! -e "$ROOT/game/$prefix$name" ]; then
            echo "FAIL: game/$prefix$name is missing; run 'make assets' and commit it" >&2
            status=1
        elif ! cmp -s "$fresh" "$ROOT/game/$prefix$name"; then
            echo "FAIL: game/$prefix$name does not match its source; run 'make assets' and commit it" >&2
            status=1
        fi
    done
    for committed in "$ROOT/game/$dir"/*."$ext"; do
        [ -e "$committed" ] || continue
        name=$(basename "$committed")
        if [ ! -e "$SCRATCH/$dir/$name" ] && [ "$3" != "-" ]; then
            echo "FAIL: game/$prefix$name has no source (game/$3/${name%."$ext"}.$4)" >&2
            status=1
        fi
    done
}

compare . bmp art art
compare . map maps vmap
compare tiled tmx - -  # a level painted in Tiled has no other source
compare tiled tsx - -
compare sounds wav sfx sfx
compare music xm songs song

# The template is what the engine prints: a difference means the engine's
# keys changed since the file was written.
if [ ! -e "$ROOT/docs/player-template.ini" ]; then
    echo "FAIL: docs/player-template.ini is missing; run 'make assets' and commit it" >&2
    status=1
elif ! cmp -s "$SCRATCH/docs/player-template.ini" "$ROOT/docs/player-template.ini"; then
    echo "FAIL: docs/player-template.ini differs from what voltaro --player-template prints; run 'make assets' and commit it" >&2
    status=1
fi

[ $status -eq 0 ] && echo "all assets match their sources"
exit $status
