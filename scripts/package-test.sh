#!/bin/sh
# Checks the Debian package the way a user meets it: builds it
# (scripts/package.sh), installs it with apt on this machine, and as an
# ordinary user starts the installed program under Xvfb, goes through the
# first start, opens the example, edits it, saves it with Ctrl+S into a folder
# of that user and prints it to the CUPS-PDF queue. Screenshots and logs land
# in build/package-test/. At the end the package and the user are removed
# again. Needs root and changes the system while it runs, so CI does not run
# it.
set -eu
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "package-test.sh muss als root laufen." >&2; exit 2; }

OUT=$(pwd)/build/package-test
TESTUSER=dorlixpaket
DISPLAY_NR=:93
rm -rf "$OUT"
mkdir -p "$OUT"

XVFB_PID=""
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    if command -v stop_cups_pdf >/dev/null 2>&1; then stop_cups_pdf; fi
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q dorlix >>"$OUT/apt.log" 2>&1 || true
    id "$TESTUSER" >/dev/null 2>&1 && userdel -r "$TESTUSER" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

fail() {
    echo "FEHLER: $*" >&2
    shot fehler
    exit 1
}
shot() {
    DISPLAY=$DISPLAY_NR import -window root "$OUT/$1.png" 2>/dev/null || true
}
# Waits up to 20 s for a visible window whose title contains $1; prints its id.
window() {
    i=0
    while [ $i -lt 100 ]; do
        id=$(DISPLAY=$DISPLAY_NR xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            DISPLAY=$DISPLAY_NR xdotool windowfocus --sync "$id"
            echo "$id"
            return 0
        fi
        i=$((i + 1))
        sleep 0.2
    done
    return 1
}
key() { DISPLAY=$DISPLAY_NR xdotool key "$@"; }
type_text() { DISPLAY=$DISPLAY_NR xdotool type --delay 20 "$1"; }
click_at() { DISPLAY=$DISPLAY_NR xdotool mousemove "$1" "$2" click 1; }

echo "== Paket bauen"
./scripts/package.sh >"$OUT/package.log" 2>&1 || fail "scripts/package.sh, siehe $OUT/package.log"
deb=$(ls build/dorlix_*_amd64.deb)
grep -E '^(E|W|I): ' "$OUT/package.log" >"$OUT/lintian.txt" || true

echo "== Installieren: $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >"$OUT/apt.log" 2>&1 || fail "apt install"
[ -x /usr/bin/dorlix ] && [ -x /usr/bin/dorlix-cli ] || fail "Programme fehlen"
desktop-file-validate /usr/share/applications/dorlix.desktop || fail "Desktop-Eintrag ungültig"
grep -q '^Name=Rückenschilder$' /usr/share/applications/dorlix.desktop || fail "Menüeintrag heißt nicht Rückenschilder"
grep -q 'application/x-dorlix-rsd:\*\.rsd' /usr/share/mime/globs2 || fail "Dateityp nicht eingetragen"
[ "$(xdg-mime query filetype examples/ordner-4-spalten.rsd 2>/dev/null)" = application/x-dorlix-rsd ] ||
    echo "Hinweis: xdg-mime erkennt den Typ nicht (ohne Desktop-Sitzung üblich)"

echo "== Benutzer $TESTUSER"
id "$TESTUSER" >/dev/null 2>&1 || useradd -m -s /bin/sh "$TESTUSER"
HOMEDIR=$(getent passwd "$TESTUSER" | cut -d: -f6)
cp examples/ordner-4-spalten.rsd "$HOMEDIR/beispiel.rsd"
mkdir -p "$HOMEDIR/Etiketten"
chown -R "$TESTUSER:" "$HOMEDIR"

. ./scripts/cups-env.sh
start_cups_pdf || fail "keine CUPS-PDF-Warteschlange"
Xvfb "$DISPLAY_NR" -screen 0 1600x1000x24 -ac -nolisten tcp >"$OUT/xvfb.log" 2>&1 &
XVFB_PID=$!
sleep 1

echo "== Programm als $TESTUSER starten"
runuser -u "$TESTUSER" -- env -i HOME="$HOMEDIR" USER="$TESTUSER" LOGNAME="$TESTUSER" \
    DISPLAY="$DISPLAY_NR" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    dorlix "$HOMEDIR/beispiel.rsd" >"$OUT/dorlix.log" 2>&1 &
APP_PID=$!

# First start: the warning, the folder browser (at the home folder, not at
# /usr/bin), no launcher on the desktop.
window "Warnung" >/dev/null || fail "keine Erststart-Warnung"
shot 1-erststart
key Return
window "$HOMEDIR" >/dev/null || fail "Ordnerauswahl startet nicht im Benutzerordner"
shot 2-ordnerwahl
type_text "$HOMEDIR/Etiketten"
key Return
window "Frage" >/dev/null || fail "keine Frage nach der Verknüpfung"
key Escape
window "beispiel.rsd" >/dev/null || fail "Beispiel nicht geöffnet"
sleep 1
shot 3-geoeffnet
[ -f "$HOMEDIR/.config/Dorlix/dorlix.ini" ] || fail "dorlix.ini nicht im Konfigurationsordner"
[ -f "$HOMEDIR/.local/state/Dorlix/dorlix_$TESTUSER.1" ] || fail "kein Rückgängig-Zwischenstand"

echo "== Bearbeiten: erste Spalte nach rechts kopieren (Knopf Kopie)"
click_at 629 54
sleep 1
[ -f "$HOMEDIR/.local/state/Dorlix/dorlix_$TESTUSER.2" ] || fail "Änderung ohne Zwischenstand"
shot 4-bearbeitet

echo "== Speichern mit Strg+S"
window "beispiel.rsd" >/dev/null
key ctrl+s
window "Rückenschild speichern" >/dev/null || fail "Strg+S zeigt keinen Speichern-Dialog"
shot 5-speichern
key ctrl+a
type_text "$HOMEDIR/Etiketten/gespeichert.rsd"
key Return
window "gespeichert.rsd" >/dev/null || fail "Titel folgt der gespeicherten Datei nicht"
saved="$HOMEDIR/Etiketten/gespeichert.rsd"
[ "$(stat -c %U "$saved")" = "$TESTUSER" ] || fail "gespeicherte Datei fehlt oder gehört nicht $TESTUSER"
dorlix-cli dump "$saved" >"$OUT/gespeichert.json" || fail "gespeicherte Datei nicht lesbar"
grep -q '"Rechnungen 2026"' "$OUT/gespeichert.json" || fail "Inhalt nicht gespeichert"
[ "$(grep -c '"Rechnungen 2026"' "$OUT/gespeichert.json")" -ge 2 ] || fail "Änderung nicht gespeichert"

echo "== Drucken auf CUPS-PDF"
before=$(ls "$HOMEDIR/PDF" 2>/dev/null | wc -l)
key ctrl+p
dlg=$(window "Drucken....") || fail "kein Druckdialog"
shot 6-druckdialog
eval "$(DISPLAY=$DISPLAY_NR xdotool getwindowgeometry --shell "$dlg")"
click_at $((X + 299)) $((Y + 509)) # OK
i=0
while [ "$(ls "$HOMEDIR/PDF" 2>/dev/null | wc -l)" -le "$before" ]; do
    i=$((i + 1))
    [ $i -gt 60 ] && fail "kein PDF von CUPS-PDF"
    sleep 0.5
done
sleep 1
pdf=$(ls -t "$HOMEDIR"/PDF/*.pdf | head -n 1)
pdftoppm -r 40 -png "$pdf" "$OUT/7-gedruckt"
echo "gedruckt: $pdf"

echo "== Beenden über Alt+D, B (ohne nochmals zu speichern)"
window "gespeichert.rsd" >/dev/null
key alt+d
sleep 0.5
key b
window "Bestätigen" >/dev/null || fail "keine Frage beim Beenden"
key alt+n
i=0
while kill -0 "$APP_PID" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 50 ] && fail "Programm endet nicht"
    sleep 0.2
done
APP_PID=""
[ -z "$(ls "$HOMEDIR/.local/state/Dorlix")" ] || fail "Zwischenstände bleiben liegen"
grep -q "^Daten=$HOMEDIR/Etiketten/" "$HOMEDIR/.config/Dorlix/dorlix.ini" || fail "Ablageordner nicht gemerkt"

echo "== Paket-Test bestanden (Bilder in $OUT)"
