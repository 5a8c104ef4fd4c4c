#!/usr/bin/env bash
# Installs what building and testing Cindervale needs on Debian 12, and builds
# raylib (with the GLFW it requires) into a per-user cache when the system has
# no raylib >= 5.5. Idempotent: a second run only checks and returns.
#   setup-deps.sh       the desktop build
#   setup-deps.sh web   the web build: Emscripten, node, Chromium, and raylib
#                       built for the web from the same pinned source
#
# Prints the raylib prefix to use on its last line of stdout ("system" when an
# installed raylib is good enough).
set -euo pipefail

RAYLIB_VERSION=6.0
GLFW_VERSION=3.4
# The exact Debian source packages the game is built and tested with. Debian's
# suites move on; these files stay in its pool for as long as any suite or
# snapshot refers to them, and the checksums make any other file an error.
RAYLIB_DEB_VERSION=6.0+ds-2
RAYLIB_TARBALL=raylib_6.0+ds.orig.tar.gz
RAYLIB_SHA256=48063be6305afd417a7f44fc588b2f266354cb30c0073ba8fb503d5a0429688e
RAYLIB_POOL=pool/main/r/raylib
GLFW_DEB_VERSION=3.4-3
GLFW_TARBALL=glfw3_3.4.orig.tar.gz
GLFW_SHA256=c038d34200234d071fae9345bc455e4a8f2f544ab60150765d7704e08f3dac01
GLFW_POOL=pool/main/g/glfw3

MODE="${1:-desktop}"
case "$MODE" in desktop|web) ;; *) echo "usage: $0 [web]" >&2; exit 2 ;; esac

CACHE_ROOT="${CINDERVALE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cindervale}"
PREFIX="$CACHE_ROOT/raylib-$RAYLIB_VERSION-glfw-$GLFW_VERSION"
WEB_PREFIX="$CACHE_ROOT/raylib-$RAYLIB_VERSION-web"
SOURCES_DIR="$CACHE_ROOT/sources"
REPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"

log() { echo "[setup] $*" >&2; }
die() { echo "[setup] error: $*" >&2; exit 1; }

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; fi
fi

# Debian packages the build, the tests and the raylib build need.
PACKAGES=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev
  libxext-dev libgl-dev libxkbcommon-dev libasound2-dev libgl1-mesa-dri libglx-mesa0
  xvfb xdotool x11-apps python3 python3-xlib sox
)
# The web build and its tests: the compiler, and a real browser driven from node.
WEB_PACKAGES=(emscripten binaryen chromium chromium-driver)
if [ "$MODE" = web ]; then
  PACKAGES+=("${WEB_PACKAGES[@]}")
  # A node from outside Debian (with its npm) is kept; otherwise Debian's.
  command -v node >/dev/null 2>&1 || PACKAGES+=(nodejs)
  command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)
fi

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  command -v apt-get >/dev/null 2>&1 || die "apt-get not found; install these packages by hand: $missing"
  if [ "$(id -u)" -ne 0 ] && [ -z "$SUDO" ]; then
    die "not root and no sudo; install these packages by hand: $missing"
  fi
  log "installing: $(echo $missing | tr '\n' ' ')"
  $SUDO apt-get update -qq >&2 || log "apt-get update failed; trying with the current lists"
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >&2 \
    || die "apt-get install failed for: $missing"
}

system_raylib_ok() {
  pkg-config --exists 'raylib >= 5.5' 2>/dev/null && return 0
  local h
  for h in /usr/include/raylib.h /usr/local/include/raylib.h; do
    if [ -f "$h" ]; then
      local maj min
      maj=$(sed -n 's/^#define RAYLIB_VERSION_MAJOR \([0-9]*\).*/\1/p' "$h")
      min=$(sed -n 's/^#define RAYLIB_VERSION_MINOR \([0-9]*\).*/\1/p' "$h")
      if [ -n "$maj" ] && { [ "$maj" -gt 5 ] || { [ "$maj" -eq 5 ] && [ "${min:-0}" -ge 5 ]; }; }; then
        return 0
      fi
    fi
  done
  return 1
}

# The machine's own Debian mirror, read from its apt configuration.
debian_mirror() {
  local uri=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1=="deb" && $0 !~ /security/ {for(i=2;i<=NF;i++) if ($i ~ /^(https?|ftp|file):/) {print $i; exit}}' /etc/apt/sources.list)
  fi
  if [ -z "$uri" ]; then
    uri=$(grep -rhoE '^URIs:[[:space:]]*[^[:space:]]+' /etc/apt/sources.list.d/ 2>/dev/null | grep -v security | head -1 | awk '{print $2}')
  fi
  [ -n "$uri" ] || die "could not find a Debian mirror in the apt configuration"
  echo "${uri%/}"
}

sha256_of() { sha256sum "$1" | awk '{print $1}'; }

# Puts one pinned source tarball into the cache, fetched from the pool of the
# machine's own Debian mirror, and checks it. Arguments: what, Debian version,
# file, sha256, pool directory.
fetch_pinned() {
  local what=$1 version=$2 file=$3 sum=$4 pool=$5
  local dest="$SOURCES_DIR/$file"
  if [ -f "$dest" ] && [ "$(sha256_of "$dest")" = "$sum" ]; then return 0; fi
  mkdir -p "$SOURCES_DIR"
  local mirror url part="$dest.part"
  mirror=$(debian_mirror)
  url="$mirror/$pool/$file"
  log "fetching the $what source package $version ($file)"
  rm -f "$part" "$part.FAILED"
  if ! /usr/lib/apt/apt-helper download-file "$url" "$part" "SHA256:$sum" >&2 2> >(grep -v 'unsandboxed' >&2); then
    rm -f "$part" "$part.FAILED"
    die "the $what source package $version ($file, sha256 $sum) could not be had from $url.
  The build is pinned to that exact version. If the mirror no longer carries it,
  put a copy with that checksum at $dest and run this again."
  fi
  [ "$(sha256_of "$part")" = "$sum" ] || { rm -f "$part"; die "$file does not have the pinned sha256 $sum (version $version)"; }
  mv "$part" "$dest"
}

fetch_sources() {
  fetch_pinned GLFW "$GLFW_DEB_VERSION" "$GLFW_TARBALL" "$GLFW_SHA256" "$GLFW_POOL"
  fetch_pinned raylib "$RAYLIB_DEB_VERSION" "$RAYLIB_TARBALL" "$RAYLIB_SHA256" "$RAYLIB_POOL"
}

build_deps() {
  WORK_DIR=""
  WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/cindervale-deps.XXXXXX")
  local work=$WORK_DIR
  trap 'rm -rf "$WORK_DIR"' EXIT
  fetch_sources
  local glfw_tar="$SOURCES_DIR/$GLFW_TARBALL" raylib_tar="$SOURCES_DIR/$RAYLIB_TARBALL"
  mkdir -p "$work/glfw-src" "$work/raylib-src"
  tar -xf "$glfw_tar" -C "$work/glfw-src" --strip-components=1
  tar -xf "$raylib_tar" -C "$work/raylib-src" --strip-components=1

  # Installed straight into the final prefix (pkg-config files record it);
  # the .complete marker is written last, so an interrupted build is redone.
  local stage="$PREFIX"
  rm -rf "$stage"
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)

  log "building GLFW $GLFW_VERSION (static, X11)"
  cmake -S "$work/glfw-src" -B "$work/glfw-build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    -DBUILD_SHARED_LIBS=OFF -DGLFW_BUILD_WAYLAND=OFF -DGLFW_BUILD_X11=ON \
    -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF >&2
  cmake --build "$work/glfw-build" -j "$jobs" >&2
  cmake --install "$work/glfw-build" >&2

  log "building raylib $RAYLIB_VERSION (static, external GLFW)"
  cmake -S "$work/raylib-src" -B "$work/raylib-build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_PREFIX_PATH="$stage" \
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DBUILD_SHARED_LIBS=OFF \
    -DUSE_EXTERNAL_GLFW=ON -DPLATFORM=Desktop -DBUILD_EXAMPLES=OFF >&2
  cmake --build "$work/raylib-build" -j "$jobs" >&2
  cmake --install "$work/raylib-build" >&2

  [ -f "$stage/include/raylib.h" ] || die "raylib build finished without raylib.h"
  echo "raylib $RAYLIB_DEB_VERSION, glfw3 $GLFW_DEB_VERSION" >"$PREFIX/.complete"
}

# raylib for the browser, from the same pinned source, with Emscripten's own
# GLFW emulation in place of GLFW.
build_web_raylib() {
  WORK_DIR=""
  WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/cindervale-web-deps.XXXXXX")
  local work=$WORK_DIR
  trap 'rm -rf "$WORK_DIR"' EXIT
  fetch_pinned raylib "$RAYLIB_DEB_VERSION" "$RAYLIB_TARBALL" "$RAYLIB_SHA256" "$RAYLIB_POOL"
  mkdir -p "$work/raylib-src"
  tar -xf "$SOURCES_DIR/$RAYLIB_TARBALL" -C "$work/raylib-src" --strip-components=1
  rm -rf "$WEB_PREFIX"
  log "building raylib $RAYLIB_VERSION for the web (Emscripten $(emcc --version | head -1 | awk '{print $NF}'))"
  emcmake cmake -S "$work/raylib-src" -B "$work/raylib-web" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$WEB_PREFIX" -DPLATFORM=Web -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_EXAMPLES=OFF -DCMAKE_C_FLAGS="-ffp-contract=off -include $REPO_ROOT/web/glfw_compat.h" >&2
  cmake --build "$work/raylib-web" -j "$(nproc 2>/dev/null || echo 2)" >&2
  cmake --install "$work/raylib-web" >&2
  [ -f "$WEB_PREFIX/include/raylib.h" ] && [ -f "$WEB_PREFIX/lib/libraylib.a" ] \
    || die "the web raylib build finished without raylib.h or libraylib.a"
  echo "raylib $RAYLIB_DEB_VERSION" >"$WEB_PREFIX/.complete"
}

install_packages
if [ "$MODE" = web ]; then
  # Debian's emscripten finds its acorn only through Debian's node path when
  # the node in use comes from elsewhere.
  export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
  if [ ! -f "$WEB_PREFIX/.complete" ]; then
    mkdir -p "$CACHE_ROOT"
    build_web_raylib
  fi
  echo "$WEB_PREFIX"
  exit 0
fi
if [ "${CINDERVALE_FORCE_LOCAL_RAYLIB:-0}" != "1" ] && system_raylib_ok; then
  log "using the system raylib"
  echo system
  exit 0
fi
if [ ! -f "$PREFIX/.complete" ]; then
  mkdir -p "$CACHE_ROOT"
  build_deps
fi
echo "$PREFIX"
