#!/bin/sh
# Prints a digest of everything the sample game draws and traces: for every
# recorded run in tests/e2e/replays, the MD5 of the screen after every
# STEP-th frame and of the whole per-frame trace. Two builds that print the
# same digest drew the same pixels and computed the same physics; a change
# meant to make drawing faster must not change a single line.
#
# usage: tools/picture-digest.sh VOLTARO [STEP] [EXTRA_OPTIONS...]
#   VOLTARO        the executable (e.g. build/release/voltaro)
#   STEP           frames between screenshots, 25 by default
#   EXTRA_OPTIONS  passed on, e.g. --frames 1500 --scale 3 for a window run
#                  (without --headless the runs open a window: run it under
#                  xvfb-run; the screenshot is the 256x240 picture)
# By default the runs are headless.
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 VOLTARO [STEP] [EXTRA_OPTIONS...]" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
VOLTARO=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
STEP=${2:-25}
[ $# -ge 2 ] && shift 2 || shift 1
[ $# -eq 0 ] && set -- --headless

work=$(mktemp -d "${TMPDIR:-/tmp}/voltaro-digest-XXXXXX")
trap 'rm -rf "$work"' EXIT

for log in "$ROOT"/tests/e2e/replays/*.log; do
    name=$(basename "$log" .log)
    # The last frame of a recorded run is the one that quits.
    last=$(grep -v '^#' "$log" | awk 'END { print $1 }')
    shots=""
    frame=$STEP
    while [ "$frame" -le "$last" ]; do
        shots="$shots --screenshot $frame:$work/$name-$frame.bmp"
        frame=$((frame + STEP))
    done
    # shellcheck disable=SC2086
    "$VOLTARO" --data "$ROOT/game" --replay "$log" --trace "$work/$name.csv" $shots "$@" \
        >"$work/out.txt" 2>"$work/err.txt" || {
        echo "error: $name: voltaro failed: $(cat "$work/err.txt")" >&2
        exit 1
    }
    (cd "$work" && md5sum "$name.csv" && ls "$name"-*.bmp 2>/dev/null | sort -t- -k3 -n | xargs -r md5sum)
    rm -f "$work/$name"-*.bmp
done
