#!/bin/sh
# Draws the heaviest metafiles the readers accept with dorlix-cli and prints
# seconds and peak memory of each command:
#
#   bench/metafile_lines/run.sh [BUILD_DIR] [CASE_PATTERN]
#
# render-picture at its default width (2000 pixels), render of a label file
# holding the picture in a page-sized field at 150 and 300 dpi, and pdf of
# the same file. Each command is stopped after 60 seconds.
set -eu
BUILD=${1:-build}
PATTERN=${2:-}
CLI=$BUILD/bin/dorlix-cli
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
"$BUILD/bin/make_metafile_lines" "$OUT" >/dev/null
export QT_QPA_PLATFORM=offscreen
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-28s %-16s %8s %8s\n' case command seconds peak_MB
measure() {
    name=$1
    what=$2
    shift 2
    if /usr/bin/time -f '%e %M' -o "$OUT/time" timeout 60 "$@" >/dev/null 2>"$OUT/err"; then
        status=""
    else
        status=" (failed: $(tail -n 1 "$OUT/err"))"
    fi
    read -r seconds kb <"$OUT/time" || { seconds=?; kb=0; }
    case $seconds in [0-9]*) ;; *) seconds=timeout; kb=0 ;; esac
    printf '%-28s %-16s %8s %8d%s\n' "$name" "$what" "$seconds" "$((kb / 1024))" "$status"
}
for picture in "$OUT"/*.emf "$OUT"/*.wmf; do
    name=$(basename "$picture")
    case $name in *"$PATTERN"*) ;; *) continue ;; esac
    sheet=$picture.rsd
    measure "$name" render-picture "$CLI" render-picture "$picture" "$OUT/p.png"
    measure "$name" "render 150 dpi" "$CLI" render "$sheet" "$OUT/r.png"
    measure "$name" "render 300 dpi" "$CLI" render "$sheet" "$OUT/r.png" --dpi 300
    measure "$name" pdf "$CLI" pdf "$sheet" "$OUT/r.pdf" --paper A4
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
