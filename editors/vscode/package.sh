#!/usr/bin/env bash
# Packages the VS Code extension as tessaly-debug-VERSION.vsix in this
# folder, with @vscode/vsce from npm (installed here first).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
npm ci --no-audit --no-fund --loglevel=error >/dev/null
npx vsce package --skip-license --allow-missing-repository
