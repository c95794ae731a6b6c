#!/usr/bin/env bash
# Installs the dependencies, builds Tessaly and runs the "hello" example in
# the headless runner, printing what the program sends over its serial port.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs" --target tessaly-run >/dev/null

exec build/src/cli/tessaly-run --crystal 11.0592M --stop-on-self-loop --serial-out - examples/hello/hello.hex
