#!/usr/bin/env bash
# Builds everything twice, normally and with AddressSanitizer + UndefinedBehaviorSanitizer,
# and runs the whole test suite on both builds without a display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=2
# Line tables are all a failing test's stack trace needs; full debug information made the two
# builds take over 20 GB, more than a CI machine can be sure to have free.
debug_level=-g1

echo "== normal build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_WERROR=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 $debug_level -DNDEBUG"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitizer build =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_WERROR=ON -DQV_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS_DEBUG="$debug_level" \
    -DQV_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs"
