#!/usr/bin/env bash
# Builds Cindervale and runs the world simulation benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
CINDERVALE_BUILD_TYPE=Release CINDERVALE_BUILD_DIR="${CINDERVALE_BUILD_DIR:-build-release}" ./scripts/configure.sh
exec "${CINDERVALE_BUILD_DIR:-build-release}/bench/cindervale_bench" "$@"
