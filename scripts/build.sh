#!/usr/bin/env bash
# Configures (once) and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# Clones in other folders (CI's fresh checkout) reuse the compiler cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
# Without these the cache refuses every file built with the precompiled Qt headers.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
