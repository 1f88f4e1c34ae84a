#!/usr/bin/env bash
# The desktop host (`ostrel-widgets host`, its two default widgets) on an Xvfb display of its own,
# side by side with Conky on the same display:
#
#   host_rss_vs_conky    peak resident memory of the host over a simulated day (--speed 1440: one
#                        real minute) / Conky's over that same minute, showing a comparable widget
#                        (two blocks of text: a clock and lines of the feed, Xft fonts, an ARGB
#                        desktop window, updated every second)
#   host_cpu_per_day_s   user + system CPU seconds of that simulated day, start-up included
#   host_wakes_vs_entry_dates  how often the host wakes (a burst of system calls on any of its
#                        threads after 50 ms or more of sleep, traced with strace) over two real
#                        minutes at real speed in the hour before a class, against the entry dates in
#                        those minutes (the timeline's, from `ostrel-widgets timeline`); the feed sits in
#                        a folder of its own, as an app's feed does, since the host watches the folders
#                        above it for the feed's coming and going
#   host_wakes_per_hour  those wakes, per hour
#   host_private_mb      the idle host's private memory (Private_Clean + Private_Dirty of smaps_rollup),
#                        beside an empty GTK 3 window's and Conky's, measured the same way
#   host_redraw_ms       from a rewrite of the feed (rename over it) to the window's first damage,
#                        median of ten (bench/host_redraw_probe.cpp)
#
# and, to tell the host's own memory from the toolkit's, on the same display (bench/toolkit_baseline.cpp):
#
#   toolkit_window_rss_vs_conky  peak resident memory of one empty GTK 3 window set up like the
#                                host's / Conky's
#   host_rss_vs_toolkit_text     the host's / that of a GTK 3 window drawing two lines in Inter
#                                through Pango and fontconfig
#
#   bench/desktop_host.sh [BUILD_DIR]     (default: build/release; build it with the release preset)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}
command="$build/src/cli/ostrel-widgets"
probe="$build/bench/host_redraw_probe"
baseline="$build/bench/toolkit_baseline"
for tool in "$command" "$probe" "$baseline"; do
  [ -x "$tool" ] || { echo "desktop_host: $tool is missing; build the release preset first" >&2; exit 1; }
done
for program in Xvfb conky /usr/bin/time strace jq; do
  command -v "$program" >/dev/null || { echo "desktop_host: $program is not installed" >&2; exit 1; }
done

# Under /var/tmp, not /tmp: the host watches the folders above its feed, and compilers and tests
# make and remove files in /tmp all the time.
work=$(mktemp -d /var/tmp/ostrel-bench.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -br -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n 1 "$work/display")"
export DISPLAY=$display
unset WAYLAND_DISPLAY

# A Monday: a lecture at 10:00, a tutorial at 13:00, a workshop at 16:00; three assessments due.
# The second version renames the lecture, so that a rewrite changes the Next up face.
version() {
  cat <<JSON
{"v": 1, "enabled": true, "at": "2026-03-02T08:00:00+11:00", "week": "Week 3 of 13", "cards": 12,
 "classes": [
  {"unit": "FINC3600", "title": "$1", "where": "ABS Lecture Theatre 1010",
   "start": "2026-03-02T10:00:00+11:00", "end": "2026-03-02T12:00:00+11:00"},
  {"unit": "COMP2017", "title": "Tutorial", "where": "SIT 115",
   "start": "2026-03-02T13:00:00+11:00", "end": "2026-03-02T14:00:00+11:00"},
  {"unit": "MKTG1001", "title": "Workshop", "where": "Abercrombie 2120",
   "start": "2026-03-02T16:00:00+11:00", "end": "2026-03-02T17:30:00+11:00"}],
 "due": [
  {"unit": "FINC3600", "name": "Oral presentation", "due": "2026-03-03T17:00:00+11:00", "weight": 20},
  {"unit": "COMP2017", "name": "Assignment 1", "due": "2026-03-05T23:59:00+11:00", "weight": 15},
  {"unit": "MKTG1001", "name": "Quiz 2", "due": "2026-03-02T18:00:00+11:00", "weight": 5}]}
JSON
}
mkdir "$work/feed"
version Lecture >"$work/a.json"
version Seminar >"$work/b.json"
cp "$work/a.json" "$work/feed/widget.json"
options=(--feed "$work/feed/widget.json" --tz Australia/Sydney --locale en_US --scheme light)
# Private memory in MB: what the process holds that no other process shares.
private_mb() {
  awk '/^Private_(Clean|Dirty):/ {kb += $2} END {printf "%.1f", kb / 1024}' /proc/"$1"/smaps_rollup
}

cat >"$work/conky.conf" <<CONF
conky.config = {
  out_to_x = true, out_to_console = false, background = false,
  own_window = true, own_window_type = 'desktop', own_window_argb_visual = true,
  own_window_hints = 'undecorated,below,sticky,skip_taskbar,skip_pager',
  double_buffer = true, use_xft = true, font = 'Inter:size=11',
  update_interval = 1, minimum_width = 364, minimum_height = 356, maximum_width = 364,
  alignment = 'top_left', gap_x = 24, gap_y = 24,
}
conky.text = [[
NEXT UP  \${time %H:%M}
\${head $work/feed/widget.json 4 1}
DUE SOON
\${head $work/feed/widget.json 9 1}
]]
CONF

echo "== a simulated day (one real minute) beside Conky on $display"
/usr/bin/time -f '%M %U %S' -o "$work/conky.time" conky -c "$work/conky.conf" >"$work/conky.log" 2>&1 &
conky_time=$!
pids+=("$conky_time")
/usr/bin/time -f '%M %U %S' -o "$work/host.time" "$command" host "${options[@]}" \
  --now 2026-03-02T00:00:00+11:00 --speed 1440 --until 2026-03-03T00:00:00+11:00 2>"$work/host.err" ||
  { echo "desktop_host: the host failed:"; cat "$work/host.err"; exit 1; } >&2
conky_pid=$(pgrep -P "$conky_time" conky || true)
conky_private=$(private_mb "$conky_pid" 2>/dev/null || echo 0)
pkill -TERM -P "$conky_time" conky || true
wait "$conky_time" || true
read -r host_kb host_user host_sys <"$work/host.time"
read -r conky_kb _ _ < <(grep -E '^[0-9]+ ' "$work/conky.time")
echo "host:  peak $((host_kb / 1024)) MB, CPU ${host_user}s user + ${host_sys}s system"
echo "conky: peak $((conky_kb / 1024)) MB"
for mode in window text; do
  /usr/bin/time -f '%M' -o "$work/$mode.time" "$baseline" "$mode" 10
done
window_kb=$(tail -n 1 "$work/window.time")
text_kb=$(tail -n 1 "$work/text.time")
echo "an empty GTK window: peak $((window_kb / 1024)) MB; one drawing text: $((text_kb / 1024)) MB"
"$baseline" window 6 &
window_pid=$!
sleep 4
window_private=$(private_mb "$window_pid")
wait "$window_pid" || true

echo "== two real minutes at real speed, then ten rewrites of the feed"
host_start=$(date +%s.%N)
"$command" host "${options[@]}" --now 2026-03-02T09:20:00+11:00 2>"$work/host2.err" &
host=$!
pids+=("$host")
# Past start-up: the accessibility bridge releases the objects it leased while the windows were made
# 16 s after it took them, once.
sleep 30
window_start=$(date +%s.%N)
timeout 120 strace -f -tt -p "$host" -o "$work/host.strace" 2>/dev/null || true
window_end=$(date +%s.%N)
host_private=$(private_mb "$host")
# A wake: a system call on any thread after 50 ms or more without one.
wakes=$(awk '{split($2, t, ":"); s = t[1] * 3600 + t[2] * 60 + t[3]; if (s - last > 0.05) n++; last = s}
             END {print n + 0}' "$work/host.strace")
# The entry dates in that window: the host's clock started at 09:20:00 when the host did.
offset=$(awk -v a="$window_start" -v b="$host_start" 'BEGIN {print a - b}')
length=$(awk -v a="$window_end" -v b="$window_start" 'BEGIN {print b == "" ? 0 : a - b}')
start_s=$(date -d 2026-03-02T09:20:00+11:00 +%s)
dates=$("$command" timeline --json --feed "$work/feed/widget.json" --tz Australia/Sydney --now 2026-03-02T09:20:00+11:00 |
  jq --argjson from "$(awk -v s="$start_s" -v o="$offset" 'BEGIN {printf "%.3f", s + o}')" \
     --argjson to "$(awk -v s="$start_s" -v o="$offset" -v l="$length" 'BEGIN {printf "%.3f", s + o + l}')" \
     '[.entries[].date | sub("\\.[0-9]+Z$"; "Z") | fromdate | select(. > $from and . <= $to)] | length')
echo "host: $wakes wakes in $length s, $dates entry dates in that time; private memory $host_private MB"
"$probe" "$display" "Next up" "$work/feed/widget.json" "$work/a.json" "$work/b.json" 10 | tee "$work/probe.out"
kill -TERM "$host"
wait "$host" || true

awk -v h="$host_kb" -v c="$conky_kb" -v u="$host_user" -v s="$host_sys" -v w="$wakes" -v l="$length" \
  -v d="$dates" -v e="$window_kb" -v t="$text_kb" -v hp="$host_private" -v wp="$window_private" \
  -v cp="$conky_private" 'BEGIN {
  printf "RATIO host_rss_vs_conky %.2f <=1 # host %.1f MB, Conky %.1f MB, side by side on one Xvfb\n", h / c, h / 1024, c / 1024
  printf "RATIO host_cpu_per_day_s %.2f - # user %.2f s + system %.2f s for 24 simulated hours at --speed 1440\n", u + s, u, s
  printf "RATIO host_wakes_vs_entry_dates %.2f <=1.1 # %d wakes of all threads in %.0f s at real speed, %d entry dates\n", (d > 0 ? w / d : w), w, l, d
  printf "RATIO host_wakes_per_hour %d - # as above, per hour, a minute entry each minute\n", w * 3600 / l
  printf "RATIO host_private_mb %.1f - # the idle host; an empty GTK 3 window %.1f MB, Conky %.1f MB (Private_Clean + Private_Dirty)\n", hp, wp, cp
  printf "RATIO toolkit_window_rss_vs_conky %.2f - # an empty GTK 3 window %.1f MB, Conky %.1f MB\n", e / c, e / 1024, c / 1024
  printf "RATIO host_rss_vs_toolkit_text %.2f - # the host %.1f MB, a GTK 3 window drawing text in Inter %.1f MB\n", h / t, h / 1024, t / 1024
}'
