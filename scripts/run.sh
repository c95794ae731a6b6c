#!/usr/bin/env bash
# Installs the dependencies, builds Tessaly and starts the desktop program
# with the "hello" example open. Without a display it says so and runs the
# example in the headless runner instead, printing what the program sends
# over its serial port.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs" --target tessaly tessaly-run >/dev/null

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/ui/tessaly examples/hello/hello.hex
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): running hello in tessaly-run instead." >&2
exec build/src/cli/tessaly-run --crystal 11.0592M --stop-on-self-loop --serial-out - examples/hello/hello.hex
