#!/bin/sh
# Labels from a list, Dorlix against gLabels 3: a CSV of N records (two
# columns) merged into the same 3 × 8 sheet of two-line texts (Hama 50450),
# into one PDF by each program's batch tool, whole process. Prints the
# median time of RUNS runs and the peak memory for 1,000 and 10,000 records.
#
# Run from the work tree after ./scripts/build.sh: bench/glabels/merge.sh
# Installs the Debian package glabels when it is missing (needs root).
set -eu
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
BIN=${BIN:-$ROOT/build/bin}
RUNS=${RUNS:-5}

if ! command -v glabels-3-batch >/dev/null 2>&1; then
    echo "glabels fehlt, wird installiert ..." >&2
    apt-get install -y glabels >/dev/null
fi
[ -x "$BIN/dorlix-cli" ] && [ -x "$BIN/bench_fill_sheet" ] || { echo "erst ./scripts/build.sh" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time fehlt (Paket time)" >&2; exit 2; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen

"$BIN/dorlix-cli" new "Hama 50450" "$WORK/empty.rsd"
"$BIN/bench_fill_sheet" "$WORK/empty.rsd" "$WORK/merge.rsd" merge

for n in 1000 10000; do
    i=1
    : >"$WORK/list$n.csv"
    while [ $i -le $n ]; do
        echo "Etikett $i,Zeile 2 von $n" >>"$WORK/list$n.csv"
        i=$((i + 1))
    done
    # The same list with a heading line for Dorlix (its first line names the columns).
    { echo "Name,Zeile"; cat "$WORK/list$n.csv"; } >"$WORK/dlist$n.csv"
done

cat >"$WORK/merge.glabels" <<XML
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Hama" part="50450" size="A4" description="Rectangular labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="70mm" height="37mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-margin size="3.175mm"/>
      <Layout nx="3" ny="8" x0="0mm" y0="0mm" dx="70mm" dy="37mm"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text a0="1" a1="0" a2="0" a3="1" a4="0" a5="0" x="2mm" y="8mm" w="66mm" h="21mm" justify="Center" valign="Middle" auto_shrink="False">
      <Span color="0x000000ff" font_family="Liberation Sans" font_size="14" font_weight="Regular" font_italic="False" line_spacing="1">\${1}<NL/>\${2}</Span>
    </Object-text>
  </Objects>
  <Merge type="Text/Comma" src="LIST"/>
</Glabels-document>
XML

now() { date +%s.%N; }
# run OUT.pdf COMMAND...: median seconds of RUNS runs, then the largest peak
# memory (kB) seen, separated by a blank
run() {
    out=$1
    shift
    : >"$WORK/times"
    peak=0
    n=0
    while [ $n -lt "$RUNS" ]; do
        rm -f "$out"
        t0=$(now)
        /usr/bin/time -f %M -o "$WORK/mem" "$@" >/dev/null 2>"$WORK/err" ||
            { cat "$WORK/err" >&2; echo "fehlgeschlagen: $*" >&2; exit 2; }
        t1=$(now)
        [ -s "$out" ] || { echo "keine PDF-Datei: $*" >&2; exit 2; }
        echo "$t1 - $t0" | bc -l >>"$WORK/times"
        m=$(cat "$WORK/mem")
        [ "$m" -gt "$peak" ] && peak=$m
        n=$((n + 1))
    done
    printf '%s %s' "$(sort -n "$WORK/times" | awk '{ a[NR] = $1 } END { printf "%.3f", a[int((NR + 1) / 2)] }')" "$peak"
}

cd "$WORK"
printf '%-10s %12s %10s %12s %10s %8s %8s\n' "Datensätze" "Dorlix s" "Dorlix MB" "gLabels s" "gLabels MB" "Seiten" "Anteil"
for n in 1000 10000; do
    sed "s|LIST|$WORK/list$n.csv|" merge.glabels >"m$n.glabels"
    set -- $(run "d$n.pdf" "$BIN/dorlix-cli" pdf merge.rsd "d$n.pdf" --data "dlist$n.csv")
    dt=$1 dm=$2
    set -- $(run "g$n.pdf" glabels-3-batch -o "g$n.pdf" "m$n.glabels")
    gt=$1 gm=$2
    pages=$(pdfinfo "d$n.pdf" | awk '/^Pages:/ { print $2 }')
    printf '%-10s %12s %10s %12s %10s %8s %8s\n' "$n" "$dt" "$((dm / 1024))" "$gt" "$((gm / 1024))" "$pages" \
        "$(echo "scale=2; $dt / $gt" | bc -l)"
done
