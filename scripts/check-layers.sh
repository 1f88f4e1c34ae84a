#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own. The layers, lowest first;
# folders on one line sit side by side and may not include each other. A folder not listed is
# refused, so a new layer must be placed here (and in the design notes) before it is used.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(
  "platform"
  "platform/ui"
  "platform/layout"
  "platform/render"
  "feed"
  "timeline components"
  "views"
  "widgets"
  "host"
  "host/desktop"
  "cli"
)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done
# Layers below a folder that it must still not use: the feed and the timelines know no view tree, and
# the faces are built as views only, never laid out or drawn.
declare -A unseen=(
  [feed]="platform/ui platform/layout platform/render"
  [timeline]="platform/ui platform/layout platform/render"
  [components]="platform/layout platform/render"
  [views]="platform/layout platform/render"
)

# The layer of a path under src/: the longest listed folder that holds it.
layer_of() {
  local dir=$1
  while [ -n "$dir" ] && [ "$dir" != "." ]; do
    if [ -n "${rank[$dir]+x}" ]; then
      echo "$dir"
      return
    fi
    dir=$(dirname "$dir")
  done
}

status=0
while IFS= read -r file; do
  own=$(layer_of "$(dirname "${file#src/}")")
  if [ -z "$own" ]; then
    echo "$file: its folder is not a layer in scripts/check-layers.sh"
    status=1
    continue
  fi
  while IFS= read -r header; do
    [ -e "src/$header" ] || continue
    theirs=$(layer_of "$(dirname "$header")")
    if [ "$theirs" != "$own" ] && { [ -z "$theirs" ] || ((rank[$theirs] >= rank[$own])); }; then
      echo "$file: includes $header, from layer '$theirs', which is not below '$own'"
      status=1
    elif [[ " ${unseen[$own]:-} " == *" $theirs "* ]]; then
      echo "$file: includes $header, from layer '$theirs', which '$own' must not use"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'src/*.cpp' 'src/*.hpp')
[ "$status" -eq 0 ] && echo "layers: every include points downward"
exit "$status"
