#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full build, then
# everything again under address and undefined-behaviour sanitizers (clang), the background
# runs under the thread sanitizer, then a bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/installa.sh
jobs=$(nproc)
# Compiler cache: clones in other folders share it, since paths are hashed relative to the root.
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

CC=clang-14 CXX=clang++-14 cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DVANTOR_SANITIZE=ON -DVANTOR_FUZZ=ON -DVANTOR_BENCH=OFF
cmake --build build-san -j "$jobs"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-san --output-on-failure -j "$jobs"

# The system's lock, the background runs and the ensembles again under the thread sanitizer
# (core only).
CC=clang-14 CXX=clang++-14 cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTOR_CORE_ONLY=ON -DVANTOR_TSAN=ON -DVANTOR_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target test_system test_base
concorrenti='ReadWriteLock|Ricalcolo|Ensemble|FlussoPhilox|Concorrenza'
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" \
    -R "^($concorrenti|Schemi/OgniSchema.RunsInTheBackground)"

# Two thirds of the time on inputs of libFuzzer's usual length, then long texts up to 128 KiB,
# so that compile time and memory on large formulas are exercised too.
secondi=${VANTOR_FUZZ_SECONDS:-30}
corti=$((secondi * 2 / 3))
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
for fuzzer in build-san/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    # Each fuzzer starts from its own seeds, tools/fuzz-corpus/<name without fuzz_>.
    rm -rf "${corpus:?}"/*
    cp "tools/fuzz-corpus/$(basename "$fuzzer" | sed 's/^fuzz_//')"/* "$corpus"/
    "$fuzzer" -max_total_time="$corti" -rss_limit_mb=2048 -artifact_prefix=build-san/ "$corpus"
    "$fuzzer" -max_total_time=$((secondi - corti)) -max_len=131072 -rss_limit_mb=2048 \
        -artifact_prefix=build-san/ "$corpus"
done
echo "All tests passed."
