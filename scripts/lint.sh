#!/usr/bin/env bash
# Style and static checks: clang-format over every C++ file, clang-tidy over the sources (with the
# dev preset's compile commands). Exits non-zero on the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.hpp')
bash scripts/check-layers.sh
clang-format --dry-run --Werror "${files[@]}"
[ -f build/dev/compile_commands.json ] || cmake --preset dev >/dev/null
git ls-files 'src/*.cpp' | xargs -P "$(nproc)" -n 4 clang-tidy -p build/dev --quiet 2>/dev/null
echo "lint: clean"
