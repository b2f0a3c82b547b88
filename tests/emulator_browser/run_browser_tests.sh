#!/usr/bin/env bash
# Runs the emulator's browser tests: run_browser_tests.sh LUMENO HOSTILE_PLUGINS_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ ! -x /usr/bin/chromium ]; then
  echo "chromium is not installed (scripts/install-deps installs it): skipping"
  exit 77
fi
[ -d "$here/node_modules" ] || (cd "$here" && npm ci --no-audit --no-fund)
export LUMENO_BIN="$1" HOSTILE_PLUGINS="$2"
exec node --test --test-concurrency=1 "$here/emulator.test.mjs"
