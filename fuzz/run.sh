#!/usr/bin/env bash
# Runs the libFuzzer targets (built by the fuzz preset) from their seed corpora, one after another.
#
#   fuzz/run.sh SECONDS [--merge] [TARGET...]      (default: every target in build/fuzz/fuzz)
#
# Each target works in a scratch copy of fuzz/corpus/<target>, with the extra read-only seeds and the
# input-length cap listed below. A crash, leak, timeout or undefined behaviour stops the target, keeps
# the input that caused it in fuzz/findings/ and makes the script fail. With --merge, the inputs the
# run found that add coverage are merged (libFuzzer's -merge=1, which keeps a minimal covering set)
# back into fuzz/corpus/<target>. For every target it prints the executions and the rate.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz/fuzz"
seconds=${1:?usage: fuzz/run.sh SECONDS [--merge] [TARGET...]}
shift
merge=0
if [ "${1:-}" = --merge ]; then
  merge=1
  shift
fi
targets=("$@")
if ((${#targets[@]} == 0)); then
  for bin in "$build"/*_fuzz; do targets+=("$(basename "$bin")"); done
fi

# Per target: the longest input it is given (so that one huge seed cannot take a run's time) and the
# seeds read from elsewhere in the repository.
options() {
  case "$1" in
    decode_fuzz)
      echo "-max_len=16384 $root/tests/data/json-test-suite/test_parsing $root/examples" ;;
    pipeline_fuzz) echo "-max_len=4096 $root/examples" ;;
    *) echo "-max_len=256" ;;
  esac
}

# Font and GLib caches live as long as the process: not leaks of ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$root/fuzz/findings"
status=0
for name in "${targets[@]}"; do
  bin="$build/$name"
  corpus="$root/fuzz/corpus/$name"
  [ -x "$bin" ] || { echo "fuzz: missing target $name (build the fuzz preset)" >&2; exit 1; }
  [ -d "$corpus" ] || { echo "fuzz: no seed corpus fuzz/corpus/$name" >&2; exit 1; }
  work=$(mktemp -d)
  cp -r "$corpus"/. "$work"/
  read -r -a extra <<<"$(options "$name")"
  flags=()
  seeds=()
  for o in "${extra[@]}"; do
    if [[ "$o" == -* ]]; then flags+=("$o"); else seeds+=("$o"); fi
  done
  echo "-- $name (${seconds} s)"
  if "$bin" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$root/fuzz/findings/$name-" "${flags[@]}" "$work" "${seeds[@]}" >"$work.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work.log" | tail -n 1)
    echo "   ${runs:-?} executions, $((${runs:-0} / seconds)) per second, corpus $(ls "$work" | wc -l) inputs"
    if ((merge)); then
      merged=$(mktemp -d)
      "$bin" -merge=1 "${flags[@]}" "$merged" "$corpus" "$work" >"$work.merge.log" 2>&1
      rm -rf "$corpus" && mkdir -p "$corpus" && cp "$merged"/* "$corpus"/
      echo "   merged: fuzz/corpus/$name holds $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KB"
      rm -rf "$merged"
    fi
  else
    status=1
    echo "   FAILED; the last lines of its log ($work.log):"
    grep -E "ERROR|SUMMARY|runtime error|Test unit written|deadly signal|timeout" "$work.log" | head -n 8 | sed 's/^/   /'
  fi
  rm -rf "$work"
done
exit "$status"
