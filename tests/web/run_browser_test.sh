#!/bin/sh
# Runs browser_test.js (see there) with node. Skips (status 77) on a machine
# without node or without emscripten, where no web build can exist; make
# test installs both.
# usage: run_browser_test.sh replays|keys WEB_DIR VOLTARO GAME_DIR REPLAY_DIR
if ! command -v node >/dev/null 2>&1; then
    echo "SKIP: node is not installed (make test installs nodejs)"
    exit 77
fi
if [ ! -f "$2/voltaro.js" ] && ! command -v emcc >/dev/null 2>&1; then
    echo "SKIP: emscripten is not installed, so there is no web build (make test installs it)"
    exit 77
fi
exec node "$(dirname "$0")/browser_test.js" "$@"
