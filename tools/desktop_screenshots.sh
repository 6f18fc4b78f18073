#!/bin/bash
# Pictures of Vorlanex on a desktop for README: a file manager's view of case files (the case
# file's thumbnails) and the case window's title bar with its icon. The program is installed into a
# private prefix from a build directory and the desktop is a virtual X screen with a plain window
# manager and a file manager, so nothing of the machine's own setup is used or changed.
#
#   tools/desktop_screenshots.sh [BUILD_DIR] [OUT_DIR]     (defaults: build/default docs/screenshots)
#
# Needs xvfb, openbox, pcmanfm, xdotool and imagemagick (apt-get install them); not part of the tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/default}
out=${2:-$here/docs/screenshots}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
update-mime-database "$work/prefix/share/mime" >/dev/null 2>&1
gtk-update-icon-cache -q -f -t "$work/prefix/share/icons/hicolor"

export XDG_DATA_DIRS=$work/prefix/share:/usr/share PATH=$work/prefix/bin:$PATH HOME=$work/home
export XDG_CACHE_HOME=$HOME/.cache XDG_CONFIG_HOME=$HOME/.config LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
# The cases lie in a folder of a plain name, as the file manager shows its path.
cases=/tmp/Spisy
[ ! -e "$cases" ] || { echo "$cases is in the way" >&2; exit 1; }
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work" "$cases"' EXIT
mkdir -p "$cases" "$HOME/.config/pcmanfm/default" "$HOME/.config/libfm"
cp "$here/tests/cases/every-page.vorlanex" "$cases/ZP 17-2026.vorlanex"
cp "$here/tests/cases/reconstruction.vorlanex" "$cases/ZP 23-2026.vorlanex"
cp "$here/tests/cases/pedestrian-avoidability.vorlanex" "$cases/ZP 31-2026.vorlanex" 2>/dev/null || true
printf '[ui]\nwin_width=640\nwin_height=330\nview_mode=thumbnail\nside_pane_mode=places\n' \
    >"$HOME/.config/pcmanfm/default/pcmanfm.conf"
printf '[config]\nshow_thumbnail=1\nthumbnail_local=1\nthumbnail_max=2048\n[ui]\nthumbnail_size=128\n' \
    >"$HOME/.config/libfm/libfm.conf"

export DISPLAY=:77
Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 &
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

pcmanfm --no-desktop "$cases" >/dev/null 2>&1 &
manager=$!
sleep 6
import -frame -window "$(xdotool search --onlyvisible --name '^Spisy$' | head -1)" "$out/desktop-file-manager.png"
kill $manager

vorlanex-spis "$cases/ZP 23-2026.vorlanex" >/dev/null 2>&1 &
sleep 5
import -frame -window "$(xdotool search --onlyvisible --name 'Vorlanex Spis' | head -1)" "$work/window.png"
# The title bar: the window manager draws the window's own icon at its left end.
convert "$work/window.png" -crop x22+0+0 +repage -filter point -resize 150% "$out/desktop-title-bar.png"
echo "written: $out/desktop-file-manager.png $out/desktop-title-bar.png"
