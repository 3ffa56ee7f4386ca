#!/bin/sh
# Installs what is missing, builds Dorlix and starts it on an example sheet.
set -eu
cd "$(dirname "$0")"

./scripts/deps.sh
./scripts/build.sh

EXAMPLE=examples/ordner-4-spalten.rsd
if [ -x build/bin/dorlix ]; then
    exec build/bin/dorlix "$EXAMPLE"
fi
# Until the main window exists: show the example sheet as JSON.
exec build/bin/dorlix-cli dump "$EXAMPLE"
