#!/usr/bin/env bash
# Builds Cindervale (installing what it needs on first run) and starts it.
# Only the game itself is built here; ./test.sh builds the tests and tools.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh cindervale
exec "${CINDERVALE_BUILD_DIR:-build}/cindervale"
