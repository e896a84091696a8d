#!/bin/sh
# Installs what the builds and tests need on Debian 12, as root, if it is missing.
# Usage: scripts/install-deps.sh [linux|all]   (default: all, i.e. with the Windows build)
set -eu

packages="cmake make g++ libgtest-dev libbenchmark-dev clang-format"
if [ "${1:-all}" = all ]; then
    packages="$packages g++-mingw-w64-x86-64 googletest wine wine64"
fi

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages:$missing (run as root, or install them)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q $missing
