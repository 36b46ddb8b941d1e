#!/usr/bin/env bash
# Runs the Windows program's in-process self-test under wine inside Xvfb.
#   win32/selftest.sh BUILD_DIR    (the cross-build folder holding win32/bankwise-selftest.exe)
set -euo pipefail
build=${1:?usage: win32/selftest.sh BUILD_DIR}
build=$(cd "$build" && pwd)
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -w
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" wine "$build/win32/bankwise-selftest.exe"
