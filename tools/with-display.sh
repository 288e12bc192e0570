#!/usr/bin/env bash
# Runs a command with a working X display: the current one, or a private Xvfb started for it.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi

fifo=$(mktemp -u)
mkfifo "$fifo"
# Xvfb picks a free display number itself and writes it to the fifo once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 20 number <"$fifo"
export DISPLAY=:$number
# In the background, so that a signal ends the command and Xvfb at once, not after the command.
"$@" &
command=$!
trap 'kill "$command" 2>/dev/null; exit 130' INT TERM
status=0
wait "$command" || status=$?
exit "$status"
