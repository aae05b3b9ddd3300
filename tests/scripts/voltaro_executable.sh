#!/bin/sh
# Runs the real voltaro executable and checks how it starts and ends.
# Usage: voltaro_executable.sh MODE VOLTARO
#   window   30 frames in a 2x window under Xvfb end with status 0
#   sigterm  SIGTERM to a running windowed game ends it with status 0
#   headless headless runs, --help, --player-template and bad command lines
#            give the right status
#   replay   replaying an input log twice gives byte-identical screenshots
#   check    --check gives status 0, 1 or 2 as the game's data deserves
set -u
mode=$1
voltaro=$2

fail() {
    echo "FAIL ($mode): $*" >&2
    exit 1
}

# The windowed modes run under their own X server, with SDL free to pick its
# driver (the test environment asks for the dummy one).
case $mode in
window | sigterm)
    if [ -z "${VOLTARO_UNDER_XVFB:-}" ]; then
        unset SDL_VIDEODRIVER
        # xvfb-run -a can lose a race for a display number with another X
        # server starting at the same moment; the inner run exits 3 when the
        # display was unusable, and then it is tried again on another number.
        for display in 140 150 160; do
            VOLTARO_UNDER_XVFB=1 xvfb-run -a -n "$display" -s "-screen 0 1024x768x24" sh "$0" "$@"
            status=$?
            [ "$status" -eq 3 ] || exit "$status"
            echo "retrying: the X server on :$display was not usable" >&2
        done
        exit 1
    fi
    ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/voltaro-exe-XXXXXX") || fail "no temporary directory"
trap 'rm -rf "$work"' EXIT
mkdir "$work/data"

# expect_status STATUS COMMAND...: runs the command, compares its exit status.
expect_status() {
    expected=$1
    shift
    "$@" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
    if [ "$status" -ne "$expected" ] && grep -q "Couldn't open X11 display" "$work/err.txt"; then
        echo "the X display could not be opened: $(cat "$work/err.txt")" >&2
        exit 3
    fi
    [ "$status" -eq "$expected" ] || fail "'$*' exited $status, expected $expected: $(cat "$work/err.txt")"
}

case $mode in
window)
    expect_status 0 "$voltaro" --data "$work/data" --frames 30 --scale 2
    ;;
sigterm)
    "$voltaro" --data "$work/data" --screenshot "3:$work/ready.bmp" &
    pid=$!
    # Wait until the game is in its frame loop (it has saved frame 3).
    tries=0
    while [ ! -s "$work/ready.bmp" ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            exit 3  # it could not open its window: try another display
        fi
        tries=$((tries + 1))
        if [ "$tries" -gt 600 ]; then
            kill -KILL "$pid"
            fail "voltaro never reached frame 3"
        fi
        sleep 0.1
    done
    kill -TERM "$pid"
    wait "$pid"
    status=$?
    [ "$status" -eq 0 ] || fail "SIGTERM ended voltaro with status $status, expected 0"
    ;;
headless)
    expect_status 0 "$voltaro" --headless --data "$work/data" --frames 120
    expect_status 0 "$voltaro" --help
    grep -q -- "--screenshot" "$work/out.txt" || fail "--help does not list the options"
    # Run where there is no game, and no game installed beside the executable:
    # both places are named, by the error and by --help.
    (cd "$work" && expect_status 2 "$voltaro" --headless --frames 1) || exit 1
    grep -q "no game to play: neither the current directory ($work) nor the installed game (.*/share/voltaro/game) holds stageselect.ini" \
        "$work/err.txt" || fail "the places looked at are not named: $(cat "$work/err.txt")"
    (cd "$work" && expect_status 0 "$voltaro" --help) || exit 1
    grep -q "No game found: neither the current directory ($work)" "$work/out.txt" || fail "--help does not say where it looked"
    expect_status 0 "$voltaro" --version
    grep -q "^voltaro [0-9]" "$work/out.txt" && grep -q "^SDL 1\.2\." "$work/out.txt" ||
        fail "--version does not name voltaro's and SDL's versions: $(cat "$work/out.txt")"
    # The template needs no game, and a failed write is a failure.
    (cd "$work" && expect_status 0 "$voltaro" --player-template) || exit 1
    head -n 1 "$work/out.txt" | grep -q "^; Player file template" && grep -q "^gravityFraction=0$" "$work/out.txt" ||
        fail "--player-template does not print the template: $(head -n 3 "$work/out.txt")"
    if [ -w /dev/full ]; then
        "$voltaro" --player-template >/dev/full 2>"$work/err.txt"
        status=$?
        [ "$status" -eq 1 ] && grep -q "cannot write to standard output" "$work/err.txt" ||
            fail "--player-template into a full disk exited $status: $(cat "$work/err.txt")"
    fi
    expect_status 2 "$voltaro" --bogus
    grep -q "unknown option '--bogus'" "$work/err.txt" || fail "no message for an unknown option"
    expect_status 2 "$voltaro" --headless --scale 0
    expect_status 2 "$voltaro" --headless --data "$work/missing"
    printf '1 up down\n2 up sideways\n' >"$work/bad.log"
    expect_status 2 "$voltaro" --headless --data "$work/data" --replay "$work/bad.log"
    grep -q "bad.log:2:" "$work/err.txt" || fail "the malformed log line is not named: $(cat "$work/err.txt")"
    ;;
check)
    # --check: status 0 for the sample game (from its own directory too), 1
    # with an error, 2 for a directory that is not there.
    root=$(cd "$(dirname "$0")/../.." && pwd)
    expect_status 0 "$voltaro" --check "$root/game"
    grep -q "0 errors, 0 warnings" "$work/out.txt" || fail "the sample game has problems: $(cat "$work/out.txt")"
    (cd "$root/game" && expect_status 0 "$voltaro" --check) || exit 1
    cp -r "$root/tests/check/broken_games/base" "$work/broken"
    rm "$work/broken/selector.bmp"
    expect_status 1 "$voltaro" --data "$work/broken" --check
    grep -q "^selector.bmp: error: " "$work/out.txt" || fail "the missing cursor is not reported: $(cat "$work/out.txt")"
    expect_status 2 "$voltaro" --check "$work/missing"
    ;;
replay)
    # Arrows, a pause and a single step; no confirm, so the run stays on the
    # first screen whatever data it finds.
    printf '2 down down\n3 down up\n5 enter down\n6 tab down\n8 enter down\n9 right down\n12 right up\n20 quit\n' \
        >"$work/run.log"
    for run in 1 2; do
        expect_status 0 "$voltaro" --headless --data "$work/data" --replay "$work/run.log" \
            --record "$work/record$run.log" --screenshot "7:$work/a$run.bmp" --screenshot "20:$work/b$run.bmp"
    done
    cmp -s "$work/a1.bmp" "$work/a2.bmp" || fail "frame 7 differs between two replays"
    cmp -s "$work/b1.bmp" "$work/b2.bmp" || fail "frame 20 differs between two replays"
    # Watching files that do not change leaves the run as it was.
    expect_status 0 "$voltaro" --headless --data "$work/data" --replay "$work/run.log" --watch \
        --screenshot "7:$work/a3.bmp" --screenshot "20:$work/b3.bmp"
    cmp -s "$work/a1.bmp" "$work/a3.bmp" || fail "frame 7 differs with --watch"
    cmp -s "$work/b1.bmp" "$work/b3.bmp" || fail "frame 20 differs with --watch"
    grep -v '^#' "$work/record1.log" | cmp -s - "$work/run.log" || fail "the recorded log differs from the replayed one"
    ;;
*)
    fail "unknown mode"
    ;;
esac
echo "PASS ($mode)"
