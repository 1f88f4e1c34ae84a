#!/usr/bin/env bash
# A real Waybar under a headless sway runs `watch --format waybar` as its custom modules, over a feed
# whose texts hold markup characters ("R&D1001", "Q&A <live>"): Waybar must log no markup error, and
# the bar must show the modules' text (dark pixels on the white bar; the screenshot is kept). A
# second bar, at the bottom, holds the README's module as written (the app's feed, whatever it is).
#
#   tests/bars/waybar.sh BUILT-ostrel-widgets [KEEP-DIR]
#
# As root, sway and Waybar run as the user `nobody` (sway refuses root). Exit status 0: passed,
# 77: a program is missing (a failure instead when OSTREL_REQUIRE_DISPLAY_TESTS=1), else failed.
set -euo pipefail
bin=$(readlink -f "$1")
keep=${2:-}
for p in sway waybar grim setpriv; do
  if ! command -v "$p" >/dev/null; then
    echo "missing $p"
    [[ ${OSTREL_REQUIRE_DISPLAY_TESTS:-} == 1 ]] && exit 1 || exit 77
  fi
done
dir=$(mktemp -d)
chmod 755 "$dir"
run=$dir/run
mkdir -m 700 "$run"
as=()
if ((EUID == 0)); then
  chown nobody:nogroup "$run"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [[ -n $keep ]]; then mkdir -p "$keep" && cp "$dir"/*.log "$dir"/*.png "$keep"/ 2>/dev/null || true; fi
  rm -rf "$dir"
}
trap cleanup EXIT

iso() { date -u -d "@$1" +%Y-%m-%dT%H:%M:%SZ; }
now=$(date +%s)
cat >"$dir/widget.json" <<JSON
{"v": 1, "enabled": true, "at": "$(iso "$now")",
 "classes": [{"unit": "R&D1001", "title": "Q&A <live>", "where": "Room \"B\" & 'C'",
              "start": "$(iso $((now + 2400)))", "end": "$(iso $((now + 6000)))"}],
 "due": [{"unit": "Q&A <live>", "name": "R&D <report>", "due": "$(iso $((now + 7200)))", "weight": 10}]}
JSON
cat >"$dir/sway.conf" <<CONF
output HEADLESS-1 resolution 900x120 scale 1
xwayland disable
CONF
readme_module=$(awk 'index($0, "**Waybar**") == 1 { found = 1 }
  found && !inside && $0 == "```json" { inside = 1; next }
  inside && $0 == "```" { exit }
  inside { print }' "$(dirname "$0")/../../README.md")
cat >"$dir/config" <<JSON
[{"layer": "top", "position": "bottom", "height": 40, "modules-left": ["custom/ostrel"], $readme_module},
 {"layer": "top", "position": "top", "height": 40, "modules-left": ["custom/next", "custom/due"],
 "custom/next": {"exec": "'$bin' watch --widget NextUp:systemSmall --format waybar --feed '$dir/widget.json' --tz UTC",
                 "return-type": "json", "restart-interval": 10},
 "custom/due": {"exec": "'$bin' watch --widget DueSoon:systemMedium --format waybar --feed '$dir/widget.json' --tz UTC",
                "return-type": "json", "restart-interval": 10}}]
JSON
cat >"$dir/style.css" <<CSS
* { font-family: "DejaVu Sans"; font-size: 16px; }
window#waybar { background: #ffffff; color: #000000; }
#custom-next, #custom-due, #custom-ostrel { padding: 0 20px; }
CSS
chmod 644 "$dir"/widget.json "$dir"/sway.conf "$dir"/config "$dir"/style.css
env=(env -u WAYLAND_DISPLAY -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$run" HOME="$run"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1)
"${as[@]}" "${env[@]}" sway -c "$dir/sway.conf" 2>"$dir/sway.log" &
pids+=($!)
socket=
for _ in $(seq 200); do
  socket=$(cd "$run" && ls wayland-? 2>/dev/null | head -n 1) || true
  [[ -n $socket ]] && break
  sleep 0.1
done
[[ -n $socket ]] || { echo "sway did not start"; cat "$dir/sway.log"; exit 1; }
"${as[@]}" "${env[@]}" WAYLAND_DISPLAY="$socket" PATH="$(dirname "$bin"):$PATH" waybar -c "$dir/config" -s "$dir/style.css" >"$dir/waybar.log" 2>&1 &
pids+=($!)

# The bar is 40 px high at the top; the modules' text is dark on white (the desktop around it is
# black, so a bar not yet drawn counts as all dark). Poll until both modules drew something: some
# dark samples, but far fewer than half (or 20 s passed).
dark() {
  "${as[@]}" env XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY="$socket" grim -g "$1" -t ppm - 2>/dev/null |
    tail -c +16 | od -An -v -tu1 | awk '{ for (i = 1; i <= NF; i++) if ($i < 96) n++ } END { print n + 0 }'
}
drawn() { (($1 > 100 && $1 < $2 / 2)); }
left=0 right=0 bottom=0
for _ in $(seq 100); do
  left=$(dark "0,0 300x40") right=$(dark "300,0 600x40") bottom=$(dark "0,80 300x40")
  drawn "$left" 36000 && drawn "$right" 72000 && drawn "$bottom" 36000 && break
  sleep 0.2
done
"${as[@]}" env XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY="$socket" grim "$run/bar.png" || true
cp "$run/bar.png" "$dir/bar.png" 2>/dev/null || true
status=0
if grep -Ei 'markup|entity|parse' "$dir/waybar.log"; then
  echo "FAIL: Waybar logged a markup error"
  status=1
fi
if ! drawn "$left" 36000 || ! drawn "$right" 72000 || ! drawn "$bottom" 36000; then
  echo "FAIL: a module shows nothing (dark samples: next $left, due $right, the README's $bottom)"
  status=1
fi
((status == 0)) && echo "ok: every module drawn (dark samples: next $left, due $right, the README's $bottom), no markup error"
exit $status
