#!/bin/sh
# Builds the fuzz targets with clang into build-fuzz/ and runs them.
#
#   scripts/fuzz.sh build                  build every target
#   scripts/fuzz.sh run TARGET SECONDS     fuzz one target, keeping its corpus
#   scripts/fuzz.sh smoke [SECONDS]        every target SECONDS (default 10)
#                                          over its corpus; fails on a finding
#   scripts/fuzz.sh keep TARGET            minimise the target's corpus into
#                                          fuzz/corpus/TARGET (inputs up to 64 KB)
#
# Corpora grow in build-fuzz/corpus/<target>, seeded from tests/data,
# examples/*.rsd and fuzz/seeds; findings land in build-fuzz/findings/.
# fuzz/corpus/<target> holds what long runs reached, minimised: every run
# reads it too, so a short run starts where the long runs ended.
# FUZZ_BUILD_DIR chooses another build folder. Temporary files go to /dev/shm
# when it is writable (FUZZ_KEEP_TMPDIR=1 keeps TMPDIR as it is).
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
TARGETS="rsfile bmp metafile jpeg picture_file svg calculator ini colour_favourites label_templates barcode_comment data_list"

have_clang() {
    command -v clang++ >/dev/null 2>&1 || return 1
    # libFuzzer's runtime comes with libclang-rt-*-dev.
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long){return 0;}' |
        clang++ -x c++ -fsanitize=fuzzer - -o /tmp/dorlix-fuzz-probe.$$ >/dev/null 2>&1 || return 1
    rm -f /tmp/dorlix-fuzz-probe.$$
}

build() {
    LAUNCHER=""
    if command -v ccache >/dev/null 2>&1; then
        export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}"
        export CCACHE_NOHASHDIR=1
        LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
    fi
    # shellcheck disable=SC2086
    CC=clang CXX=clang++ cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $LAUNCHER >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}

# Copies the seeds of a target into its corpus (once; later runs keep what
# the fuzzer found).
seed() {
    dir="$BUILD/corpus/$1"
    [ -d "$dir" ] && return 0
    mkdir -p "$dir"
    c="$ROOT/tests/data/corpus"
    case $1 in
    rsfile) cp "$ROOT"/examples/*.rsd "$dir"/ ;;
    bmp) find "$c/bmp" -name '*.bmp' -exec cp {} "$dir"/ \; ;;
    jpeg) cp "$c"/jpeg/* "$dir"/ ;;
    metafile) cp "$c"/emf/* "$c"/wmf/* "$dir"/ ;;
    picture_file)
        find "$c/bmp" -name '*.bmp' -size -64k -exec cp {} "$dir"/ \;
        cp "$c"/jpeg/* "$c"/emf/* "$c"/wmf/* "$dir"/
        ;;
    svg) cp "$ROOT"/fuzz/seeds/svg/* "$dir"/ ;;
    calculator) cp "$ROOT"/fuzz/seeds/calculator/* "$dir"/ ;;
    ini) cp "$ROOT"/fuzz/seeds/ini/* "$dir"/ ;;
    colour_favourites) cp "$ROOT"/fuzz/seeds/colour_favourites/* "$dir"/ ;;
    data_list) cp "$ROOT"/fuzz/seeds/data_list/* "$dir"/ ;;
    label_templates) cp "$ROOT"/tests/data/glabels/*.xml "$ROOT"/fuzz/seeds/label_templates/* "$dir"/ ;;
    barcode_comment) cp "$ROOT"/fuzz/seeds/barcode_comment/* "$dir"/ ;;
    esac
}

# Limits every run and minimisation shares. Memory: one request above 1 GB or
# a process above 2 GB (the sanitizers' own share included) is a finding.
LIMITS="-malloc_limit_mb=1024 -rss_limit_mb=2048 -timeout=25"

# Leaks that system libraries make on purpose are no findings.
LSAN_OPTIONS="suppressions=$ROOT/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS

# The settings file and colour favourites targets write a file per input: in
# memory that costs half the time it costs on disk.
if [ -z "${FUZZ_KEEP_TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    TMPDIR=/dev/shm
    export TMPDIR
fi

# Runs one target for $2 seconds. New inputs go to build-fuzz/corpus only.
run() {
    t=$1
    seed "$t"
    mkdir -p "$BUILD/findings/$t"
    dict=""
    [ -f "$ROOT/fuzz/$t.dict" ] && dict="-dict=$ROOT/fuzz/$t.dict"
    kept=""
    [ -d "$ROOT/fuzz/corpus/$t" ] && kept="$ROOT/fuzz/corpus/$t"
    # shellcheck disable=SC2086
    nice -n 19 "$BUILD/bin/fuzz_$t" $dict -max_total_time="$2" $LIMITS -max_len=262144 \
        -print_final_stats=1 -artifact_prefix="$BUILD/findings/$t/" "$BUILD/corpus/$t" $kept
}

# Minimises the target's corpus, with what fuzz/corpus/TARGET already holds,
# into fuzz/corpus/TARGET. Inputs above 64 KB are left out: they keep the
# repository small and cost little coverage.
keep() {
    t=$1
    if [ ! -x "$BUILD/bin/fuzz_$t" ] || [ ! -d "$BUILD/corpus/$t" ]; then
        echo "Kein Fuzz-Ziel oder Korpus für $t in $BUILD." >&2
        exit 1
    fi
    work=$(mktemp -d)
    mkdir "$work/in" "$work/out"
    find "$BUILD/corpus/$t" "$ROOT/fuzz/corpus/$t" -type f -size -65537c \
        -exec cp {} "$work/in"/ \; 2>/dev/null || true
    # shellcheck disable=SC2086
    "$BUILD/bin/fuzz_$t" -merge=1 $LIMITS "$work/out" "$work/in" >"$work/merge.log" 2>&1 || {
        tail -n 20 "$work/merge.log"
        rm -rf "$work"
        exit 1
    }
    grep -E '^MERGE-OUTER: [0-9]+ new files' "$work/merge.log"
    rm -rf "$ROOT/fuzz/corpus/$t"
    mkdir -p "$ROOT/fuzz/corpus"
    mv "$work/out" "$ROOT/fuzz/corpus/$t"
    rm -rf "$work"
}

case ${1:-smoke} in
build)
    build
    ;;
run)
    run "$2" "$3"
    ;;
keep)
    keep "$2"
    ;;
smoke)
    if ! have_clang; then
        echo "Hinweis: clang mit libFuzzer fehlt; Fuzz-Läufe übersprungen."
        exit 0
    fi
    build
    status=0
    for t in $TARGETS; do
        echo "== fuzz_$t (${2:-10} s)"
        if ! run "$t" "${2:-10}" >"$BUILD/fuzz_$t.log" 2>&1; then
            tail -n 40 "$BUILD/fuzz_$t.log"
            echo "Fund in fuzz_$t: siehe $BUILD/fuzz_$t.log und $BUILD/findings/$t/"
            status=1
        else
            grep -E '^stat::number_of_executed_units|DONE' "$BUILD/fuzz_$t.log" | tail -n 2
        fi
    done
    exit $status
    ;;
*)
    echo "Aufruf: scripts/fuzz.sh build | run ZIEL SEKUNDEN | smoke [SEKUNDEN] | keep ZIEL" >&2
    exit 2
    ;;
esac
