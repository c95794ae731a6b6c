#!/usr/bin/env bash
# Installs every Debian package Tessaly needs to build and test. Quiet and
# quick when everything is already present.
set -euo pipefail

packages=(
  build-essential
  cmake
  ninja-build
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  clang
  libclang-rt-14-dev
  qt6-base-dev
  qt6-svg-dev
  nlohmann-json3-dev
  fonts-dejavu-core
  xvfb
  xauth
  x11-utils
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

# Node.js and npm run the debug adapter's client tests and package the VS
# Code extension. A Node.js that brings its own npm is kept as it is.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)

if [ ${#missing[@]} -ne 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
  else
    SUDO=
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The debug adapter's test client (Microsoft's DebugClient) and mocha, as
# their lock file pins them.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ ! -f "$root/tests/dap/client/node_modules/mocha/bin/mocha.js" ] ||
   [ ! -d "$root/tests/dap/client/node_modules/@vscode/debugadapter-testsupport" ]; then
  (cd "$root/tests/dap/client" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
