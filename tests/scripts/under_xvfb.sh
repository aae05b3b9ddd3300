#!/bin/sh
# Runs a command under an X server of its own (Xvfb) with a screen of the
# given size, SDL free to pick its video driver (the test environment asks
# for the dummy one). The command exits 3 when the display was unusable;
# it is then tried again on another display number, since xvfb-run -a can
# lose a race for a number with another X server starting at that moment.
# The server does not reset when its last client leaves (-noreset), so a
# command may open and close the display several times.
# Usage: under_xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
set -u
screen=$1
shift
unset SDL_VIDEODRIVER
for display in 171 181 191; do
    xvfb-run -a -n "$display" -s "-screen 0 $screen -noreset" "$@"
    status=$?
    [ "$status" -eq 3 ] || exit "$status"
    echo "retrying: the X server on :$display was not usable" >&2
done
exit 1
