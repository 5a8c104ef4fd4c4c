#!/usr/bin/env bash
# Builds Cindervale and runs the whole test suite (unit, asset and end-to-end).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh
cd "${CINDERVALE_BUILD_DIR:-build}"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
