#!/bin/sh
# Configures and builds Dorlix into build/ (Ninja, Release with assertions).
# BUILD_DIR chooses another build folder (for side-by-side work trees).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    # Work trees in different folders share their compiled objects.
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}"
    export CCACHE_NOHASHDIR=1
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release $LAUNCHER
cmake --build "$BUILD_DIR" -j"$(nproc)"
