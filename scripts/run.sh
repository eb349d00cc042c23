#!/usr/bin/env bash
# Builds the program and starts it on the demo installation in ./demo-data
# (built on first start, reused afterwards).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
scripts/install-deps.sh
scripts/build.sh
BUILD="$ROOT/${BUILD_DIR:-build}"
DATA=${ORVAK_DEMO_DIR:-$ROOT/demo-data}
if [ ! -f "$DATA/SERVER.INI" ]; then
  "$BUILD/src/cli/orvakctl" demo --data "$DATA"
fi
cd "$DATA"
exec "$BUILD/src/app/orvak" "$@"
