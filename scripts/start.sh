#!/usr/bin/env bash
# Builds the package and shows the characteristics of a sample section. Pass section files to
# report those instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target quarvel-report
if (($# == 0)); then
    set -- samples/channel.geo
fi
build/quarvel/quarvel-report "$@"
