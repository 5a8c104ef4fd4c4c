#!/usr/bin/env bash
# The web build's tests, run by test.sh: the whole-game bot built for wasm
# plays under node to the native build's pinned final hash, and headless
# Chromium (software WebGL) plays the page from the title to the first line.
#   web-test.sh [--measure SECONDS]   also reports frame rates and timings
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${CINDERVALE_WEB_BUILD_DIR:-build-web}"
NATIVE_DIR="${CINDERVALE_BUILD_DIR:-build}"
CACHE_ROOT="${CINDERVALE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cindervale}"
# Drives the system's Chromium; it downloads no browser of its own.
PLAYWRIGHT_VERSION=1.65.2
NODE_DIR="$CACHE_ROOT/node-playwright-$PLAYWRIGHT_VERSION"

CINDERVALE_WEB_TARGETS="cindervale cindervale_whole_game" ./web.sh build
if [ ! -f "$NODE_DIR/node_modules/playwright-core/package.json" ]; then
  echo "[web-test] installing playwright-core $PLAYWRIGHT_VERSION" >&2
  mkdir -p "$NODE_DIR"
  npm install --prefix "$NODE_DIR" --no-audit --no-fund --no-save --silent "playwright-core@$PLAYWRIGHT_VERSION" >&2
fi

passed=0
failed=0
# node 20's built-in fetch breaks the wasm loader of Emscripten 3.1.6 under node.
node_wasm() { node --no-experimental-fetch "$@"; }

echo "== whole game, wasm under node"
if node_wasm "$BUILD_DIR/cindervale_whole_game.js"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  # Find the first frame the two builds disagree on.
  [ -x "$NATIVE_DIR/tools/whole_game/cindervale_whole_game" ] || ./scripts/configure.sh cindervale_whole_game >/dev/null
  trace_dir=$(mktemp -d)
  "$NATIVE_DIR/tools/whole_game/cindervale_whole_game" --trace | grep '^frame' >"$trace_dir/native" || true
  node_wasm "$BUILD_DIR/cindervale_whole_game.js" --trace | grep '^frame' >"$trace_dir/wasm" || true
  first=$(paste -d' ' "$trace_dir/native" "$trace_dir/wasm" \
    | awk '$2 != $5 || $3 != $6 {print "frame " ($2 == "" ? $5 : $2) ": native " $3 ", wasm " $6; exit}')
  if [ -n "$first" ]; then
    echo "whole game: the first frame whose hash differs is $first"
  else
    echo "whole game: native and wasm agree frame by frame; the pinned hash itself has moved"
  fi
  rm -rf "$trace_dir"
fi

echo "== the page in headless Chromium"
if CINDERVALE_NODE_MODULES="$NODE_DIR/node_modules" \
   node web/browser_test.cjs "$BUILD_DIR/site" "$BUILD_DIR/browser-test" "$@"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "screenshots in $BUILD_DIR/browser-test/"
fi

echo "web: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
