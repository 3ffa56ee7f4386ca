#!/bin/sh
# Fails when a source file differs from the repository's .clang-format.
set -eu
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
    echo "Hinweis: clang-format fehlt; Formatprüfung übersprungen."
    exit 0
fi
find src tests bench examples fuzz -name '*.cpp' -o -name '*.h' -o -name '*.c' 2>/dev/null |
    xargs clang-format --dry-run -Werror
