#!/usr/bin/env bash
# The benchmark report: builds the release preset, runs every benchmark in bench/ and prints each
# ratio the project has a goal for, the goal beside it, and whether it is met.
#
#   bench/report.sh [--no-build] [--only REGEX] [BUILD_DIR]     (default build/release)
#
# Every benchmark is run once, on this machine, and each ratio is taken from one run in which both
# sides were measured. A ratio whose benchmark is missing or failed is shown as "not run".
#
# How a benchmark hands its figures to this report (either way; the first is the simplest):
#
#  1. A line on standard output, anywhere in its output:
#
#         RATIO <name> <value> <goal> [# free text]
#
#     <name> is one word (a row of the table below, or a new one: unknown names are reported too),
#     <value> a plain number, <goal> one of <=N, >=N, ==N, or "-" for a figure without a goal.
#     Examples:   RATIO check_vs_jq 16.4 >=15 # check 52 ms, jq 853 ms
#                 RATIO stress_timeline_peak_mb 83.2 <=87.6 # 3 x 19.2 MB + 30 MB
#
#  2. From a Google Benchmark program (bench/*_bench.cpp), without printing anything: a row of the
#     table below may name a user counter ("counter BIN BENCHMARK COUNTER") or the ratio of two
#     benchmarks' times in the same run ("times BIN NUMERATOR DENOMINATOR [real|cpu]"). Every
#     Google Benchmark program is run with --benchmark_out so these can be read.
#
# Benchmarks: every executable build/release/bench/*_bench (Google Benchmark) and every script
# bench/*.sh other than this one, called as `bench/NAME.sh BUILD_DIR`. Their whole output is kept in
# the log folder named at the end.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=""
skip_build=0
only=""
while (($#)); do
  case "$1" in
    --no-build) skip_build=1 ;;
    --only) only=$2; shift ;;
    -h | --help) sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "report: unknown option $1" >&2; exit 2 ;;
    *) build=$1 ;;
  esac
  shift
done
build=${build:-"$root/build/release"}
command -v jq >/dev/null || { echo "report: jq is not installed (scripts/install-deps.sh)" >&2; exit 1; }

# The ratios with a goal: name | where it comes from | goal | what it compares.
# The goal here is used when the benchmark's own line gives none.
table=$(cat <<'EOF'
check_vs_jq|line|>=15|check on the stress feed, times faster than jq empty (whole processes)
decode_vs_parse_stress|times decode_bench parse_only_fresh_parser/stress decode/stress real|>=0.5|typed decoding throughput / simdjson parse-only (fresh parser), stress feed
decode_vs_parse_realistic|times decode_bench parse_only_fresh_parser/realistic decode/realistic real|>=0.25|the same on the realistic 8.8 KB feed
stress_timeline_peak_mb|line|<=3xfile+30|peak resident MB of the stress timeline request
timeline_growth_1k|times timeline_bench timeline/2000 timeline/1000 cpu|<=2.3|timeline date logic: time for 2N classes / for N, N = 1,000
timeline_growth_10k|times timeline_bench timeline/20000 timeline/10000 cpu|<=2.3|the same, N = 10,000
timeline_growth_100k|times timeline_bench timeline/200000 timeline/100000 cpu|<=2.3|the same, N = 100,000
request_growth_1k|times timeline_bench getTimeline/2000 getTimeline/1000 cpu|<=2.3|whole timeline request (read, decode, dates): 2N / N, N = 1,000
request_growth_10k|times timeline_bench getTimeline/20000 getTimeline/10000 cpu|<=2.3|the same, N = 10,000
request_growth_100k|times timeline_bench getTimeline/200000 getTimeline/100000 cpu|<=2.3|the same, N = 100,000
draw_vs_blank|counter render_bench DrawVersusBlank ratio|<=4|drawing the gallery's faces / encoding blank PNGs of their sizes
long_text_render_vs_ordinary|line|<=2|render of a face with 1 MB texts, less the bigger file's check / render with ordinary texts (whole processes)
long_text_face_vs_ordinary|line|<=2|drawing a face whose texts are 1 MB each / the same face with ordinary texts
watch_wakes_vs_expected|line|==1|engine wakes over a simulated day / (distinct entry dates + 48 reloads)
watch_day_cpu_vs_render_loop|line|<=1|CPU of a simulated day of watch --png-dir / drawing those faces once per entry
watch_week_vs_tree|line|<=60|CPU of a simulated week of watch --format json, every face / one one-shot tree process
watch_week_rss_vs_first_hour|line|<=1.05|watch peak RSS after a simulated week / after the first hour
host_rss_vs_conky|line|<=1|desktop host peak RSS (two widgets) / Conky's for a comparable widget
host_redraw_ms|line|<=200|milliseconds from a feed rewrite to the redrawn window
host_cpu_per_day_s|line|-|desktop host CPU seconds per simulated day
host_wakes_vs_entry_dates|line|<=1.1|desktop host wakes (all threads, real speed) / entry dates in that time
host_wakes_per_hour|line|-|desktop host wakes per hour
host_private_mb|line|-|idle desktop host private memory in MB (beside an empty GTK 3 window and Conky)
toolkit_window_rss_vs_conky|line|-|peak RSS of an empty GTK 3 window / Conky's (what the toolkit alone costs)
host_rss_vs_toolkit_text|line|-|desktop host peak RSS / a GTK 3 window drawing text in Inter
EOF
)

log=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-bench-report.XXXXXX")

if ((!skip_build)); then
  echo "building the release preset (log: $log/build.log)" >&2
  { cmake --preset release && cmake --build --preset release -j "$(nproc)"; } >"$log/build.log" 2>&1 ||
    { echo "report: the release build failed; see $log/build.log" >&2; exit 1; }
fi

# Runs every benchmark; its output goes to $log/NAME.out (and Google Benchmark's JSON to NAME.json).
shopt -s nullglob
for bin in "$build"/bench/*_bench; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  [[ -n "$only" && ! "$name" =~ $only ]] && continue
  echo "running $name" >&2
  (cd "$root" && "$bin" --benchmark_out="$log/$name.json" --benchmark_out_format=json) >"$log/$name.out" 2>&1 ||
    echo "report: $name failed (exit $?); see $log/$name.out" >&2
done
for script in "$root"/bench/*.sh; do
  name=$(basename "$script" .sh)
  [ "$name" = report ] && continue
  [[ -n "$only" && ! "$name" =~ $only ]] && continue
  echo "running $name.sh" >&2
  (cd "$root" && bash "$script" "$build") >"$log/$name.out" 2>&1 ||
    echo "report: $name.sh failed (exit $?); see $log/$name.out" >&2
done

# Every RATIO line, last one of a name wins: name value goal note.
cat "$log"/*.out 2>/dev/null | awk '$1 == "RATIO" && NF >= 4 {
    note = ""; i = index($0, "#"); if (i) note = substr($0, i + 1); sub(/^ +/, "", note)
    print $2 "|" $3 "|" $4 "|" note }' >"$log/lines"

# The time of one benchmark in nanoseconds (real or cpu), from a Google Benchmark JSON file.
benchmark_time() {  # file name kind
  jq -r --arg n "$2" --arg k "$3" '
    [.benchmarks[] | select((.run_type // "iteration") == "iteration")
      | select(.name == $n or (.name | startswith($n + "/min_time")) or (.name | startswith($n + "/real_time")))]
    | first // empty
    | (if $k == "cpu" then .cpu_time else .real_time end) as $t
    | {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[.time_unit] * $t' "$1" 2>/dev/null
}
benchmark_counter() {  # file name counter
  jq -r --arg n "$2" --arg c "$3" '
    [.benchmarks[] | select((.run_type // "iteration") == "iteration")
      | select(.name == $n or (.name | startswith($n + "/")))]
    | first // empty | .[$c] // empty' "$1" 2>/dev/null
}

# met / not met for a value against a goal (<=N, >=N, ==N or -).
verdict() {  # value goal
  awk -v v="$1" -v g="$2" 'BEGIN {
    if (g == "-" || g == "") { print "figure"; exit }
    op = substr(g, 1, 2); n = substr(g, 3) + 0
    if (op == "<=") ok = v <= n; else if (op == ">=") ok = v >= n
    else if (op == "==") ok = (v - n < 1e-9 && n - v < 1e-9); else { print "?"; exit }
    print ok ? "met" : "NOT met" }'
}

machine() {
  local cpu virt
  cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1)
  virt=$(systemd-detect-virt 2>/dev/null || true)
  printf '%s, %s cores, %s GiB memory, Linux %s%s\n' "${cpu:-unknown CPU}" "$(nproc)" \
    "$(awk '/MemTotal/ {printf "%.0f", $2 / 1048576}' /proc/meminfo)" "$(uname -r)" \
    "${virt:+, virtual machine ($virt)}"
}

echo
echo "Benchmark report, $(date -u +%Y-%m-%dT%H:%MZ), commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)"
echo "Machine: $(machine)"
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null)
echo "Build: $build (release preset, -O3; ${compiler:+$("$compiler" --version 2>/dev/null | head -n 1)})"
echo
printf '%-30s %12s  %-13s %-8s %s\n' ratio value goal result "what it compares"
known=""
while IFS='|' read -r name source goal what; do
  [ -n "$name" ] || continue
  known="$known $name "
  value="" note=""
  line=$(grep "^$name|" "$log/lines" | tail -n 1)
  if [ -n "$line" ]; then
    IFS='|' read -r _ value lgoal note <<<"$line"
    goal=$lgoal
  else
    read -r kind bin a b c <<<"$source"
    json="$log/$bin.json"
    if [ "$kind" = times ] && [ -f "$json" ]; then
      num=$(benchmark_time "$json" "$a" "${c:-real}")
      den=$(benchmark_time "$json" "$b" "${c:-real}")
      [ -n "$num" ] && [ -n "$den" ] && value=$(awk -v x="$num" -v y="$den" 'BEGIN { if (y > 0) printf "%.3g", x / y }')
    elif [ "$kind" = counter ] && [ -f "$json" ]; then
      value=$(benchmark_counter "$json" "$a" "$b")
      [ -n "$value" ] && value=$(awk -v x="$value" 'BEGIN { printf "%.3g", x }')
    fi
  fi
  if [ -z "$value" ]; then
    printf '%-30s %12s  %-13s %-8s %s\n' "$name" "-" "$goal" "not run" "$what"
  else
    printf '%-30s %12s  %-13s %-8s %s%s\n' "$name" "$value" "$goal" "$(verdict "$value" "$goal")" "$what" \
      "${note:+ ($note)}"
  fi
done <<<"$table"

# Ratios a benchmark reported that the table above does not list yet.
while IFS='|' read -r name value goal note; do
  [[ "$known" == *" $name "* ]] && continue
  known="$known $name "
  printf '%-30s %12s  %-13s %-8s %s\n' "$name" "$value" "$goal" "$(verdict "$value" "$goal")" "$note"
done < <(tac "$log/lines" | awk -F'|' '!seen[$1]++' | tac)

echo
echo "Logs of every benchmark: $log"
