#!/usr/bin/env bash
# Pantrova on a data folder that two real Syncthing instances keep in step (Debian 12, as root).
#
# Installs what is missing (Debian's syncthing and the desktop tools the check drives the
# program with), builds the program folder build/app unless PV_APP names one already built,
# then runs scripts/synccheck.py: two Syncthing instances on loopback, each with its own home
# and its own portable copy of the program folder, share the data (file watching on, a short
# rescan); both programs run under Xvfb and are driven through the accessibility bus. It
# checks that a recipe saved on one side is listed in the other side's open browser within
# 10 s, that a category created on one side appears in the other's open lists, that the same
# recipe changed on both sides at once ends with both versions on disk and the conflict copy
# marked in the browsers, and that nothing is lost. Arguments go to synccheck.py
# (--display :N, --shots DIR, --keep).
#   bash scripts/sync-check.sh
#   PV_APP=build-ci/app bash scripts/sync-check.sh --shots /tmp/shots
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
app=${PV_APP:-}
if [[ -z $app ]]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j"$(nproc)" --target PV pv_help
    app=build/app
fi
# Debian's python3, which has the accessibility bindings.
exec /usr/bin/python3 scripts/synccheck.py "$app" "$@"
