#!/usr/bin/env bash
# Builds the program and starts it on the demo installation in ./demo-data.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
scripts/install-deps.sh
scripts/build.sh
DATA=${ORVAK_DEMO_DIR:-$ROOT/demo-data}
mkdir -p "$DATA"
cd "$DATA"
if [ ! -f site.ini ]; then
  cat > site.ini <<'INI'
[Site]
InstallationNumber=275
OrganisationName=ذيحسابي اداره کل راه و شهرسازي استان نمونه
INI
fi
exec "$ROOT/${BUILD_DIR:-build}/src/app/orvak" "$@"
