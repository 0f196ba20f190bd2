#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test
# headless; then does the same with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=Debug -DPV_WERROR=ON
cmake --build build-ci -j"$jobs"
(cd build-ci && ctest --output-on-failure -j"$jobs")
# The data folder kept in step by two real Syncthing instances (about half a minute).
PV_APP=build-ci/app bash scripts/sync-check.sh

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPV_WERROR=ON -DPV_SANITIZE=ON -DPV_HELP=OFF
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$jobs")
