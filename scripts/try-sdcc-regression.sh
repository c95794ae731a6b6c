#!/usr/bin/env bash
# Builds SDCC's own mcs51 regression tests with --debug and loads each
# program with its .cdb in tessaly-run, to see how the .cdb reader fares on
# programs nobody here wrote.
#
#   try-sdcc-regression.sh SDCC_SOURCE OUTPUT_DIR TESSALY_RUN [MAX_BUILT]
#
# SDCC_SOURCE  an SDCC source checkout: the folder holding support/regression
#              (or its parent, when the checkout has an sdcc/ folder on top)
# OUTPUT_DIR   where the generated cases, objects, programs and logs go
# TESSALY_RUN  the runner binary; it is copied into OUTPUT_DIR first, so a
#              rebuild of its folder during the sweep does not disturb it
# MAX_BUILT    stop taking new tests once this many programs have built
#              (0 or absent: every test); the tests are taken spread over
#              the suite, every third by name first
#
# Each test is expanded by the suite's own generator (generate-cases.py),
# keeping the first value of every template parameter, and linked with the
# suite's framework (testfwk.c and the mcs51 port's support.c) as the
# regression Makefile does, compile and link each under `timeout 60`. Most
# tests use the small model; every fifth from the fourth on uses
# --model-large and every fifth from the fifth on --stack-auto. Each
# program that built is then loaded with
#   tessaly-run --labels PROG.cdb --max-instructions 1 --state - PROG.ihx
# Anything the runner writes on stderr counts as a message: the .cdb did not
# load cleanly. The summary at the end (also in OUTPUT_DIR/summary.txt)
# gives the counts, the distinct messages and the reasons builds failed.
set -euo pipefail

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: $0 SDCC_SOURCE OUTPUT_DIR TESSALY_RUN [MAX_BUILT]" >&2
  exit 2
fi
source_dir="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
runner_given="$3"
max_built="${4:-0}"
case "$max_built" in ''|*[!0-9]*) echo "MAX_BUILT must be a number" >&2; exit 2 ;; esac

regression=""
for candidate in "$source_dir/support/regression" "$source_dir/sdcc/support/regression"; do
  if [ -f "$candidate/generate-cases.py" ]; then regression="$candidate"; break; fi
done
if [ -z "$regression" ]; then
  echo "no support/regression/generate-cases.py under $source_dir" >&2
  exit 2
fi
for tool in sdcc python3 timeout nice; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed" >&2; exit 2; }
done

runner="$out/tessaly-run"
cp "$runner_given" "$runner"
help_text="$("$runner" --help)"
for option in --labels --max-instructions --state; do
  if ! grep -q -- "$option" <<<"$help_text"; then
    echo "the runner's --help does not list $option" >&2
    exit 2
  fi
done

started=$SECONDS
results="$out/results.tsv"   # test, variant, outcome, detail, file
: >"$results"
rm -rf "$out/cases" "$out/fwk" "$out/selfcheck"
mkdir -p "$out/cases" "$out/fwk"

# The suite's generator, keeping only the first value of each parameter.
cat >"$out/first-instance.py" <<'PYTHON'
import importlib.util, os, sys

regression, template, outdir = sys.argv[1:4]
sys.path.insert(0, regression)
sys.argv = ["generate-cases.py", template, outdir]
spec = importlib.util.spec_from_file_location("generate_cases", os.path.join(regression, "generate-cases.py"))
cases = importlib.util.module_from_spec(spec)
spec.loader.exec_module(cases)
generator = cases.InstanceGenerator(template)
generator.readfile()
generator.parse()
generator.replacements = {key: values[:1] for key, values in generator.replacements.items()}
if generator.writetemplate() == 0:
    sys.stderr.write("Empty function list in " + template + "!\n")
cases.createdir(outdir)
generator.permute(os.path.join(outdir, generator.basename), list(generator.replacements.keys()))
os.remove(generator.tmpname)
PYTHON

# As the suite's Makefile and the mcs51 port's spec.mk give them; the top
# of the source tree is on the include path for the tests that include
# library sources (device/lib/...).
top="$(cd "$regression/../.." && pwd)"
common_flags=(--debug --fverbose-asm -DNO_VARARGS --less-pedantic
              "-I$regression/fwk/include" "-I$regression/tests" "-I$top")
link_libraries=(mcs51.lib libsdcc.lib liblong.lib libint.lib libfloat.lib liblonglong.lib)
variant_flags() {
  case "$1" in
    small) echo "--model-small" ;;
    large) echo "--model-large" ;;
    stack-auto) echo "--model-small --stack-auto" ;;
  esac
}
variant_of() {  # index from 0
  case $(($1 % 5)) in
    3) echo large ;;
    4) echo stack-auto ;;
    *) echo small ;;
  esac
}

# The framework objects, once for each variant; fwk.lib lists the ones the
# linker takes only when a test needs them.
for variant in small large stack-auto; do
  dir="$out/fwk/$variant"
  mkdir -p "$dir"
  read -ra extra <<<"$(variant_flags "$variant")"
  flags=("${common_flags[@]}" "${extra[@]}")
  for source in "$regression/fwk/lib/testfwk.c" "$regression/ports/mcs51-common/support.c" \
                "$regression/ports/mcs51-common/T2_isr.c" "$regression/fwk/lib/statics.c" \
                "$regression/fwk/lib/extern1.c" "$regression/fwk/lib/extern2.c"; do
    name="$(basename "$source" .c)"
    if ! (cd "$dir" && timeout 60 nice -n 10 sdcc "${flags[@]}" -c "$source" -o "$name.rel") >"$dir/$name.log" 2>&1; then
      echo "the framework file $source does not compile for $variant:" >&2
      cat "$dir/$name.log" >&2
      exit 1
    fi
  done
  # The linker looks for a library's modules beside the library.
  printf '%s\n' T2_isr.rel statics.rel extern1.rel extern2.rel >"$dir/fwk.lib"
done

# One line for a build failure: the first error of the log, without the file
# and line in front, quoted names and numbers left out.
failure_reason() {
  local log="$1" line
  line="$(grep -m1 -E 'error|Error|ERROR|Undefined|Insufficient|Could not|[Cc]annot|Segmentation|Assertion|Aborted' "$log" || true)"
  [ -n "$line" ] || line="$(grep -m1 -v '^[[:space:]]*$' "$log" || true)"
  [ -n "$line" ] || line="(no output)"
  sed -E -e 's/^[^ :]*\.(c|h|rel|lib|ihx):[0-9]+(:[0-9]+)?: *//' -e "s/'[^']*'/'...'/g" -e 's/[0-9]+/N/g' <<<"$line" \
    | sed -E 's/error N:/error:/' | tr '\t' ' '
}

# The runner's message in a form that groups alike ones: the file name, line
# number and quoted record text left out.
message_kind() {
  sed -E -e 's/from [^ ]+\.cdb:/from PROG.cdb:/' -e 's/line [0-9]+:/line N:/' \
         -e "s/'[^']*'/'...'/g" <<<"$1" | tr '\t' ' '
}

record() { printf '%s\t%s\t%s\t%s\t%s\n' "$@" >>"$results"; }

# Loads one built program: any message on stderr means the .cdb did not load
# cleanly; an exit status other than 1 (stopped by the instruction limit)
# without a message is listed apart.
load_program() {  # dir base -> sets load_status and load_messages
  local dir="$1" base="$2" status=0
  timeout 60 "$runner" --labels "$dir/$base.cdb" --max-instructions 1 --state - "$dir/$base.ihx" \
    >"$dir/$base.state.json" 2>"$dir/$base.run.err" || status=$?
  load_status=$status
  # The runner may load the .cdb twice (beside the program and by --labels)
  # and then tells the same message twice.
  load_messages="$(awk '!seen[$0]++' "$dir/$base.run.err")"
}

# Proves that the sweep sees a damaged .cdb: a copy of the first program
# with one broken symbol record must draw a message.
self_check() {
  local dir="$1" base="$2"
  mkdir -p "$out/selfcheck"
  cp "$dir/$base.ihx" "$out/selfcheck/check.ihx"
  cp "$dir/$base.cdb" "$out/selfcheck/check.cdb"
  # shellcheck disable=SC2016
  echo 'S:G$broken$0_0$0,E,0,0' >>"$out/selfcheck/check.cdb"
  load_program "$out/selfcheck" check
  if [ -z "$load_messages" ]; then
    echo "the runner says nothing about a .cdb with a broken record ($out/selfcheck/check.cdb);" >&2
    echo "the sweep could not tell a clean load from a failed one" >&2
    exit 1
  fi
}

# Every third test by name, then the ones after them, then the rest: a run
# cut short by MAX_BUILT still samples the whole suite.
mapfile -t tests < <(find "$regression/tests" -maxdepth 1 -name '*.c' | LC_ALL=C sort |
                     awk '{line[NR] = $0} END {for (k = 1; k <= 3; k++) for (i = k; i <= NR; i += 3) print line[i]}')
skipped_m4="$(find "$regression/tests" -maxdepth 1 -name '*.m4' | wc -l)"
tried=0
built=0
checked=0
for test in "${tests[@]}"; do
  if [ "$max_built" -gt 0 ] && [ "$built" -ge "$max_built" ]; then break; fi
  name="$(basename "$test" .c)"
  variant="$(variant_of "$tried")"
  tried=$((tried + 1))
  dir="$out/cases/$name"
  mkdir -p "$dir"
  read -ra extra <<<"$(variant_flags "$variant")"
  flags=("${common_flags[@]}" "${extra[@]}")
  fwk="$out/fwk/$variant"

  if ! timeout 60 python3 "$out/first-instance.py" "$regression" "$test" "$dir/gen" >"$dir/gen.log" 2>&1; then
    record "$name" "$variant" generate-failed "$(failure_reason "$dir/gen.log")" "$dir/gen.log"
    continue
  fi
  mapfile -t instances < <(find "$dir/gen" -maxdepth 1 -name '*.c')
  if [ "${#instances[@]}" -ne 1 ]; then
    record "$name" "$variant" generate-failed "${#instances[@]} instances instead of 1" "$dir/gen"
    continue
  fi
  base="$(basename "${instances[0]}" .c)"

  status=0
  (cd "$dir" && timeout 60 nice -n 10 sdcc "${flags[@]}" -c "gen/$base.c" -o "$base.rel") >"$dir/compile.log" 2>&1 || status=$?
  if [ "$status" -eq 124 ]; then
    record "$name" "$variant" compile-timeout "timed out after 60 s" "$dir/compile.log"; continue
  elif [ "$status" -ne 0 ] || [ ! -f "$dir/$base.rel" ]; then
    record "$name" "$variant" compile-failed "$(failure_reason "$dir/compile.log")" "$dir/compile.log"; continue
  fi

  status=0
  (cd "$dir" && timeout 60 nice -n 10 sdcc "${flags[@]}" "${link_libraries[@]}" "$fwk/testfwk.rel" \
     "$fwk/support.rel" "$fwk/fwk.lib" "$base.rel" -o "$base.ihx") >"$dir/link.log" 2>&1 || status=$?
  if [ "$status" -eq 124 ]; then
    record "$name" "$variant" link-timeout "timed out after 60 s" "$dir/link.log"; continue
  elif [ "$status" -ne 0 ] || [ ! -s "$dir/$base.ihx" ]; then
    record "$name" "$variant" link-failed "$(failure_reason "$dir/link.log")" "$dir/link.log"; continue
  elif [ ! -s "$dir/$base.cdb" ]; then
    record "$name" "$variant" no-cdb "the link wrote no .cdb" "$dir/link.log"; continue
  fi
  built=$((built + 1))

  if [ "$checked" -eq 0 ]; then self_check "$dir" "$base"; checked=1; fi

  load_program "$dir" "$base"
  if [ -z "$load_messages" ] && [ "$load_status" -eq 1 ]; then
    record "$name" "$variant" clean "" "$dir/$base.cdb"
  elif [ -z "$load_messages" ]; then
    record "$name" "$variant" odd-status "the runner said nothing but its exit status was $load_status" "$dir/$base.cdb"
  else
    while IFS= read -r message; do
      record "$name" "$variant" message "$message" "$dir/$base.cdb"
    done <<<"$load_messages"
  fi
done

{
  echo "SDCC regression tests: $(sdcc --version 2>&1 | head -1 | sed -E 's/^SDCC : [^ ]+ //')"
  echo "tests tried:            $tried (of ${#tests[@]} C tests; $skipped_m4 m4 tests not taken)"
  echo "programs built:         $built"
  awk -F'\t' '$3 == "clean" || $3 == "odd-status" {n++} END {printf "loaded without message: %d\n", n}' "$results"
  awk -F'\t' '$3 == "message" {seen[$1] = 1} END {printf "loaded with a message:  %d\n", length(seen)}' "$results"
  echo
  echo "messages (count of programs, one example):"
  awk -F'\t' '$3 == "message" && !seen[$1 "\t" $4]++ {print $4 "\t" $5}' "$results" |
    while IFS=$'\t' read -r message file; do
      printf '%s\t%s\t%s\n' "$(message_kind "$message")" "$file" "$message"
    done |
    awk -F'\t' '{count[$1]++; if (!($1 in example)) {example[$1] = $2; full[$1] = $3}}
                END {for (k in count) printf "  %4d  %s\t        e.g. %s\t        %s\n", count[k], k, example[k], full[k]}' |
    sort -t$'\t' -k1,1nr | tr '\t' '\n'
  echo
  echo "silent loads whose exit status was not 1 (the instruction limit):"
  awk -F'\t' '$3 == "odd-status" {printf "  %s: %s\n", $5, $4}' "$results"
  echo
  echo "build failures (count, reason, one example):"
  awk -F'\t' '$3 != "clean" && $3 != "message" && $3 != "odd-status" {key = $3 ": " $4; count[key]++; if (!(key in example)) example[key] = $5}
              END {for (k in count) printf "  %4d  %s\t        e.g. %s\n", count[k], k, example[k]}' "$results" |
    sort -t$'\t' -k1,1nr | tr '\t' '\n'
  echo
  echo "elapsed: $((SECONDS - started)) s; per-test outcomes in $results"
} | tee "$out/summary.txt"
