#!/usr/bin/env bash
# Builds the package and starts the launcher in its package directory, as it must run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
cd build/package
exec ./Vorm "$@"
