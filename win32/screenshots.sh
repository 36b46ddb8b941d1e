#!/usr/bin/env bash
# Screenshots of the Windows program under wine inside Xvfb:
#   win32/screenshots.sh BUILD_DIR [OUT-DIR]   (default OUT-DIR: BUILD_DIR/screenshots)
# BUILD_DIR is the cross-build folder holding win32/bankwise.exe. Wine draws
# its own window frames in a virtual desktop, as Windows would. Opens the
# Roland JV/XP example and takes the main window with its text, the options
# dialog over it, the About box and its information box. The README shows
# docs/win-*.png, copied from OUT-DIR.
# Needs the Debian packages wine, fonts-wine, xvfb, xauth, xdotool and
# imagemagick. It runs in the build's own wine prefix, whose Bankwise settings
# it sets afresh.
set -euo pipefail
for tool in wine wineserver xvfb-run xauth xdotool import convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "win32/screenshots.sh needs $tool: apt-get install wine fonts-wine xvfb xauth xdotool imagemagick" >&2
        exit 2
    fi
done
if [ ! -f /usr/share/wine/fonts/tahoma.ttf ]; then
    echo "win32/screenshots.sh needs wine's fonts: apt-get install fonts-wine" >&2
    exit 2
fi
build=$(cd "${1:?usage: win32/screenshots.sh BUILD_DIR [OUT-DIR]}" && pwd)
out=${2:-$build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
examples=$(cd "$(dirname "$0")/../examples" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -w
# Wine's own Tahoma and Marlett (fonts-wine), which stand for Windows' dialog
# font and caption-button symbols; this wine does not find them by itself.
fonts=$WINEPREFIX/drive_c/windows/Fonts
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
    [ -f "$fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$fonts/"
done
# A first start, but in a place of its own so that every run takes the same
# pictures: the desktop is the window's size and a little more.
key='HKCU\Software\Orvane\Bankwise'
wine reg delete "$key" /f >/dev/null 2>&1 || true
for entry in WindowLeft:0 WindowTop:0 WindowWidth:640 WindowHeight:460; do
    wine reg add "$key\\Settings" /v "${entry%%:*}" /t REG_DWORD /d "${entry##*:}" /f >/dev/null
done
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    wine explorer /desktop=Bankwise,640x460 "'"$build"'/win32/bankwise.exe" \
        "Z:'"$examples"'/roland-jvxp.syx" &
    shot() { sleep "$2"; import -window root -crop 640x460+0+0 +repage "'"$out"'/$1"; }
    # Opening a dump shows its options first; OK keeps them.
    sleep 8
    xdotool key Return
    shot win-main-window.png 1.5
    xdotool key alt+v; sleep 0.3; xdotool key o
    shot win-options-dialog.png 1.5
    xdotool key Escape; sleep 0.5
    xdotool key alt+h; sleep 0.3; xdotool key a
    shot win-about.png 1.5
    xdotool key alt+m
    shot win-about-more.png 1.5
    wineserver -k'
# A picture of one colour means wine had not drawn in time (a busy machine):
# say so rather than leave it for the README.
status=0
for picture in "$out"/win-*.png; do
    echo "$picture"
    if [ "$(convert "$picture" -format '%[fx:standard_deviation>0]' info:)" != 1 ]; then
        echo "$picture is blank: run again on a quieter machine" >&2
        status=1
    fi
done
exit $status
