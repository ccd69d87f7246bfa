#!/usr/bin/env bash
# Installs what is missing, builds Lemmix and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
