#!/usr/bin/env bash
# Installs what is missing, makes a Release build and packs it as two Debian packages,
# build/release/vorlanex_<version>_<architecture>.deb (the window) and
# build/release/vorlanex-calc_<version>_<architecture>.deb (the command), then checks both with
# lintian: any tag it shows (beyond the overrides the packages carry) stops with a failure.
#
#   ./package.sh windows   instead: the Windows cross build (the preset windows) and its installer,
#                          build/windows/Vorlanex-<version>-setup.exe, made with NSIS
set -euo pipefail
cd "$(dirname "$0")"
source tools/dependencies.sh
if [ "${1:-}" = windows ]; then
    install_missing_packages "${WINDOWS_INSTALLER_PACKAGES[@]}"
    cmake --preset windows >/dev/null
    cmake --build build/windows -j"$(nproc)"
    version=$(sed -n 's/^set(VORLANEX_VERSION \(.*\))$/\1/p' CMakeLists.txt)
    installer="build/windows/Vorlanex-$version-setup.exe"
    echo "$installer: $(stat -c %s "$installer") bytes"
    exit
fi
[ $# -eq 0 ] || { echo "usage: ./package.sh [windows]" >&2; exit 2; }
install_missing_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)"
(cd build/release && cpack -G DEB)
version=$(sed -n 's/^set(VORLANEX_VERSION \(.*\))$/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
tools/lintian_check.sh \
    "build/release/vorlanex_${version}_$arch.deb" "build/release/vorlanex-calc_${version}_$arch.deb"
