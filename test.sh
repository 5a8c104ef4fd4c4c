#!/usr/bin/env bash
# Builds Cindervale and runs the whole test suite (unit, asset and end-to-end),
# then the web build's tests (the whole game in wasm under node, the page in
# headless Chromium; CINDERVALE_SKIP_WEB=1 leaves them out), then the unit
# tests and the whole-game test again in an AddressSanitizer and UBSan build
# that stops at the first report.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/configure.sh
(cd "${CINDERVALE_BUILD_DIR:-build}" && ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)")

if [ "${CINDERVALE_SKIP_WEB:-0}" != 1 ]; then
  ./scripts/web-test.sh
fi

asan_dir="${CINDERVALE_ASAN_BUILD_DIR:-build-asan}"
CINDERVALE_BUILD_DIR="$asan_dir" CINDERVALE_SANITIZE=ON ./scripts/configure.sh cindervale_tests
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$asan_dir/tests/cindervale_tests" --gtest_brief=1
