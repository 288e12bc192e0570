#!/usr/bin/env bash
# Usage: run-app.sh EXE [LETTER=FOLDER[:TYPE]]...
# Starts the program under Wine in its own prefix, with the given drives or, when none are
# given, two demo removable drives E: and G:. With a working display it simply runs; without
# one it runs on a private Xvfb, saves a screenshot of the window, and closes it again.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exe=$(realpath "$1")
shift
export WINEPREFIX=$OVELO_ROOT/build/x86_64/wine-run
title="Ovelo Playlist Tool"
screenshot=$OVELO_ROOT/build/screenshot.png

drives=("$@")
if [ ${#drives[@]} -eq 0 ]; then
    demo=$OVELO_ROOT/build/demo-drives
    mkdir -p "$demo/E/Music" "$demo/G"
    echo "Demo player drive" >"$demo/E/Readme.txt"
    printf 'ID3' >"$demo/E/Music/Sunrise.mp3"
    echo "Second demo drive" >"$demo/G/Notes.txt"
    drives=(E="$demo/E" G="$demo/G")
fi
"$OVELO_ROOT/tools/wine-prefix.sh" "$WINEPREFIX" "${drives[@]}"
# Wine draws the window frame itself, so the caption shows even where no window manager runs.
if ! grep -q '^"Decorated"="N"' "$WINEPREFIX/user.reg"; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
    "$WINESERVER" -w
fi

if [ -z "${OVELO_HEADLESS:-}" ]; then
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        exec "$WINE" "$exe"
    fi
    OVELO_HEADLESS=1 exec "$OVELO_ROOT/tools/with-display.sh" "$0" "$exe" "${drives[@]}"
fi

"$WINE" "$exe" </dev/null >/dev/null 2>&1 &
app=$!
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM # cleans up through the EXIT trap
window=$(timeout 60 xdotool search --sync --onlyvisible --limit 1 --name "^$title\$") ||
    { echo "$0: no window titled \"$title\" appeared" >&2; exit 1; }
sleep 2 # let the window finish painting
import -window "$window" "$screenshot"
echo "$screenshot"
# Sent to the window itself: with no window manager nothing gives it the keyboard focus.
xdotool key --window "$window" Escape 2>/dev/null
for _ in $(seq 60); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.5
done
if kill -0 "$app" 2>/dev/null; then
    echo "$0: the window did not close on Escape" >&2
    exit 1
fi
wait "$app"
