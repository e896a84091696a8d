#!/bin/sh
# Builds and runs every test: the Linux build, the Linux build under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build (Zelk.dll) with its tests under Wine.
# Warnings are errors. Usage: scripts/test.sh [preset ...]   (default: linux linux-asan mingw)
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
presets="${*:-linux linux-asan mingw}"
for preset in $presets; do
    echo "== $preset"
    cmake --preset "$preset" -DZELK_WERROR=ON >/dev/null
    cmake --build --preset "$preset" -j2
    ctest --preset "$preset" -j2
done
