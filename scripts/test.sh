#!/usr/bin/env bash
# Installs the dependencies, builds Tessaly and runs every test: the normal
# build, then the library's tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer in a clang build that also gives the fuzz
# targets their smoke runs.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"

echo "== Release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== VS Code extension package"
# vsce needs Node.js 20 or later; Debian 12's own Node.js is 18.
if [ "$(node -p 'process.versions.node.split(".")[0]')" -ge 20 ]; then
  editors/vscode/package.sh >/dev/null
  rm -f editors/vscode/*.vsix
  echo "the extension packages"
else
  echo "skipped: packaging the extension needs Node.js 20 or later (this one is $(node --version))"
fi

echo "== Checking build: the library's tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets"
# One clang build serves both: the library is instrumented for the fuzzers'
# coverage and checked by the sanitizers, and the tests link it as they are.
CC=clang CXX=clang++ cmake -S . -B build-checked -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON \
  -DTESSALY_SANITIZE=ON -DTESSALY_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-checked -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-checked --output-on-failure -j "$jobs"

echo "== Fuzz targets (a short smoke run each)"
for fuzzer in build-checked/fuzz/*_fuzzer; do
  corpus="$(mktemp -d)"
  # The symbol-file readers start from a real file of their kind.
  case "$(basename "$fuzzer")" in
    sdcc_map_fuzzer) cp examples/c-printf/c-printf.map "$corpus/" ;;
    noice_file_fuzzer) cp examples/c-printf/c-printf.noi "$corpus/" ;;
    sdcc_debug_file_fuzzer | cdb_fuzzer) cp examples/c-printf/c-printf.cdb "$corpus/" ;;
    relocated_listing_fuzzer) cp examples/c-printf/c-printf.rst "$corpus/" ;;
    listing_layout1_fuzzer | as31_listing_fuzzer) cp examples/hello/hello.lst "$corpus/" ;;
    listing_lines_fuzzer) cp examples/hello/hello.lst examples/c-printf/c-printf.rst "$corpus/" ;;
    c_expression_fuzzer) printf 'head.next->next->tag' >"$corpus/chain"; printf '(*gp)' >"$corpus/deref"
                         printf 'X:1234H' >"$corpus/xdata"; printf 'PSW.7' >"$corpus/bit" ;;
    dap_request_fuzzer) cp fuzz/dap-corpus/* "$corpus/" ;;
    break_condition_fuzzer) printf 'list[2].value >= 0FFH' >"$corpus/condition"; printf '%%3' >"$corpus/hits"
                            printf 'X:1000H-10FFH' >"$corpus/range"; printf 'DPTR' >"$corpus/pair" ;;
  esac
  "$fuzzer" "$corpus" -max_total_time=10 -print_final_stats=0 >/dev/null 2>"$corpus.log" || {
    cat "$corpus.log"; echo "$(basename "$fuzzer") failed"; exit 1; }
  rm -rf "$corpus" "$corpus.log"
done
echo "fuzz smoke runs passed"
