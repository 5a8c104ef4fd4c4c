#!/usr/bin/env bash
# Installs the dependencies (idempotent) and configures + builds the project
# in ./build. Used by play.sh, test.sh and bench.sh.
#   configure.sh [target...]   builds only the named targets (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${CINDERVALE_BUILD_DIR:-build}"
prefix=$(./scripts/setup-deps.sh | tail -n 1)
args=(-DCMAKE_BUILD_TYPE="${CINDERVALE_BUILD_TYPE:-RelWithDebInfo}")
if [ "$prefix" != "system" ]; then
  args+=(-DCINDERVALE_RAYLIB_PREFIX="$prefix")
fi
cmake -S . -B "$BUILD_DIR" "${args[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j "$(nproc 2>/dev/null || echo 2)" "${targets[@]}"
