#!/bin/sh
# The committed icon is what scripts/make_icon.py draws. Exits 77 (skipped)
# without python3.
# Usage: check_icon.sh MAKE_ICON COMMITTED_SVG OUTPUT_SVG
set -eu
command -v python3 >/dev/null 2>&1 || { echo "python3 is not available: skipped"; exit 77; }
python3 "$1" "$3"
if ! cmp "$2" "$3"; then
  echo "FAIL: $2 differs from what $1 draws; regenerate it with: python3 $1 $2" >&2
  exit 1
fi
