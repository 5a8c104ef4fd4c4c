#!/usr/bin/env bash
# Builds Cindervale (installing what it needs on first run) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh
exec "${CINDERVALE_BUILD_DIR:-build}/cindervale"
