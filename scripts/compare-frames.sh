#!/usr/bin/env bash
# Level frames of two builds side by side: builds the renderer at two commits
# (by default 0b7432d, the last of the frame's speed rounds, and HEAD), then
#   bench   runs bench_LevelFrameBench for both, alternating, at 8 and at 2
#           llvmpipe threads, and prints the mean of the 13 views per mode;
#   pictures writes every view's frame of both builds (each in a process of
#           its own, so the pictures compare pixel by pixel) and summarises
#           their differences with ImageMagick.
#
#   scripts/compare-frames.sh build            # both trees (or: build before)
#   scripts/compare-frames.sh bench            # figures, with the load
#   scripts/compare-frames.sh pictures         # picture differences
#
# BEFORE and AFTER choose the commits, WORK the folder (default
# /tmp/mirefell-frames), JOBS the build's parallelism (default 4).
set -euo pipefail

BEFORE=${BEFORE:-0b7432d}
AFTER=${AFTER:-HEAD}
WORK=${WORK:-/tmp/mirefell-frames}
JOBS=${JOBS:-4}
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null

build_side() { # side commit
    local side=$1 commit=$2
    rm -rf "$WORK/$side/src"
    mkdir -p "$WORK/$side/src"
    git -C "$repo" archive "$commit" | tar -x -C "$WORK/$side/src"
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$WORK/$side/src" -B "$WORK/$side/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
    cmake --build "$WORK/$side/build" -j "$JOBS"
    git -C "$repo" rev-parse --short "$commit" >"$WORK/$side/commit"
}

views() {
    "$WORK/after/build/bench/bench_LevelFrameBench" --benchmark_list_tests | grep '^BM_LevelFrame/'
}

bench() {
    mkdir -p "$WORK/results"
    for threads in 8 2; do
        for side in before after; do
            echo "== $side ($(cat "$WORK/$side/commit")), $threads threads; load: $(uptime | sed 's/.*load average: //')"
            (cd "$WORK/$side/build" && LP_NUM_THREADS=$threads bench/bench_LevelFrameBench \
                --benchmark_filter='^BM_LevelFrame/' --benchmark_min_time=1 --benchmark_format=csv \
                >"$WORK/results/$side-$threads.csv" 2>/dev/null)
            # Columns: name, iterations, real_time, cpu_time, time_unit, ..., cpu_ms counter.
            awk -F, 'NR > 1 && $1 ~ /BM_LevelFrame/ {
                    mode = ($1 ~ /every_effect/) ? "every_effect" : "post_off"
                    sum[mode] += $3; n[mode]++
                    for (i = 1; i <= NF; i++) if (head[i] ~ /cpu_ms/) cpu[mode] += $i
                }
                NR == 1 { for (i = 1; i <= NF; i++) head[i] = $i }
                END { for (m in sum) printf "   %-13s mean of %d views: %.1f ms wall (%.0f CPU ms)\n", m, n[m], sum[m] / n[m], cpu[m] / n[m] }' \
                "$WORK/results/$side-$threads.csv"
        done
    done
    echo "CSV files: $WORK/results"
}

pictures() {
    mkdir -p "$WORK/pictures"
    printf '%-42s %10s %10s %10s\n' view rmse 'changed>2' 'changed>8'
    for name in $(views); do
        local file
        file=$(echo "$name" | sed 's|^BM_LevelFrame/||; s|/real_time$||; s|/|_|g')
        for side in before after; do
            rm -rf "$WORK/$side/build/bench-output"
            (cd "$WORK/$side/build" && MIREFELL_BENCH_PICTURES=1 LP_NUM_THREADS=8 bench/bench_LevelFrameBench \
                --benchmark_filter="^${name}\$" --benchmark_min_time=0.01 >/dev/null 2>&1)
            cp "$WORK/$side/build/bench-output/$file.png" "$WORK/pictures/${file}_$side.png"
        done
        local a="$WORK/pictures/${file}_before.png" b="$WORK/pictures/${file}_after.png"
        local rmse changed2 changed8 pixels
        rmse=$(compare -metric RMSE "$a" "$b" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
        changed2=$(compare -metric AE -fuzz 0.8% "$a" "$b" null: 2>&1 || true)
        changed8=$(compare -metric AE -fuzz 3.2% "$a" "$b" null: 2>&1 || true)
        pixels=$(identify -format '%[fx:w*h]' "$a")
        printf '%-42s %10.4f %9.2f%% %9.2f%%\n' "$file" "$rmse" "$(echo "100 * $changed2 / $pixels" | bc -l)" \
            "$(echo "100 * $changed8 / $pixels" | bc -l)"
        convert "$a" "$b" +append "$WORK/pictures/${file}_side_by_side.png"
    done
    echo "pictures (before, after, side by side): $WORK/pictures"
}

case "${1:-}" in
build)
    [ "${2:-both}" = after ] || build_side before "$BEFORE"
    [ "${2:-both}" = before ] || build_side after "$AFTER"
    ;;
bench) bench ;;
pictures) pictures ;;
*)
    sed -n '2,16p' "$0"
    exit 2
    ;;
esac
