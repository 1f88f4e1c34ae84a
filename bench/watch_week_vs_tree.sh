#!/bin/sh
# A simulated week of `watch --format json --speed max` over the example feed, every widget in every
# family, against one-shot `tree` processes of one face, as whole processes (CPU time, user + system,
# under hyperfine). Goal: the week costs at most as much as 60 `tree` processes.
#
#   bench/watch_week_vs_tree.sh [BUILD_DIR]     (default: build/release; build it with the release preset)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}
command="$build/src/cli/ostrel-widgets"
[ -x "$command" ] || { echo "watch_week_vs_tree: $command is missing; build the release preset first" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "watch_week_vs_tree: hyperfine is not installed" >&2; exit 1; }
command -v jq >/dev/null || { echo "watch_week_vs_tree: jq is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
feed="$root/examples/widget.json"
host="--feed '$feed' --now 2026-03-02T08:15:30+11:00 --tz Australia/Sydney --locale en_AU"
week="'$command' watch --format json --speed max --until 2026-03-09T08:15:30+11:00 $host"
tree="'$command' tree --kind DueSoon --family systemLarge $host"
echo "lines in the week: $(sh -c "$week" | wc -l)"

hyperfine --warmup 3 --runs 20 --export-json "$work/tree.json" --command-name tree "$tree"
hyperfine --runs 1 --export-json "$work/week.json" --command-name week "$week >/dev/null"

jq -rs '(.[0].results[0] | .user + .system) as $tree | (.[1].results[0] | .user + .system) as $week
  | "RATIO watch_week_vs_tree \($week / $tree * 10 | floor / 10) <=60 # a simulated week of watch --format json, every face: \($week * 1000 | floor) ms CPU; one tree process \($tree * 1000 * 10 | floor / 10) ms CPU"' \
  "$work/tree.json" "$work/week.json"
