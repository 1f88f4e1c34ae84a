#!/usr/bin/env bash
# Builds the release preset and runs the main job: checks the bundled example feed and prints its state.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target ostrel-widgets
./build/release/src/cli/ostrel-widgets check examples/widget.json
