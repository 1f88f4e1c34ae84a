#!/usr/bin/env bash
# Builds the release preset and runs the main job: the gallery of every face (each widget in each
# family it offers, light and dark) drawn from the built-in sample feed. Prints the path written.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target ostrel-widgets
./build/release/src/cli/ostrel-widgets gallery --sample -o gallery.png
