#!/usr/bin/env bash
# A bounded soak of `watch`: feed churn against the real clock, then a simulated week compared with
# `tree --at`. Prints its counts and ends with status 1 when anything went wrong.
#
#   bench/soak.sh [BUILD_DIR] [CHANGES]     (default build/release, 200 changes: about two minutes)
#
# Churn: the feed is renamed into place, rewritten in place, truncated, deleted, made a link (to a
# feed, to nothing, to itself), a FIFO or a folder, and its folder is deleted and made again.
# After every tenth change the state that `check` reads from the file must be the state of the
# last line `watch` printed within 3 s. File descriptors and resident memory are compared at the
# start and the end.
# Week: `watch --speed max` over a simulated week; at sampled entry dates, every text of the face
# that `tree --at` prints must appear, in order, in the line `watch` printed for that date.
# Clock: `watch` runs under libfaketime, whose wall clock (only: a set leaves the monotonic clock as
# it is) is moved 3 h ahead and then a day back while the kernel is told of a set of the clock (the
# machine's clock stays as it was; needs CAP_SYS_TIME): the face must follow each within 2 s.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}
changes=${2:-200}
bin="$build/src/cli/ostrel-widgets"
[[ -x $bin ]] || { echo "soak: $bin is not built" >&2; exit 1; }
command -v jq >/dev/null || { echo "soak: jq is not installed (scripts/install-deps.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-soak.XXXXXX")
pid=""
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
opts=(--tz Australia/Sydney --locale en_AU)
folder="$work/app/widgets"
feed="$folder/widget.json"
mkdir -p "$folder"
cp "$root/examples/widget.json" "$work/on.json"
sed 's/"enabled": true/"enabled": false/' "$work/on.json" >"$work/off.json"
head -c 700 "$work/on.json" >"$work/half.json"
cp "$work/on.json" "$feed"

"$bin" watch --format json --widget NextUp:systemSmall --feed "$feed" "${opts[@]}" >"$work/out" &
pid=$!
sleep 1
fds_before=$(ls "/proc/$pid/fd" | wc -l)
rss_before=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$pid/status")

pick() { local a=("$@"); echo "${a[RANDOM % ${#a[@]}]}"; }
clear_feed() { rm -rf "$feed"; }
change() {
  case $1 in
    rename) cp "$(pick "$work/on.json" "$work/off.json" "$work/half.json")" "$folder/.tmp" && mv -f "$folder/.tmp" "$feed" ;;
    inplace) [[ -f $feed && ! -L $feed ]] || clear_feed; cat "$(pick "$work/on.json" "$work/off.json")" >"$feed" ;;
    truncate) [[ -f $feed && ! -L $feed ]] && : >"$feed" ;;
    delete) clear_feed ;;
    link) clear_feed; ln -s "$(pick "$work/on.json" "$work/off.json" "$work/nothing.json")" "$feed" ;;
    loop) clear_feed; ln -s "$feed" "$feed" ;;
    fifo) clear_feed; mkfifo "$feed" ;;
    folder) clear_feed; mkdir "$feed" ;;
    refolder) rm -rf "$folder"; sleep 0.$((RANDOM % 7)); mkdir -p "$folder"; cp "$(pick "$work/on.json" "$work/off.json")" "$feed" ;;
  esac
}

kinds=(rename inplace truncate delete link loop fifo folder refolder)
declare -A done_by_kind
checks=0 mismatches=0
for ((i = 1; i <= changes; i++)); do
  k=$(pick "${kinds[@]}")
  change "$k" 2>/dev/null
  done_by_kind[$k]=$((${done_by_kind[$k]:-0} + 1))
  sleep 0.0$((RANDOM % 10))
  if ((i % 10 == 0)); then
    want=$("$bin" check "$feed" 2>/dev/null | head -1 | cut -d' ' -f1)
    got=""
    for _ in $(seq 30); do
      got=$(tail -1 "$work/out" | jq -r .loaded 2>/dev/null)
      [[ $got == "$want" ]] && break
      sleep 0.1
    done
    checks=$((checks + 1))
    [[ $got == "$want" ]] || { mismatches=$((mismatches + 1)); echo "after change $i ($k): watch shows $got, the file is $want"; }
  fi
done
alive=1
kill -0 "$pid" 2>/dev/null || alive=0
fds_after=$( ((alive)) && ls "/proc/$pid/fd" | wc -l || echo 0)
rss_after=$( ((alive)) && awk '$1 == "VmRSS:" { print $2 }' "/proc/$pid/status" || echo 0)
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""
echo "churn: $changes changes ($(for k in "${kinds[@]}"; do printf '%s %s, ' "$k" "${done_by_kind[$k]:-0}"; done | sed 's/, $//'))"
echo "churn: $checks checks, $mismatches mismatches; still running: $alive; descriptors $fds_before -> $fds_after;" \
  "resident $rss_before -> $rss_after KiB"

# The simulated week.
start=2026-03-02T00:00:00Z
"$bin" watch --format json --widget NextUp:systemMedium --feed "$work/on.json" "${opts[@]}" --now "$start" \
  --speed max --until 2026-03-09T00:00:00Z >"$work/week" || { echo "soak: the simulated week failed" >&2; exit 1; }
lines=$(wc -l <"$work/week")
samples=0 week_mismatches=0
step=$(((lines + 39) / 40))
for ((n = 1; n <= lines; n += step)); do
  line=$(sed -n "${n}p" "$work/week")
  at=$(jq -r .at <<<"$line")
  label=$(jq -r .label <<<"$line" | tr '[:upper:]' '[:lower:]')
  rest=$label ok=1
  while IFS= read -r text; do
    text=${text,,}
    [[ $rest == *"$text"* ]] || { ok=0; break; }
    rest=${rest#*"$text"}
  done < <("$bin" tree --json --kind NextUp --family systemMedium --feed "$work/on.json" "${opts[@]}" --at "$at" |
    jq -r '.. | objects | select(.type == "Text") | .text')
  samples=$((samples + 1))
  ((ok)) || { week_mismatches=$((week_mismatches + 1)); echo "at $at: watch said \"$label\", tree has \"$text\" after that"; }
done
echo "week: $lines faces, $samples sampled, $week_mismatches mismatches with tree --at"

# The clock set.
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
signal="$build/tests/engine/clock_set_signal"
clock_ok=1
if [[ -n $faketime_lib && -x $signal ]] && "$signal"; then
  start=$(date -u -d '+2 hours' +%Y-%m-%dT%H:%M:00Z) end=$(date -u -d '+2 hours 50 minutes' +%Y-%m-%dT%H:%M:00Z)
  printf '{"v":1,"enabled":true,"at":"%s","classes":[{"unit":"COMP2123","title":"Tutorial","start":"%s","end":"%s"}]}\n' \
    "$(date -u +%Y-%m-%dT%H:%M:%SZ)" "$start" "$end" >"$work/soon.json"
  echo "+0" >"$work/offset"
  FAKETIME_TIMESTAMP_FILE="$work/offset" FAKETIME_NO_CACHE=1 DONT_FAKE_MONOTONIC=1 LD_PRELOAD="$faketime_lib" \
    "$bin" watch --format json --widget NextUp:systemSmall --feed "$work/soon.json" "${opts[@]}" >"$work/clock" &
  pid=$!
  sleep 1
  report=""
  for offset in +3h -1d; do
    faces=$(wc -l <"$work/clock")
    echo "$offset" >"$work/offset"
    t0=$(date +%s%N)
    "$signal"
    for _ in $(seq 100); do (($(wc -l <"$work/clock") > faces)) && break; sleep 0.02; done
    ms=$((($(date +%s%N) - t0) / 1000000))
    report+=" $offset followed after $ms ms;"
    ((ms <= 2000)) || clock_ok=0
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
  echo "clock:${report%;}"
else
  echo "clock: not run (needs libfaketime and CAP_SYS_TIME to signal a set of the clock)"
fi

((alive && mismatches == 0 && week_mismatches == 0 && clock_ok && fds_after == fds_before))
