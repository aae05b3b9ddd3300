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

# batch TOOL OUT WHAT SOURCE...: renders every SOURCE in one call of TOOL,
# which checks them all before it writes any output into OUT.
batch() {
    tool=$(tool_path "$1")
    out=$2
    what=$3
    shift 3
    [ -e "$1" ] || return 0  # the glob matched nothing
    mkdir -p "$out"
    "$tool" --batch "$out" "$@"
    echo "$what: $# -> $out"
}

batch voltaro-art "$OUT_DIR" "art sheets" "$ROOT"/game/art/*.art

set -- "$ROOT"/game/maps/*.vmap
if [ -e "$1" ]; then
    MAP_TOOL=$(tool_path voltaro-map)
    for source in "$@"; do
        name=$(basename "$source" .vmap)
        "$MAP_TOOL" compile "$source" "$OUT_DIR/$name.map"
    done
    echo "maps: $# maps -> $OUT_DIR"
fi

batch voltaro-sfx "$OUT_DIR/sounds" "sound effects" "$ROOT"/game/sfx/*.sfx
batch voltaro-music "$OUT_DIR/music" "tunes" "$ROOT"/game/songs/*.song
