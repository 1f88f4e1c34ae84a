#!/usr/bin/env bash
# Resident memory of `watch` before and after a 50 MB feed: the big feed is renamed into place,
# shown, and replaced by the small one again; the resident memory after must come back within 20 %
# of its level before.
#
#   bench/feed_memory.sh [BUILD_DIR]     (default build/release; exits 1 when the goal is missed)
#
# Prints the three levels and one line for bench/report.sh:
#   RATIO feed_memory_after_vs_before <value> <=1.2
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}
bin="$build/src/cli/ostrel-widgets"
[[ -x $bin ]] || { echo "feed_memory: $bin is not built" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-feed-memory.XXXXXX")
pid=""
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# The big feed: about 50 MB of classes, a year ahead (so the faces stay small).
awk 'BEGIN {
  printf "{\"v\":1,\"enabled\":true,\"at\":\"2026-03-02T09:00:00Z\",\"classes\":[";
  for (i = 0; i < 320000; i++) {
    printf "%s{\"unit\":\"UNIT%04d\",\"title\":\"Lecture %d with a title of some length\",", (i ? "," : ""), i % 10000, i;
    printf "\"where\":\"Building %d, room %d\",\"start\":\"2027-03-02T10:00:00Z\",\"end\":\"2027-03-02T11:00:00Z\"}", i % 500, i;
  }
  printf "]}\n";
}' >"$work/big.json"
cp "$root/examples/widget.json" "$work/small.json"
cp "$work/small.json" "$work/widget.json"

kib() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$pid/status"; }
lines() { wc -l <"$work/out" 2>/dev/null || echo 0; }
# Waits (at most 120 s) until the output has more than $1 lines, then a moment for the rest.
await() {
  for _ in $(seq 1200); do
    (($(lines) > $1)) && { sleep 1; return 0; }
    sleep 0.1
  done
  echo "feed_memory: no new face within 120 s" >&2
  exit 1
}

"$bin" watch --format json --widget NextUp:systemSmall --feed "$work/widget.json" --tz UTC --locale en_US \
  >"$work/out" &
pid=$!
await 0
before=$(kib VmRSS) before_anon=$(kib RssAnon)
cp "$work/big.json" "$work/next.json" && mv "$work/next.json" "$work/widget.json"
await 1
big=$(kib VmHWM)
cp "$work/small.json" "$work/next.json" && mv "$work/next.json" "$work/widget.json"
await 2
after=$(kib VmRSS) after_anon=$(kib RssAnon)

echo "feed $(($(stat -c %s "$work/big.json") / 1048576)) MB: resident before ${before} KiB, peak ${big} KiB, after ${after} KiB"
echo "of which the heap and other anonymous memory: before ${before_anon} KiB, after ${after_anon} KiB (the rest is" \
  "program code read from disk, shared and reclaimable)"
ratio=$(awk -v a="$after" -v b="$before" 'BEGIN { printf "%.2f", a / b }')
echo "RATIO feed_memory_after_vs_before $ratio <=1.2 # resident memory after a 50 MB feed / before it"
echo "RATIO feed_heap_after_vs_before $(awk -v a="$after_anon" -v b="$before_anon" 'BEGIN { printf "%.2f", a / b }') -"
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.2) }'
