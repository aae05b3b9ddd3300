#!/bin/sh
# Regenerates the sample game's binary assets from their text sources:
#   game/art/NAME.art    -> game/NAME.bmp         (voltaro-art)
#   game/maps/NAME.vmap  -> game/NAME.map         (voltaro-map)
#   game/sfx/NAME.sfx    -> game/sounds/NAME.wav  (voltaro-sfx)
#   game/songs/NAME.song -> game/music/NAME.xm    (voltaro-music)
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

# tool_path NAME: the tool's executable in the build tree, or exit naming it.
tool_path() {
    tool=$BUILD_DIR/tools/$1/$1
    if [ ! -x "$tool" ]; then
        echo "error: $tool not found; build the project first (make build)" >&2
        exit 1
    fi
    echo "$tool"
}

mkdir -p "$OUT_DIR"

# All art in one call: the tool checks every source before writing any BMP.
set -- "$ROOT"/game/art/*.art
if [ -e "$1" ]; then
    ART_TOOL=$(tool_path voltaro-art)
    "$ART_TOOL" --batch "$OUT_DIR" "$@"
    echo "art: $# sheets -> $OUT_DIR"
fi

set -- "$ROOT"/game/maps/*.vmap
if [ -e "$1" ]; then
    MAP_TOOL=$(tool_path voltaro-map)
    for source in "$@"; do
        name=$(basename "$source" .vmap)
        "$MAP_TOOL" compile "$source" "$OUT_DIR/$name.map"
    done
    echo "maps: $# maps -> $OUT_DIR"
fi

set -- "$ROOT"/game/sfx/*.sfx
if [ -e "$1" ]; then
    SFX_TOOL=$(tool_path voltaro-sfx)
    mkdir -p "$OUT_DIR/sounds"
    "$SFX_TOOL" --batch "$OUT_DIR/sounds" "$@"
    echo "sounds: $# effects -> $OUT_DIR/sounds"
fi

set -- "$ROOT"/game/songs/*.song
if [ -e "$1" ]; then
    MUSIC_TOOL=$(tool_path voltaro-music)
    mkdir -p "$OUT_DIR/music"
    "$MUSIC_TOOL" --batch "$OUT_DIR/music" "$@"
    echo "music: $# tunes -> $OUT_DIR/music"
fi
