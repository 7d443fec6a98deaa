#!/usr/bin/env bash
# Builds everything and runs every test, headless: no display and no sound
# card are needed (SDL's offscreen driver on Mesa's llvmpipe, OpenAL's null
# backend). The end-to-end tests (label "e2e") start their own virtual X
# server with xvfb-run and drive the real game in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
