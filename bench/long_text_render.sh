#!/bin/sh
# Whole `render` processes of one face over the example feed and over the same feed with every text
# (units, titles, rooms, names, the week) 1 MB long, side by side under hyperfine (CPU time, user +
# system). The bigger file's own cost (`check` on it, less `check` on the ordinary one) is set aside:
#   (render long − (check long − check ordinary)) / render ordinary      goal: at most 2.
#
#   bench/long_text_render.sh [BUILD_DIR]     (default: build/release; build it with the release preset)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}
command="$build/src/cli/ostrel-widgets"
[ -x "$command" ] || { echo "long_text_render: $command is missing; build the release preset first" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "long_text_render: hyperfine is not installed" >&2; exit 1; }
command -v jq >/dev/null || { echo "long_text_render: jq is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ordinary="$root/examples/widget.json"
long="$work/long.json"
# 1 MB of words, so that lines can break.
yes 'Lorem ipsum dolor sit amet' | head -c 1048576 | tr '\n' ' ' >"$work/text"
jq --rawfile s "$work/text" '.week = $s | .classes |= map(.unit = $s | .title = $s | .where = $s)
  | .due |= map(.unit = $s | .name = $s)' "$ordinary" >"$long"
face="--kind ${KIND:-DueSoon} --family ${FAMILY:-systemLarge} --now 2026-03-02T08:15:30+11:00 --tz Australia/Sydney --locale en_AU"

hyperfine --warmup 2 --runs 10 --export-json "$work/times.json" \
  --command-name "render ordinary" "'$command' render $face --feed '$ordinary' -o '$work/o.png'" \
  --command-name "render long" "'$command' render $face --feed '$long' -o '$work/l.png'" \
  --command-name "check ordinary" "'$command' check '$ordinary'" \
  --command-name "check long" "'$command' check '$long'"

jq -r '.results | map({key: .command, value: (.user + .system)}) | from_entries
  | (.["render long"] - (.["check long"] - .["check ordinary"])) as $long | .["render ordinary"] as $ordinary
  | "RATIO long_text_render_vs_ordinary \($long / $ordinary * 100 | floor / 100) <=2 # render of a face with 1 MB texts \(.["render long"] * 1000 | floor) ms CPU less the bigger file'"'"'s check \((.["check long"] - .["check ordinary"]) * 1000 | floor) ms; ordinary \($ordinary * 1000 | floor) ms"' \
  "$work/times.json"
