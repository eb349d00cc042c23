#!/usr/bin/env bash
# Builds the program and starts it on the demo installation in ./demo-data.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
scripts/install-deps.sh
scripts/build.sh
BUILD="$ROOT/${BUILD_DIR:-build}"
DATA=${ORVAK_DEMO_DIR:-$ROOT/demo-data}
mkdir -p "$DATA"
cd "$DATA"
if [ ! -f SERVER.INI ] || [ ! -d DATA ]; then
  "$BUILD/src/cli/orvakctl" init --data DATA --password orvak-demo \
    --installation 275 --organisation "ذيحسابي اداره کل راه و شهرسازي استان نمونه"
  "$BUILD/src/cli/orvakctl" section 0 --yes >/dev/null
fi
exec "$BUILD/src/app/orvak" "$@"
