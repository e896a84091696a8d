#!/bin/sh
# Runs one Windows program under Wine with a private, quiet prefix.
# The first start creates the prefix, which takes several seconds.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/zelk-wine-$(id -u)}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
