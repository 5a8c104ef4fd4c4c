#!/usr/bin/env bash
# The game in a browser. Installs what the web build needs on first run
# (Debian's Emscripten, node and Chromium; raylib built for the web from the
# same pinned source as the desktop build), builds cindervale.html, .js and
# .wasm with every asset embedded, and serves them on 127.0.0.1.
#   ./web.sh          build and serve (CINDERVALE_WEB_PORT picks the port)
#   ./web.sh build    only build; the page lands in build-web/site/
set -euo pipefail
cd "$(dirname "$0")"
BUILD_DIR="${CINDERVALE_WEB_BUILD_DIR:-build-web}"
SITE_DIR="$BUILD_DIR/site"
mode="${1:-serve}"
case "$mode" in serve|build) ;; *) echo "usage: $0 [build]" >&2; exit 2 ;; esac

prefix=$(./scripts/setup-deps.sh web | tail -n 1)
# Debian's emscripten finds its acorn only through Debian's node path when
# the node in use comes from elsewhere.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
emcmake cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
  -DCINDERVALE_RAYLIB_WEB_PREFIX="$prefix" >/dev/null
targets=(--target cindervale)
[ -n "${CINDERVALE_WEB_TARGETS:-}" ] && targets=()
for t in ${CINDERVALE_WEB_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j "$(nproc 2>/dev/null || echo 2)" "${targets[@]}"

mkdir -p "$SITE_DIR"
cp "$BUILD_DIR/cindervale.html" "$BUILD_DIR/cindervale.js" "$BUILD_DIR/cindervale.wasm" "$SITE_DIR/"
[ "$mode" = build ] && exit 0

port="${CINDERVALE_WEB_PORT:-$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}"
echo "Cindervale is at http://127.0.0.1:$port/cindervale.html (Ctrl-C stops the server)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$SITE_DIR" "$port" >/dev/null 2>&1
