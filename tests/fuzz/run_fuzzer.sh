#!/bin/sh
# Runs the libFuzzer harnesses (see docs/fuzzing.md).
#
#   run_fuzzer.sh replay HARNESS DIR...
#       runs HARNESS once on every file in the DIRs (missing DIRs are skipped)
#   run_fuzzer.sh fuzz HARNESS SEEDS CORPUS SECONDS [fresh]
#       copies the SEEDS into CORPUS (emptied first with "fresh") and fuzzes
#       for SECONDS, growing CORPUS; a crash is saved next to CORPUS
#   run_fuzzer.sh all BUILD_DIR SECONDS CORPUS_ROOT
#       "fuzz" for every harness in turn, with CORPUS_ROOT/<harness> as corpus
# Any crash, sanitizer report, leak, timeout or memory blow-up fails the run.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
limits="-timeout=10 -rss_limit_mb=2048"

absolute() {
    mkdir -p "$1"
    (cd "$1" && pwd)
}

mode=${1:?usage: run_fuzzer.sh replay|fuzz|all ...}
shift
case "$mode" in
replay)
    harness=$1
    shift
    list=$(mktemp)
    trap 'rm -f "$list"' EXIT
    for dir in "$@"; do
        [ -d "$dir" ] && find "$dir" -type f ! -name '*.md' >>"$list"
    done
    if [ ! -s "$list" ]; then
        echo "run_fuzzer.sh: no inputs in $*" >&2
        exit 1
    fi
    # One process for every file; libFuzzer stops at the first failing input.
    sort "$list" | tr '\n' '\0' | xargs -0 "$harness" $limits
    ;;
fuzz)
    harness=$1 seeds=$2 corpus=$3 seconds=$4 fresh=${5:-}
    if [ "$fresh" = fresh ]; then rm -rf "$corpus"; fi
    corpus=$(absolute "$corpus")
    cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    name=$(basename "$corpus")
    crashes=$(absolute "$corpus/../crashes")
    echo "fuzzing $(basename "$harness") for $seconds s, corpus $corpus"
    # The harnesses change directory, so every path handed over is absolute;
    # their own chatter (warnings about the bad data) is muted.
    "$harness" $limits -max_total_time="$seconds" -close_fd_mask=3 -print_final_stats=1 \
        -artifact_prefix="$crashes/$name-" "$corpus"
    ;;
all)
    build=$1 seconds=$2 root=$3
    status=0
    for seeds in "$here"/corpus/*/; do
        name=$(basename "$seeds")
        if ! sh "$0" fuzz "$build/fuzz_$name" "$seeds" "$root/$name" "$seconds"; then
            echo "run_fuzzer.sh: fuzz_$name failed; see $root/crashes/" >&2
            status=1
        fi
    done
    exit $status
    ;;
*)
    echo "run_fuzzer.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
