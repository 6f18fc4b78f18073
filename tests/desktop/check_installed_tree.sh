#!/bin/sh
# Installs the build into a fresh folder (prefix /usr, stripped, as the package does) and checks
# what a desktop finds there: both programs, the desktop entry, the metadata and the icon under the
# one application id, the icon in every theme size and scalable, the manual pages, the licence.
# Usage: check_installed_tree.sh CMAKE BUILD_DIR DESTINATION_DIR APPLICATION_ID
set -u
cmake=$1
build=$2
root=$3
id=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$root"
# cmake --install rewrites the build's install_manifest.txt, which a user's uninstall reads: keep it.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$root.manifest"
DESTDIR="$root" "$cmake" --install "$build" --prefix /usr --strip >/dev/null
installed=$?
if [ -f "$root.manifest" ]; then mv "$root.manifest" "$manifest"; else rm -f "$manifest"; fi
[ "$installed" -eq 0 ] || { echo "FAIL: install"; exit 1; }
usr=$root/usr

for path in bin/vorlanex bin/vorlanex-calc share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/man/man1/vorlanex.1.gz share/man/man1/vorlanex-calc.1.gz share/man/man5/vorlanex-case.5.gz \
            share/doc/vorlanex/copyright share/doc/vorlanex/changelog.gz; do
    [ -f "$usr/$path" ] || fail "missing $path"
done
for size in 16 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
    [ -f "$icon" ] || { fail "missing the $size px icon"; continue; }
    # The PNG header holds the width and height as big-endian 32-bit numbers at bytes 16 to 23.
    dimensions=$(od -An -tu4 --endian=big -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')
    [ "$dimensions" = "$size $size" ] || fail "the $size px icon measures $dimensions"
done
# Nothing else is installed under the icon theme, and no test or helper program.
[ "$(find "$usr/share/icons" -type f | wc -l)" -eq 7 ] || fail "unexpected icons: $(find "$usr/share/icons" -type f)"
[ "$(ls "$usr/bin" | wc -l)" -eq 2 ] || fail "unexpected programs: $(ls "$usr/bin")"
grep -q "^Icon=$id$" "$usr/share/applications/$id.desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata does not launch $id.desktop"
for program in vorlanex vorlanex-calc; do
    readelf -S "$usr/bin/$program" | grep -q '\.symtab' && fail "$program is not stripped"
done
appstreamcli validate-tree --no-net --pedantic "$root" || fail "appstreamcli validate-tree"

[ "$failures" -eq 0 ] || exit 1
echo "installed tree: complete under $id"
