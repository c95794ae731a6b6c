#!/usr/bin/env bash
# Runs the client tests against a built tessaly-dap:
#   tests/dap/client/run.sh BUILD/src/dap/tessaly-dap [SOURCE_DIR]
# Installs the test client and mocha from npm first when they are missing
# (scripts/install-deps.sh does that too).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
adapter="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
source_dir="${2:-$(cd "$here/../../.." && pwd)}"
cd "$here"
if [ ! -f node_modules/mocha/bin/mocha.js ] || [ ! -d node_modules/@vscode/debugadapter-testsupport ]; then
  npm ci --no-audit --no-fund --loglevel=error >/dev/null
fi
TESSALY_DAP="$adapter" TESSALY_SOURCE_DIR="$source_dir" exec node node_modules/mocha/bin/mocha.js \
  --timeout 20000 --reporter spec adapter.test.js
