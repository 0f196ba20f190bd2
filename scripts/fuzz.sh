#!/usr/bin/env bash
# Fuzzes the recipe-file reader, the store's name handling, the help file's
# readers and the import of schema.org and MealMaster recipes with libFuzzer (clang, AddressSanitizer + UBSan), each for a bounded
# time. Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DPV_FUZZ=ON -DPV_SANITIZE=ON -DPV_HELP=OFF \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
for target in fuzz_store_reader fuzz_store_names fuzz_help_contents fuzz_help_archive \
    fuzz_import_jsonld fuzz_import_mealmaster; do
    mkdir -p "$build/corpus-$target"
    seeds=()
    [[ $target == fuzz_import_* ]] && seeds=(tests/exchange/data)
    echo "== $target ($seconds s)"
    "$build/fuzz/$target" "$build/corpus-$target" "${seeds[@]}" -max_total_time="$seconds" \
        -max_len=65536 -timeout=10 2>&1 | tail -n 2
done
