#!/bin/sh
# Regenerates the sample game's binary assets from their text sources:
#   game/art/NAME.art   -> game/NAME.bmp  (voltaro-art)
#   game/maps/NAME.vmap -> game/NAME.map  (voltaro-map)
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
