#!/bin/sh
# Proves that Tiled opens the maps voltaro-map exports and that voltaro-map
# reads the maps Tiled writes: for each sample level, export it, let Tiled's
# own command-line converter turn the TMX into JSON (with the tile set
# referenced, and embedded) and that JSON back into TMX, then import every
# one of those files and compare the binary map and levels.ini with the
# originals. Exits 77 (skipped) where Tiled is not installed.
# usage: tiled_client.sh VOLTARO_MAP WORK_DIR
set -u

TOOL=$1
WORK=$2
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)

if ! command -v tiled >/dev/null 2>&1; then
    echo "SKIP: Tiled is not installed (Debian package 'tiled'; tools/setup-debian.sh installs it)"
    exit 77
fi

rm -rf "$WORK"
mkdir -p "$WORK/tiled"
cp "$ROOT"/game/*.map "$ROOT"/game/tiles-*.bmp "$ROOT/game/levels.ini" "$WORK/"
cp "$WORK/levels.ini" "$WORK/levels.original"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

# convert FORMAT IN OUT [extra tiled options]
convert() {
    format=$1 in=$2 out=$3
    shift 3
    if ! (cd "$WORK/tiled" && tiled "$@" --export-map "$format" "$in" "$out" >tiled.log 2>&1) || [ ! -s "$WORK/tiled/$out" ]; then
        fail "tiled could not convert $in to $out: $(cat "$WORK/tiled/tiled.log")"
        return 1
    fi
}

for level in pendix:Pendix mossgate:Mossgate gearworks:Gearworks; do
    name=${level%%:*}
    section=${level##*:}
    if ! "$TOOL" export "$WORK/$name.map" "$WORK/tiled/$name.tmx" --level "$section" --ini "$WORK/levels.ini"; then
        fail "export of $name"
        continue
    fi
    convert json "$name.tmx" "$name.tmj" || continue
    convert json "$name.tmx" "$name-embedded.tmj" --embed-tilesets || continue
    convert tmx "$name.tmj" "$name-again.tmx" || continue
    for file in "$name.tmx" "$name.tmj" "$name-embedded.tmj" "$name-again.tmx"; do
        if ! "$TOOL" import "$WORK/tiled/$file" "$WORK/$file.map" --level "$section" --ini "$WORK/levels.ini" >/dev/null; then
            fail "import of Tiled's $file"
        elif ! cmp -s "$WORK/$name.map" "$WORK/$file.map"; then
            fail "$file imports to a map that differs from game/$name.map"
        fi
    done
    grep -q '"source":"tiles-' "$WORK/tiled/$name.tmj" || grep -q '"source": *"tiles-' "$WORK/tiled/$name.tmj" ||
        fail "$name.tmj does not refer to the external tile set"
done

if ! cmp -s "$WORK/levels.ini" "$WORK/levels.original"; then
    fail "importing Tiled's files changed levels.ini:"
    diff "$WORK/levels.original" "$WORK/levels.ini" >&2
fi
[ $status -eq 0 ] && echo "Tiled converts every exported level, and every converted file imports unchanged"
exit $status
