#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vorlanex.
set -euo pipefail
cd "$(dirname "$0")"
source tools/dependencies.sh
install_missing_packages "${BUILD_PACKAGES[@]}"
cmake --preset default -DVORLANEX_TESTS=OFF >/dev/null
cmake --build build/default -j"$(nproc)"
exec build/default/app/vorlanex "$@"
