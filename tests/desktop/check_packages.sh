#!/bin/sh
# The Debian packages of a build, as cpack -G DEB makes them: two packages from the one build, the
# same bytes from two runs, and each package holding what it should.
#   vorlanex-calc: the command and its manual page, its licence and changelog; no Qt, no font.
#   vorlanex:      the window, its desktop files and manual page, README and the Czech guide, the
#                  case window and vorlanex-protocol, its program for PDF and printing; it depends
#                  on vorlanex-calc of its own version, on the font, on chromium (which
#                  vorlanex-protocol runs) and (found by dpkg-shlibdeps) on qpdf and CUPS, not on
#                  Qt WebEngine.
# Both are in the section "math", and lintian finds nothing in them.
# Usage: check_packages.sh CPACK BUILD_DIR WORK_DIR VERSION
set -u
cpack=$1
build=$2
work=$3
version=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
for run in first second; do
    "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/$run" >"$work.$run.log" 2>&1 ||
        { cat "$work.$run.log"; echo "FAIL: cpack ($run run)"; exit 1; }
done
arch=$(dpkg --print-architecture)
for package in vorlanex vorlanex-calc; do
    deb=$work/first/${package}_${version}_$arch.deb
    [ -f "$deb" ] || { fail "no package $package: $(ls "$work/first")"; continue; }
    cmp -s "$deb" "$work/second/${package}_${version}_$arch.deb" ||
        fail "$package: two runs of cpack give different bytes"
    [ "$(dpkg-deb -f "$deb" Section)" = math ] || fail "$package: section $(dpkg-deb -f "$deb" Section)"
done
[ "$(ls "$work/first"/*.deb | wc -l)" -eq 2 ] || fail "not two packages: $(ls "$work/first")"

calc_deb=$work/first/vorlanex-calc_${version}_$arch.deb
window_deb=$work/first/vorlanex_${version}_$arch.deb
if [ -f "$calc_deb" ] && [ -f "$window_deb" ]; then
    calc_files=$(dpkg-deb -c "$calc_deb" | awk '{print $6}')
    window_files=$(dpkg-deb -c "$window_deb" | awk '{print $6}')
    for path in ./usr/bin/vorlanex-calc ./usr/share/man/man1/vorlanex-calc.1.gz \
                ./usr/share/doc/vorlanex-calc/copyright ./usr/share/doc/vorlanex-calc/changelog.gz; do
        printf '%s\n' "$calc_files" | grep -qx "$path" || fail "vorlanex-calc lacks $path"
    done
    for path in ./usr/bin/vorlanex ./usr/share/man/man1/vorlanex.1.gz ./usr/share/doc/vorlanex/copyright \
                ./usr/share/doc/vorlanex/changelog.gz ./usr/share/doc/vorlanex/README.md \
                ./usr/share/doc/vorlanex/navod.md ./usr/share/applications/io.github.vorlanex.vorlanex.desktop \
                ./usr/bin/vorlanex-spis ./usr/bin/vorlanex-protocol ./usr/share/man/man1/vorlanex-protocol.1.gz \
                ./usr/share/icons/hicolor/scalable/apps/io.github.vorlanex.spis.svg \
                ./usr/share/icons/hicolor/48x48/mimetypes/application-x-vorlanex-case.png \
                ./usr/bin/vorlanex-thumbnailer ./usr/share/thumbnailers/io.github.vorlanex.spis.thumbnailer; do
        printf '%s\n' "$window_files" | grep -qx "$path" || fail "vorlanex lacks $path"
    done
    # No file in both packages: dpkg would refuse to install the second.
    shared=$( (printf '%s\n' "$calc_files" | grep -v '/$'; printf '%s\n' "$window_files" | grep -v '/$') | sort | uniq -d)
    [ -z "$shared" ] || fail "in both packages: $shared"
    printf '%s\n' "$window_files" | grep -q 'bin/vorlanex-calc$' && fail "vorlanex holds the command"

    calc_depends=$(dpkg-deb -f "$calc_deb" Depends)
    printf '%s\n' "$calc_depends" | grep -qi 'qt\|font' && fail "vorlanex-calc depends on $calc_depends"
    window_depends=$(dpkg-deb -f "$window_deb" Depends)
    for needed in "vorlanex-calc (= $version)" "fonts-liberation2 | fonts-liberation" libqt6widgets6 \
                  chromium libqpdf libcups2 libqt6printsupport6; do
        printf '%s\n' "$window_depends" | grep -qF "$needed" || fail "vorlanex does not depend on $needed"
    done
    printf '%s\n' "$window_depends" | grep -qi 'webengine' && fail "vorlanex depends on Qt WebEngine"
fi

# Debian's own checks, as package.sh runs them on the release packages. The hardening flags are the
# release build's (package.sh checks them there), not this test build's. Spelling in the programs is
# checked here too: a word lintian reads in this build's programs is in the release build's as well
# (the texts and the carried pictures are the same), though an override may name a seam between two
# texts that this build's linker lays otherwise (lintian then calls the override mismatched):
# package.sh checks those on the release packages.
if [ -f "$calc_deb" ] && [ -f "$window_deb" ]; then
    "$(dirname "$0")/../../tools/lintian_check.sh" \
        --suppress-tags hardening-no-bindnow,hardening-no-fortify-functions,mismatched-override \
        "$window_deb" "$calc_deb" >"$work.lintian.log" 2>&1 ||
        { cat "$work.lintian.log"; fail "lintian"; }
fi

[ "$failures" -eq 0 ] || exit 1
rm -rf "$work" "$work.first.log" "$work.second.log" "$work.lintian.log"
echo "packages: vorlanex and vorlanex-calc, section math, the same bytes from two runs, lintian clean"
