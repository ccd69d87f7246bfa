#!/bin/sh
# Runs one test of the Symbolon font; exits 77 (skipped) when Debian's Python
# has no fontforge module.
#
#   run_font_test.sh regenerate GENERATOR COMMITTED.ttf OUTPUT.ttf
#       generates the font into OUTPUT.ttf and requires it to equal
#       COMMITTED.ttf byte for byte.
#   run_font_test.sh check CHECKER FONT.ttf CODE.map
#       runs the checker script on the font and its code map.

PYTHON=/usr/bin/python3

if ! "$PYTHON" -c "import fontforge" >/dev/null 2>&1; then
  echo "fontforge absent: $PYTHON cannot import fontforge (package python3-fontforge), skipping"
  exit 77
fi

mode=$1
if [ $# -ne 4 ]; then
  echo "usage: $0 regenerate GENERATOR COMMITTED.ttf OUTPUT.ttf | check CHECKER FONT.ttf CODE.map" >&2
  exit 2
fi

case "$mode" in
  regenerate)
    generator=$2 committed=$3 output=$4
    rm -f "$output"
    if ! "$PYTHON" "$generator" "$output"; then
      echo "FAIL: $generator could not generate $output"
      exit 1
    fi
    if [ ! -f "$committed" ]; then
      echo "FAIL: $committed does not exist; generate it with"
      echo "  $PYTHON $generator $committed"
      echo "and commit it"
      exit 1
    fi
    if ! cmp "$output" "$committed"; then
      echo "FAIL: $committed differs from the font fonts/make_symbolon.py generates now ($output)."
      echo "Regenerate it with"
      echo "  $PYTHON $generator $committed"
      echo "and commit data/Symbolon.ttf (a different fontforge or DejaVu Sans version also changes the bytes)."
      exit 1
    fi
    echo "$committed matches the generated font"
    ;;
  check)
    exec "$PYTHON" "$2" "$3" "$4"
    ;;
  *)
    echo "$0: unknown mode '$mode'" >&2
    exit 2
    ;;
esac
