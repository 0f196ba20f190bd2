#!/usr/bin/env bash
# Installs what is missing, builds, lays out the application folder in
# build/app and starts Pantrova from it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target PV Ostrel32 pv_help
exec build/app/PV
