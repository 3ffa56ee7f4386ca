#!/bin/sh
# Configures and builds Dorlix into build/ (Ninja, Release with assertions).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
