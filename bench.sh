#!/usr/bin/env bash
# Builds and runs the world simulation benchmarks, or with `frame` as the
# first argument the frame-composition benchmark (under Xvfb with Mesa's
# software OpenGL when no display is set). Further arguments go to the
# benchmark, e.g. --benchmark_filter=Cells.
set -euo pipefail
cd "$(dirname "$0")"
export CINDERVALE_BUILD_DIR="${CINDERVALE_BUILD_DIR:-build-release}"
if [ "${1:-}" = frame ]; then
  shift
  CINDERVALE_BUILD_TYPE=Release ./scripts/configure.sh cindervale_frame_bench
  bench="$CINDERVALE_BUILD_DIR/bench/cindervale_frame_bench"
  if [ -z "${DISPLAY:-}" ]; then
    exec env LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24 -nolisten tcp" "$bench" "$@"
  fi
  exec "$bench" "$@"
fi
CINDERVALE_BUILD_TYPE=Release ./scripts/configure.sh cindervale_bench
exec "$CINDERVALE_BUILD_DIR/bench/cindervale_bench" "$@"
