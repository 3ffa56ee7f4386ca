#!/bin/sh
# Start-up time of the window program: from the process start to the first
# painted preview of an example file, measured on the real program under an X
# server by first_paint (see first_paint.c).
#
#   bench/startup/run.sh [RUNS] [FILE.rsd]
#
# The program runs from a copy in a temporary folder with its own dorlix.ini,
# so the first-start questions do not come up and no settings are shared.
# The preview counts as painted when the screen shows the pixels in which a
# start with the file differs from a start without it (the labels), each in
# the colour of the settled start with the file. Two grabs of the settled
# screen give these pictures before the timed runs.
#
# Uses DISPLAY=:98 (or BENCH_DISPLAY); starts Xvfb there when no server runs.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
RUNS=${1:-15}
FILE=$(realpath "${2:-$ROOT/examples/ordner-4-spalten.rsd}")
BIN=${BUILD_DIR:-$ROOT/build}/bin
export DISPLAY=${BENCH_DISPLAY:-:98}

[ -x "$BIN/dorlix" ] && [ -x "$BIN/first_paint" ] || {
    echo "build dorlix and first_paint first (scripts/build.sh)" >&2
    exit 2
}

XVFB=""
if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
WORK=$(mktemp -d)
cleanup() {
    rm -rf "$WORK"
    [ -z "$XVFB" ] || kill "$XVFB"
}
trap cleanup EXIT INT TERM

cp "$BIN/dorlix" "$WORK/dorlix"
mkdir "$WORK/daten"
printf '[Pfad]\nDaten=%s\n' "$WORK/daten" >"$WORK/dorlix.ini"

echo "display $DISPLAY ($(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9x]*\).*/\1/p')), file $(basename "$FILE")"
echo "load before: $(uptime)"
"$BIN/first_paint" grab "$WORK/ohne.ppm" -- "$WORK/dorlix"
"$BIN/first_paint" grab "$WORK/mit.ppm" -- "$WORK/dorlix" "$FILE"
[ -z "${KEEP_GRABS:-}" ] || cp "$WORK/ohne.ppm" "$WORK/mit.ppm" "$KEEP_GRABS/"
"$BIN/first_paint" time "$WORK/ohne.ppm" "$WORK/mit.ppm" "$RUNS" -- "$WORK/dorlix" "$FILE"
echo "load after:  $(uptime)"
