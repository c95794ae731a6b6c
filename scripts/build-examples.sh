#!/usr/bin/env bash
# Rebuilds the example programs under examples/ and the peer benchmark
# programs under bench/peer/ and bench/peer2/ from their sources: as31 for the assembler
# programs (each also gets a listing with a typed symbol table, for
# tessaly-run --labels), SDCC for the C program (with its symbol files). Installs the Debian
# packages as31 and sdcc when they are missing; quiet when all is present.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

need=()
command -v as31 >/dev/null 2>&1 || need+=(as31)
command -v sdcc >/dev/null 2>&1 || need+=(sdcc)
if [ ${#need[@]} -ne 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# assemble DIR NAME [listing]: DIR/NAME.asm -> DIR/NAME.hex (and DIR/NAME.lst)
assemble() {
  local dir="$root/$1" name="$2" listing="${3:-}"
  rm -rf "$work/$name" && mkdir -p "$work/$name"
  cp "$dir/$name.asm" "$work/$name/"
  if ! (cd "$work/$name" && as31 -l -Fhex "$name.asm" >as31.log 2>&1); then
    cat "$work/$name/as31.log" >&2
    echo "build-examples: as31 failed on $1/$name.asm" >&2
    exit 1
  fi
  cp "$work/$name/$name.hex" "$dir/$name.hex"
  if [ -n "$listing" ]; then
    python3 "$root/examples/tools/as31-listing.py" "$work/$name/$name.lst" "$dir/$name.lst"
  fi
}

assemble examples/hello hello listing
assemble examples/timer-counter timer-counter listing
assemble examples/xram-tables xram-tables listing
assemble bench/peer peer
assemble bench/peer2 peripherals

# The C example: SDCC leaves many intermediate files, so it builds aside.
# --debug writes the debug file (.cdb) and -Wl-j the NoICE file (.noi); the
# linker map (.map) and the relocated listing (.rst) come always. Tessaly
# reads its labels from any of them.
mkdir -p "$work/c-printf"
cp "$root/examples/c-printf/c-printf.c" "$work/c-printf/"
if ! (cd "$work/c-printf" && sdcc -mmcs51 --debug -Wl-j c-printf.c >sdcc.log 2>&1); then
  cat "$work/c-printf/sdcc.log" >&2
  echo "build-examples: sdcc failed on examples/c-printf/c-printf.c" >&2
  exit 1
fi
# The map lists the libraries linked with their installed paths; keep only
# their names.
sed -i -E 's#^/[^[:space:]]*/([^/[:space:]]+\.lib)#\1#' "$work/c-printf/c-printf.map"
for kind in ihx map noi cdb rst; do
  cp "$work/c-printf/c-printf.$kind" "$root/examples/c-printf/c-printf.$kind"
done

# The C debugging example, in the small model and in the large one with
# every local on the stack (--stack-auto); the maps name _bp, the frame
# pointer of reentrant code.
mkdir -p "$work/c-debug"
cp "$root/examples/c-debug/c-debug.c" "$work/c-debug/"
if ! (cd "$work/c-debug" && sdcc -mmcs51 --debug c-debug.c >sdcc.log 2>&1 &&
      sdcc -mmcs51 --debug --model-large --stack-auto -o c-debug-large.ihx c-debug.c >>sdcc.log 2>&1); then
  cat "$work/c-debug/sdcc.log" >&2
  echo "build-examples: sdcc failed on examples/c-debug/c-debug.c" >&2
  exit 1
fi
for name in c-debug c-debug-large; do
  sed -i -E 's#^/[^[:space:]]*/([^/[:space:]]+\.lib)#\1#' "$work/c-debug/$name.map"
  for kind in ihx map cdb; do
    cp "$work/c-debug/$name.$kind" "$root/examples/c-debug/$name.$kind"
  done
done

# The C data example: a struct local holding an array of structs, and nodes
# linked through pointers, to open up in the Locals and watch windows.
mkdir -p "$work/c-structs"
cp "$root/examples/c-structs/c-structs.c" "$work/c-structs/"
if ! (cd "$work/c-structs" && sdcc -mmcs51 --debug c-structs.c >sdcc.log 2>&1); then
  cat "$work/c-structs/sdcc.log" >&2
  echo "build-examples: sdcc failed on examples/c-structs/c-structs.c" >&2
  exit 1
fi
sed -i -E 's#^/[^[:space:]]*/([^/[:space:]]+\.lib)#\1#' "$work/c-structs/c-structs.map"
for kind in ihx map cdb; do
  cp "$work/c-structs/c-structs.$kind" "$root/examples/c-structs/c-structs.$kind"
done
