#!/bin/sh
# Installs what is missing, builds Dorlix into build/ and runs every test.
set -eu
cd "$(dirname "$0")"

./scripts/deps.sh
./scripts/build.sh
./scripts/check-format.sh

# A real printer for the printing tests: a CUPS-PDF queue on this machine.
. ./scripts/cups-env.sh
start_cups_pdf || echo "Hinweis: kein CUPS-Drucker; Drucktests schreiben PDF-Dateien direkt."

status=0
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600) || status=$?
stop_cups_pdf

# Every reader 10 seconds under libFuzzer over its corpus (skipped without clang).
./scripts/fuzz.sh smoke 10 || status=1
exit $status
