#!/bin/sh
# Regenerates the sample game's binary assets from their text sources:
#   game/art/NAME.art    -> game/NAME.bmp         (voltaro-art)
#   game/maps/NAME.vmap  -> game/NAME.map         (voltaro-map compile)
#   each level of game/levels.ini whose tileMap was compiled here
#                        -> game/tiled/NAME.tmx and its tile set SHEET.tsx
#                           (voltaro-map export: the Tiled project)
#   each level whose map has no .vmap but a game/tiled/NAME.tmx
#                        -> game/NAME.map (voltaro-map import: painted in Tiled)
#   game/sfx/NAME.sfx    -> game/sounds/NAME.wav  (voltaro-sfx)
#   game/songs/NAME.song -> game/music/NAME.xm    (voltaro-music)
#   the engine's list of player-file keys
#                        -> docs/player-template.ini (voltaro --player-template)
# Files under game/art/ with other extensions (.palette, .cells) are only
# included by the .art sources.
#
# usage: tools/build-assets.sh BUILD_DIR [OUT_DIR]
#   BUILD_DIR  a CMake build tree holding the tools (e.g. build/release)
#   OUT_DIR    where the results go; game/ by default (the freshness test
#              regenerates into a scratch folder and compares). The template
#              goes to docs/, or to OUT_DIR/docs when OUT_DIR is given.
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [OUT_DIR]" >&2
    exit 2
fi

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$1
OUT_DIR=${2:-$ROOT/game}
DOCS_DIR=$ROOT/docs
[ $# -lt 2 ] || DOCS_DIR=$OUT_DIR/docs
MAP_TOOL=$BUILD_DIR/tools/voltaro-map/voltaro-map

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
    tool_path voltaro-map >/dev/null
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

batch voltaro-sfx "$OUT_DIR/sounds" "sound effects" "$ROOT"/game/sfx/*.sfx
batch voltaro-music "$OUT_DIR/music" "tunes" "$ROOT"/game/songs/*.song

# The player-file template, from the built engine's own list of the keys it
# reads. Written beside and then moved, so a failed run leaves no half file.
voltaro=$BUILD_DIR/voltaro
if [ ! -x "$voltaro" ]; then
    echo "error: $voltaro not found; build the project first (make build)" >&2
    exit 1
fi
mkdir -p "$DOCS_DIR"
"$voltaro" --player-template >"$DOCS_DIR/player-template.ini.new"
mv "$DOCS_DIR/player-template.ini.new" "$DOCS_DIR/player-template.ini"
echo "player-file template -> $DOCS_DIR/player-template.ini"
