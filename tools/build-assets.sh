#!/bin/sh
# Regenerates the sample game's binary assets from their text sources:
#   game/art/NAME.art   -> game/NAME.bmp  (voltaro-art)
#   game/maps/NAME.vmap -> game/NAME.map  (voltaro-map compile)
#   each level of game/levels.ini whose tileMap was compiled here
#                       -> game/tiled/NAME.tmx and its tile set SHEET.tsx
#                          (voltaro-map export: the Tiled project)
#   each level whose map has no .vmap but a game/tiled/NAME.tmx
#                       -> game/NAME.map (voltaro-map import: painted in Tiled)
# Files under game/art/ with other extensions (.palette, .cells) are only
# included by the .art sources.
#
# usage: tools/build-assets.sh BUILD_DIR [OUT_DIR]
#   BUILD_DIR  a CMake build tree holding the tools (e.g. build/release)
#   OUT_DIR    where the results go; game/ by default (the freshness test
#              regenerates into a scratch folder and compares)
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [OUT_DIR]" >&2
    exit 2
fi

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$1
OUT_DIR=${2:-$ROOT/game}
ART_TOOL=$BUILD_DIR/tools/voltaro-art/voltaro-art
MAP_TOOL=$BUILD_DIR/tools/voltaro-map/voltaro-map

if [ ! -x "$ART_TOOL" ]; then
    echo "error: $ART_TOOL not found; build the project first (make build)" >&2
    exit 1
fi
mkdir -p "$OUT_DIR"

# All art in one call: the tool checks every source before writing any BMP.
set -- "$ROOT"/game/art/*.art
if [ -e "$1" ]; then
    "$ART_TOOL" --batch "$OUT_DIR" "$@"
    echo "art: $# sheets -> $OUT_DIR"
fi

set -- "$ROOT"/game/maps/*.vmap
if [ -e "$1" ]; then
    if [ ! -x "$MAP_TOOL" ]; then
        echo "error: $MAP_TOOL not found; build the project first (make build)" >&2
        exit 1
    fi
    for source in "$@"; do
        name=$(basename "$source" .vmap)
        "$MAP_TOOL" compile "$source" "$OUT_DIR/$name.map"
    done
    echo "maps: $# maps -> $OUT_DIR"
fi

# The Tiled project: every level whose map was just compiled, with its
# boundaries and places from levels.ini, exported next to the others. The
# tile set refers to the sheet in OUT_DIR, so the paths inside the files
# are the same whichever OUT_DIR is used.
LEVELS=$ROOT/game/levels.ini
if [ -f "$LEVELS" ] && [ -x "$MAP_TOOL" ]; then
    mkdir -p "$OUT_DIR/tiled"
    count=0
    # "section tileMap tileSheet" per level section.
    tr -d '\r' < "$LEVELS" | awk '
        /^\[.*\]$/ { if (section != "" && map != "") print section, map, sheet
                     section = substr($0, 2, length($0) - 2); map = ""; sheet = ""; next }
        /^tileMap *=/ { sub(/^tileMap *= */, ""); map = $0 }
        /^tileSheet *=/ { sub(/^tileSheet *= */, ""); sheet = $0 }
        END { if (section != "" && map != "") print section, map, sheet }' > "$OUT_DIR/tiled/.levels"
    imported=0
    while read -r section map sheet; do
        name=${map%.map}
        if [ -f "$ROOT/game/maps/$name.vmap" ]; then
            "$MAP_TOOL" export "$OUT_DIR/$map" "$OUT_DIR/tiled/$name.tmx" \
                --level "$section" --ini "$LEVELS" --tileset "$OUT_DIR/$sheet"
            count=$((count + 1))
        elif [ -f "$ROOT/game/tiled/$name.tmx" ]; then
            # A level without a map source is painted in Tiled: its map comes from there.
            "$MAP_TOOL" import "$ROOT/game/tiled/$name.tmx" "$OUT_DIR/$map"
            imported=$((imported + 1))
        fi
    done < "$OUT_DIR/tiled/.levels"
    rm -f "$OUT_DIR/tiled/.levels"
    echo "tiled: $count levels -> $OUT_DIR/tiled; $imported maps imported from game/tiled"
fi
