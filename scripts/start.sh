#!/usr/bin/env bash
# Builds the package and starts the section editor. Until the launcher exists, the editor is
# the package's entry point.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target Quarvel quarvel-report
exec build/quarvel/Quarvel "$@"
