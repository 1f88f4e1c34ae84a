#!/usr/bin/env bash
# Runs the README's set-ups for `watch` as written there (the snippets are read from README.md):
# i3blocks itself on its config, Polybar's exec line as Polybar runs it (sh -c, every line read),
# and Conky under Xvfb beside the `watch` command line, its window looked at. (The Waybar set-up runs
# in waybar.sh, under a headless sway.) The feed is whatever this user has at the app's location:
# any face will do, the point is that each reader shows one.
#
#   tests/bars/readme_setups.sh BUILT-ostrel-widgets [KEEP-DIR]
#
# Exit status 0: passed; 77: a program is missing (a failure when OSTREL_REQUIRE_DISPLAY_TESTS=1).
set -euo pipefail
bin=$(readlink -f "$1")
keep=${2:-}
readme=$(dirname "$0")/../../README.md
for p in i3blocks conky Xvfb import; do
  if ! command -v "$p" >/dev/null; then
    echo "missing $p"
    [[ ${OSTREL_REQUIRE_DISPLAY_TESTS:-} == 1 ]] && exit 1 || exit 77
  fi
done
dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -- "-$p" 2>/dev/null || kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [[ -n $keep ]]; then mkdir -p "$keep" && cp "$dir"/*.png "$dir"/*.txt "$keep"/ 2>/dev/null || true; fi
  rm -rf "$dir"
}
trap cleanup EXIT
export HOME=$dir/home PATH=$(dirname "$bin"):$PATH
mkdir -p "$HOME"

# The first ```LANG block after the line starting with MARKER.
block() {
  awk -v marker="$1" -v fence="\`\`\`$2" '
    index($0, marker) == 1 { found = 1 }
    found && !inside && $0 == fence { inside = 1; next }
    inside && $0 == "```" { exit }
    inside { print }' "$readme"
}
status=0
fail() { echo "FAIL: $*"; status=1; }

# i3blocks: its block of the config, run by i3blocks itself (it prints the i3bar protocol).
block '**i3blocks**' ini | sed -n '/^# i3blocks/,/^# polybar/p' | grep -v '^# polybar' >"$dir/i3blocks.conf"
timeout 4 i3blocks -c "$dir/i3blocks.conf" >"$dir/i3blocks.txt" 2>&1 || true
grep -q '"full_text":"[^"]' "$dir/i3blocks.txt" || fail "i3blocks shows nothing: $(head -c 300 "$dir/i3blocks.txt")"

# Polybar's custom/script with tail = true: the exec line through sh -c, each line a new label.
exec_line=$(block '**i3blocks**' ini | sed -n 's/^exec = //p')
[[ -n $exec_line ]] || fail "no Polybar exec line in the README"
timeout 4 sh -c "$exec_line" >"$dir/polybar.txt" 2>&1 || true
first=$(head -n 1 "$dir/polybar.txt")
[[ -n $first && ${#first} -le 60 ]] || fail "Polybar's line is not one short line: '$first'"

# Conky: the commands and the config as written, on an X server of the screen's size.
exec 3> >(cat >"$dir/xvfb-display.txt")
setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [[ -s $dir/xvfb-display.txt ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$dir/xvfb-display.txt")
mkdir -p "$HOME/.config/conky"
block '**Conky**' lua >"$HOME/.config/conky/ostrel.conf"
block '**Conky**' sh >"$dir/conky-setup.sh"
setsid bash "$dir/conky-setup.sh" >"$dir/conky.txt" 2>&1 &
pids+=($!)
# Xvfb's root is black but for Conky's window: once Conky drew the picture, the screen holds about
# the face's area of light pixels.
light() {
  import -window root ppm:- 2>/dev/null | tail -c +16 | od -An -v -tu1 |
    awk '{ for (i = 1; i <= NF; i++) if ($i > 160) n++ } END { print n + 0 }'
}
shown=0
for _ in $(seq 100); do
  shown=$(light)
  ((shown > 364 * 170 * 3 / 2)) && break
  sleep 0.2
done
import -window root "$dir/conky.png" 2>/dev/null || true
[[ -f $HOME/.cache/ostrel/NextUp-systemMedium.png ]] || fail "watch wrote no PNG for Conky"
((shown > 364 * 170 * 3 / 2)) || fail "Conky's window shows no face ($shown light samples)"
((status == 0)) && echo "ok: i3blocks, Polybar's line ('$first') and Conky ($shown light samples)"
exit $status
