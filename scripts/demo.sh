#!/bin/sh
# Builds the Linux plug-in and runs the demo host on it: the measured playback curve of Zelk,
# loaded through its entry function, next to the ideal curve.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target Zelk zelk-demo >/dev/null
exec build/linux/bin/zelk-demo "$@"
