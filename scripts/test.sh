#!/usr/bin/env bash
# Builds everything and runs every test, headless: no display and no sound
# card are needed (SDL's offscreen driver on Mesa's llvmpipe, OpenAL's null
# backend). The end-to-end tests (label "e2e") start their own virtual X
# server with xvfb-run and drive the real game in it. Then a second, small
# tree built with AddressSanitizer and UBSan that holds only the soak program,
# the fuzz targets' replay programs and what they link. In it the soak (label
# "soak") plays each shipped level at random for twenty minutes of game time,
# with each of three seeds (about a minute and a half of the soak on two
# cores), and every fuzz target replays its corpus and the mutations of it
# (label "fuzz"); any sanitiser report fails the test. That tree is a Debug
# build at -O1 with line tables only: the asserts stay on, and it builds in
# about half the time of -O2 -g.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
cmake -S . -B build-soak -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIREFELL_SANITIZE=ON -DMIREFELL_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1" >/dev/null
cmake --build build-soak --target mirefell_soak_tests mirefell_fuzz_replays
ctest --test-dir build-soak -L 'soak|fuzz' --output-on-failure -j "$(nproc)"
