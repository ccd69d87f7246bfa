#!/usr/bin/env bash
# Installs what is missing, builds Lemmix and starts it on the bundled data.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
# The working directory is the program's data directory.
cd "$root/data"
exec "$root/build/gui/lemmix"
