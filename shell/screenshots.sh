#!/usr/bin/env bash
# Screenshots of the real windows under a virtual X server:
#   shell/screenshots.sh [OUT-DIR]     (default: build-release/screenshots)
# It takes the main window, the options dialog, the print preview, the
# About box and its information box.
# Needs the Debian packages xvfb and xauth. The README's picture is
# docs/main-window.png, copied from OUT-DIR/main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build-release/screenshots}
mkdir -p "$out"
[ -f build-release/CMakeCache.txt ] || cmake --preset release >&2
cmake --build build-release --target bankwise-screenshots bankwise-about-demo >&2
# A settings folder of its own, so the user's settings are neither read nor changed.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
    build-release/shell/bankwise-screenshots examples "$out"
# The About box's information box is its own modal box, pictured from
# inside its loop by the About demo.
grabs=$(mktemp -d)
xvfb-run -a -s "-screen 0 1024x768x24" build-release/about/bankwise-about-demo --grab "$grabs"
mv "$grabs/about-more.png" "$out/about-more.png"
rm -rf "$grabs"
echo "$out/about-more.png"
