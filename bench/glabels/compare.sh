#!/bin/sh
# Dorlix against gLabels 3: the same 3 × 8 sheet of 70 × 37 mm labels
# (Hama 50450 in both programs), once with two lines of text on every label
# and once with one 591 × 400 JPEG photo on every label, each turned into a
# PDF by the program's batch tool. Prints the median time of RUNS runs from
# start to finished PDF and the PDF sizes side by side.
#
# Run from the work tree after ./scripts/build.sh: bench/glabels/compare.sh
# Installs the Debian package glabels when it is missing (needs root).
set -eu
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
BIN=${BIN:-$ROOT/build/bin}
RUNS=${RUNS:-7}

if ! command -v glabels-3-batch >/dev/null 2>&1; then
    echo "glabels fehlt, wird installiert ..." >&2
    apt-get install -y glabels >/dev/null
fi
for tool in convert pdfinfo pdftoppm pdfimages bc; do
    command -v $tool >/dev/null 2>&1 || { echo "$tool fehlt (imagemagick, poppler-utils)" >&2; exit 2; }
done
[ -x "$BIN/dorlix-cli" ] && [ -x "$BIN/bench_fill_sheet" ] || { echo "erst ./scripts/build.sh" >&2; exit 2; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen

# The photo: a 591 × 400 JPEG with detail, made here.
convert -size 591x400 plasma:fractal -seed 7 -blur 0x1 \
    -fill white -pointsize 48 -gravity center -annotate 0 "Foto" -quality 90 "$WORK/photo.jpg"

# --- Dorlix: the sheet of the product, filled as the field editor would ---
"$BIN/dorlix-cli" new "Hama 50450" "$WORK/empty.rsd"
"$BIN/bench_fill_sheet" "$WORK/empty.rsd" "$WORK/text.rsd" text
"$BIN/bench_fill_sheet" "$WORK/empty.rsd" "$WORK/photo.rsd" photo "$WORK/photo.jpg"

# --- gLabels: the same template, the texts from a merge file ---
i=1
: >"$WORK/labels.csv"
while [ $i -le 24 ]; do
    echo "Etikett $i,Zeile 2" >>"$WORK/labels.csv"
    i=$((i + 1))
done
# Every object carries its transformation (a0 … a5); without it gLabels
# draws nothing.
glabels_doc() { # $1 objects, $2 merge
    cat <<XML
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
$1
  </Objects>
$2
</Glabels-document>
XML
}
glabels_doc '    <Object-text a0="1" a1="0" a2="0" a3="1" a4="0" a5="0" x="2mm" y="8mm" w="66mm" h="21mm" justify="Center" valign="Middle" auto_shrink="False">
      <Span color="0x000000ff" font_family="Liberation Sans" font_size="14" font_weight="Regular" font_italic="False" line_spacing="1">${1}<NL/>${2}</Span>
    </Object-text>' "  <Merge type=\"Text/Comma\" src=\"$WORK/labels.csv\"/>" >"$WORK/text.glabels"
# The photo fitted into the label with its proportion, centred (as Dorlix does).
glabels_doc "    <Object-image a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\" x=\"7.658mm\" y=\"0mm\" w=\"54.685mm\" h=\"37mm\" src=\"$WORK/photo.jpg\"/>" \
    '  <Merge type="None"/>' >"$WORK/photo.glabels"

now() { date +%s.%N; }
# median_time OUT.pdf COMMAND...: median seconds of RUNS runs
median_time() {
    out=$1
    shift
    : >"$WORK/times"
    n=0
    while [ $n -lt "$RUNS" ]; do
        rm -f "$out"
        t0=$(now)
        "$@" >/dev/null 2>"$WORK/err" || { cat "$WORK/err" >&2; echo "fehlgeschlagen: $*" >&2; exit 2; }
        t1=$(now)
        [ -s "$out" ] || { echo "keine PDF-Datei: $*" >&2; exit 2; }
        echo "$t1 - $t0" | bc -l >>"$WORK/times"
        n=$((n + 1))
    done
    sort -n "$WORK/times" | awk '{ a[NR] = $1 } END { printf "%.3f", a[int((NR + 1) / 2)] }'
}
size() { stat -c %s "$1"; }

cd "$WORK"
dt=$(median_time text-dorlix.pdf "$BIN/dorlix-cli" pdf text.rsd text-dorlix.pdf)
gt=$(median_time text-glabels.pdf glabels-3-batch -o text-glabels.pdf text.glabels)
dp=$(median_time photo-dorlix.pdf "$BIN/dorlix-cli" pdf photo.rsd photo-dorlix.pdf)
gp=$(median_time photo-glabels.pdf glabels-3-batch -o photo-glabels.pdf photo.glabels)

# A PDF without any ink (gLabels writes an empty page when it cannot draw
# the document) is no result to compare with.
inked() {
    pdftoppm -r 20 -gray -singlefile "$1" "$WORK/ink" &&
        [ "$(convert "$WORK/ink.pgm" -format '%[fx:minima<0.5]' info:)" = 1 ]
}
for f in text-dorlix.pdf text-glabels.pdf photo-dorlix.pdf photo-glabels.pdf; do
    inked "$f" || echo "WARNUNG: $f ist eine leere Seite; der Vergleich damit sagt nichts." >&2
done
echo "Bilder im Foto-PDF von Dorlix: $(pdfimages -list photo-dorlix.pdf | tail -n +3 | wc -l) Verwendungen," \
    "$(pdfimages -list photo-dorlix.pdf | tail -n +3 | awk '{ print $11 }' | sort -u | wc -l) Bildobjekt(e)," \
    "Kodierung $(pdfimages -list photo-dorlix.pdf | tail -n +3 | awk '{ print $9 }' | sort -u | tr '\n' ' ')"

printf '%-22s %12s %12s %10s\n' "Bogen (3 x 8, $RUNS Läufe)" "Dorlix" "gLabels 3" "Verhältnis"
printf '%-22s %11ss %11ss %10s\n' "Text: Zeit (Median)" "$dt" "$gt" "$(echo "scale=2; $gt / $dt" | bc -l)x"
printf '%-22s %10sB %10sB\n' "Text: PDF-Größe" "$(size text-dorlix.pdf)" "$(size text-glabels.pdf)"
printf '%-22s %11ss %11ss %10s\n' "Foto: Zeit (Median)" "$dp" "$gp" "$(echo "scale=2; $gp / $dp" | bc -l)x"
printf '%-22s %10sB %10sB\n' "Foto: PDF-Größe" "$(size photo-dorlix.pdf)" "$(size photo-glabels.pdf)"
printf 'JPEG: %s B\n' "$(size photo.jpg)"
if [ -n "${KEEP:-}" ]; then
    mkdir -p "$KEEP" && cp ./*.pdf ./*.rsd ./*.glabels photo.jpg "$KEEP"/
fi
