#!/bin/sh
# Installs the build into a fresh folder (prefix /usr, stripped, as the package does) and checks
# what a desktop finds there: both programs, the desktop entry, the metadata and the icon under the
# one application id, the icon in every theme size and scalable, and so the case window's icon and
# the case file's, the case file's thumbnailer, the manual pages, the licence and
# changelog of both packages, README and the Czech guide. Then uninstall.cmake must take away every
# file and folder the install made, and keep a folder that was there before.
# Usage: check_installed_tree.sh CMAKE BUILD_DIR DESTINATION_DIR APPLICATION_ID
set -u
cmake=$1
build=$2
root=$3
id=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$root" "$root.kept"
# A folder that exists before the install (as /usr/share/man does on a system) must outlive the
# uninstall.
mkdir -p "$root/usr/share/man"
# cmake --install rewrites the build's install_manifest.txt and adds to install_folders.txt, which
# a user's uninstall reads: keep them, and keep this install's lists apart.
mkdir -p "$root.kept"
for list in install_manifest.txt install_folders.txt; do
    [ -f "$build/$list" ] && mv "$build/$list" "$root.kept/$list"
done
DESTDIR="$root" "$cmake" --install "$build" --prefix /usr --strip >/dev/null
installed=$?
for list in install_manifest.txt install_folders.txt; do
    [ -f "$build/$list" ] && mv "$build/$list" "$root.$list"
    [ -f "$root.kept/$list" ] && mv "$root.kept/$list" "$build/$list"
done
rmdir "$root.kept"
[ "$installed" -eq 0 ] || { echo "FAIL: install"; exit 1; }
usr=$root/usr

for path in bin/vorlanex bin/vorlanex-calc share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/man/man1/vorlanex.1.gz share/man/man1/vorlanex-calc.1.gz \
            share/man/man5/vorlanex-case.5.gz bin/vorlanex-spis share/man/man1/vorlanex-spis.1.gz \
            bin/vorlanex-protocol share/man/man1/vorlanex-protocol.1.gz \
            bin/vorlanex-thumbnailer share/man/man1/vorlanex-thumbnailer.1.gz \
            share/thumbnailers/io.github.vorlanex.spis.thumbnailer \
            share/icons/hicolor/scalable/apps/io.github.vorlanex.spis.svg \
            share/icons/hicolor/scalable/mimetypes/application-x-vorlanex-case.svg \
            share/applications/io.github.vorlanex.spis.desktop share/mime/packages/io.github.vorlanex.spis.xml \
            share/metainfo/io.github.vorlanex.spis.metainfo.xml \
            share/doc/vorlanex/copyright share/doc/vorlanex/changelog.gz share/doc/vorlanex/README.md \
            share/doc/vorlanex/navod.md share/doc/vorlanex-calc/copyright share/doc/vorlanex-calc/changelog.gz \
            share/lintian/overrides/vorlanex share/lintian/overrides/vorlanex-calc; do
    [ -f "$usr/$path" ] || fail "missing $path"
done
for size in 16 32 48 64 128 256; do
    for icon in apps/$id apps/io.github.vorlanex.spis mimetypes/application-x-vorlanex-case; do
        file=$usr/share/icons/hicolor/${size}x$size/$icon.png
        [ -f "$file" ] || { fail "missing the $size px icon $icon"; continue; }
        # The PNG header holds the width and height as big-endian 32-bit numbers at bytes 16 to 23.
        dimensions=$(od -An -tu4 --endian=big -j16 -N8 "$file" | tr -s ' ' | sed 's/^ //')
        [ "$dimensions" = "$size $size" ] || fail "the $size px icon $icon measures $dimensions"
    done
done
# Nothing else is installed under the icon theme, and no test or helper program.
[ "$(find "$usr/share/icons" -type f | wc -l)" -eq 21 ] || fail "unexpected icons: $(find "$usr/share/icons" -type f)"
[ "$(ls "$usr/bin" | wc -l)" -eq 5 ] || fail "unexpected programs: $(ls "$usr/bin")"
grep -q "^Icon=$id$" "$usr/share/applications/$id.desktop" || fail "the desktop entry does not name the icon $id"
grep -q "^Icon=io.github.vorlanex.spis$" "$usr/share/applications/io.github.vorlanex.spis.desktop" ||
    fail "the case window's desktop entry does not name its icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata does not launch $id.desktop"
for program in vorlanex vorlanex-calc vorlanex-spis vorlanex-protocol vorlanex-thumbnailer; do
    readelf -S "$usr/bin/$program" | grep -q '\.symtab' && fail "$program is not stripped"
    readelf -S "$usr/bin/$program" | grep -q '\.comment' && fail "$program keeps its .comment section"
done
appstreamcli validate-tree --no-net --pedantic "$root" || fail "appstreamcli validate-tree"

# The uninstall: nothing of the install stays, the folder that was there before does.
DESTDIR="$root" "$cmake" -DMANIFEST="$root.install_manifest.txt" -DFOLDERS="$root.install_folders.txt" \
    -P "$build/uninstall.cmake" >/dev/null || fail "uninstall.cmake"
left=$(cd "$root" 2>/dev/null && find . -mindepth 1 ! -path ./usr ! -path ./usr/share ! -path ./usr/share/man)
[ -z "$left" ] || fail "the uninstall leaves behind: $(echo $left)"
[ -d "$usr/share/man" ] || fail "the uninstall removed usr/share/man, which was there before"
rm -rf "$root" "$root.install_manifest.txt" "$root.install_folders.txt"

[ "$failures" -eq 0 ] || exit 1
echo "installed tree: complete under $id"
