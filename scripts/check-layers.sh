#!/usr/bin/env bash
# Fails when a source file includes a header from a folder its own folder may not use. Each folder
# under src/ is one layer and one library; the list below is every arrow the code may follow, with no
# exceptions. A folder not listed is refused, so a new layer must be placed here (and in the README's
# folder table) before it is used.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A uses=(
  [base]=""
  [time]=""
  [ui]="time base"
  [layout]="ui base"
  [render]="layout ui base"
  [feed]="time base"
  [timeline]="feed time base"
  [components]="ui feed time base"
  [views]="components timeline ui feed time base"
  [widgets]="views components timeline ui feed time base"
  [engine]="widgets views components timeline ui feed time base"
  [png]="engine render ui time base"
  [desktop]="engine render layout ui time base"
  [cli]="widgets views components timeline ui feed time base"
  [draw]="cli desktop png engine widgets views components timeline render layout ui feed time base"
  [allocator]=""
)

status=0
while IFS= read -r file; do
  rest=${file#src/}
  own=${rest%%/*}
  if [ -z "${uses[$own]+x}" ]; then
    echo "$file: its folder is not a layer in scripts/check-layers.sh"
    status=1
    continue
  fi
  while IFS= read -r header; do
    [ -e "src/$header" ] || continue
    theirs=${header%%/*}
    if [ "$theirs" != "$own" ] && [[ " ${uses[$own]} " != *" $theirs "* ]]; then
      echo "$file: includes $header, from '$theirs', which '$own' may not use"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'src/*.cpp' 'src/*.hpp')
[ "$status" -eq 0 ] && echo "layers: every include follows an allowed arrow"
exit "$status"
