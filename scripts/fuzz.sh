#!/usr/bin/env bash
# Fuzzes the recipe-file reader, the store's name handling, the meal plan's
# week files, the help file's readers and the import of schema.org and
# MealMaster recipes with libFuzzer
# (clang, AddressSanitizer + UBSan), each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
# The import targets read inputs up to 256 kB with a dictionary of the keys
# and markers their readers look for, from the test files and a few large
# seeds made here, and stop on an input that takes over 5 s or 1 GB; so does
# the meal plan's, with inputs up to the 256 kB of a week's file that are read.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=(fuzz_store_reader fuzz_store_names fuzz_store_mealplan fuzz_help_contents
        fuzz_help_archive fuzz_import_jsonld fuzz_import_mealmaster)
fi
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DPV_FUZZ=ON -DPV_SANITIZE=ON -DPV_HELP=OFF \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null

# Large seeds of the shapes that once took minutes or all memory.
seeds="$build/seeds"
mkdir -p "$seeds/jsonld" "$seeds/mealmaster" "$seeds/mealplan"
start=$'MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: Seed\r\n\r\n'
repeat() { # line count
    local i
    for ((i = 0; i < $2; ++i)); do printf '%s\r\n' "$1"; done
}
{ printf '%s' "$start"; repeat '  a' 20000; } >"$seeds/mealmaster/short-lines.mmf"
{ printf '%s' "$start"; repeat "----- a$(printf '%40s')b" 4000; } \
    >"$seeds/mealmaster/padded-headings.mmf"
{ printf '%s' "$start"; repeat '      1 c  Flour                              2 tb Sugar' 3000; } \
    >"$seeds/mealmaster/two-columns.mmf"
nested='"x"'
for _ in $(seq 12); do nested="{\"value\":[1,1,1,1],\"unitText\":$nested}"; done
printf '{"@type":["Recipe",%s],"name":"N","recipeYield":%s,"recipeIngredient":["1 egg"]}' \
    "$nested" "$nested" >"$seeds/jsonld/nested.json"
{
    printf '"2026-12-07","Soups","Stew","4"\r\n"2026-12-13","Breads","Loaf","12"\r\n'
    printf 'a line kept as it is\r\n"2026-12-09","Pies","Apple, ""deep""","2"\r\n'
} >"$seeds/mealplan/week.txt"

for target in "${targets[@]}"; do
    mkdir -p "$build/corpus-$target"
    options=(-max_len=65536 -timeout=10)
    inputs=()
    case $target in
        fuzz_import_jsonld | fuzz_import_mealmaster)
            kind=${target#fuzz_import_}
            options=(-max_len=262144 -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=256
                -dict="fuzz/$kind.dict")
            inputs=(tests/exchange/data "$seeds/$kind")
            ;;
        fuzz_store_mealplan)
            options=(-max_len=262144 -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=256
                -dict=fuzz/mealplan.dict)
            inputs=("$seeds/mealplan")
            ;;
    esac
    echo "== $target ($seconds s)"
    "$build/fuzz/$target" "$build/corpus-$target" "${inputs[@]}" -max_total_time="$seconds" \
        "${options[@]}" 2>&1 | tail -n 2
done
