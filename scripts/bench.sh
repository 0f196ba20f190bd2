#!/usr/bin/env bash
# Runs every benchmark in a Release build (not part of CI; the machine should be
# otherwise idle): bench_store, bench_recipes, bench_shopprint, bench_regutil,
# bench_exchange, bench_find, bench_mealplan, bench_importall and any added
# since. bench_find first writes 260,000 small recipe files to the
# temporary folder (about 1 GB of disk, removed afterwards). Start-up time and
# memory need a virtual display: see scripts/bench-startup.sh, which this runs last.
set -euo pipefail
cd "$(dirname "$0")/.."
build="build-bench"
# Every bench/bench_*.cpp is a target (bench/CMakeLists.txt); bench_startup runs
# under a display, from bench-startup.sh.
benches=()
for src in bench/bench_*.cpp; do
    name=$(basename "$src" .cpp)
    [[ $name == bench_startup ]] || benches+=("$name")
done
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON -DPV_HELP=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${benches[@]}" ostrel_fixtures >/dev/null
export QT_QPA_PLATFORM=offscreen
for b in "${benches[@]}"; do
    echo "== $b"
    "$build/bench/$b"
done
bash scripts/bench-startup.sh "$build"
