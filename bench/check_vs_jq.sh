#!/bin/sh
# Whole-process comparison on the stress feed: `ostrel-widgets check FILE` against `jq empty FILE`,
# side by side under hyperfine. Goal: check at least 15 times faster.
#
#   bench/check_vs_jq.sh [BUILD_DIR]     (default: build/release; build it with the release preset)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}
command="$build/src/cli/ostrel-widgets"
generator="$build/bench/decode_bench"
for tool in "$command" "$generator"; do
  [ -x "$tool" ] || { echo "check_vs_jq: $tool is missing; build the release preset first" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "check_vs_jq: hyperfine is not installed" >&2; exit 1; }
command -v jq >/dev/null || { echo "check_vs_jq: jq is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
feed="$work/stress.json"
"$generator" --write-stress "$feed"
echo "stress feed: $(wc -c <"$feed") bytes; check says: $("$command" check "$feed" | head -n 1)"

hyperfine --warmup 3 --min-runs 10 --export-json "$work/times.json" \
  --command-name "ostrel-widgets check" "'$command' check '$feed'" \
  --command-name "jq empty" "jq empty '$feed'"

jq -r '.results | (map(select(.command == "jq empty"))[0].mean) as $jq
  | map(select(.command == "ostrel-widgets check"))[0].mean as $check
  | "check \($check * 1000 | floor) ms, jq \($jq * 1000 | floor) ms: check is \($jq / $check * 10 | floor / 10)x faster (goal: 15x)",
    "RATIO check_vs_jq \($jq / $check * 100 | floor / 100) >=15 # check \($check * 1000 | floor) ms, jq empty \($jq * 1000 | floor) ms, means of whole processes"' \
  "$work/times.json"
