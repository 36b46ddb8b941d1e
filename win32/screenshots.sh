#!/usr/bin/env bash
# Screenshots of the Windows program under wine inside Xvfb:
#   win32/screenshots.sh BUILD_DIR [OUT-DIR]   (default OUT-DIR: BUILD_DIR/screenshots)
# BUILD_DIR is the cross-build folder holding win32/bankwise.exe. Wine draws
# its own window frames in a virtual desktop, as Windows would. Takes the
# main window, the About box and its information box. Needs xdotool and
# ImageMagick's import.
set -euo pipefail
build=$(cd "${1:?usage: win32/screenshots.sh BUILD_DIR [OUT-DIR]}" && pwd)
out=${2:-$build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine explorer /desktop=Bankwise,660x500 "'"$build"'/win32/bankwise.exe" &
    sleep 4
    shot() { import -window root -crop 660x500+0+0 +repage "'"$out"'/$1"; }
    shot win-main-window.png
    xdotool key alt+h; sleep 0.3; xdotool key a; sleep 1.5
    shot win-about.png
    xdotool key alt+m; sleep 1.5
    shot win-about-more.png
    wineserver -k'
ls "$out"/win-*.png
