#!/usr/bin/env bash
# Installs what is missing, makes a Release build and packs it as a Debian package:
# build/release/vorlanex_<version>_<architecture>.deb.
set -euo pipefail
cd "$(dirname "$0")"
source tools/dependencies.sh
install_missing_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)"
(cd build/release && cpack -G DEB)
