#!/usr/bin/env bash
# Builds Mirefell and starts it from its run folder (build/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target mirefell
cd build
exec ./mirefell
