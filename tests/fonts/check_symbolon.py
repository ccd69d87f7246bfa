#!/usr/bin/python3
"""Checks the generated Symbolon font against its code map.

Usage: check_symbolon.py SYMBOLON.TTF SYMBOLON.MAP

The font must be named Symbolon, and every code 0xCC of the map must be
mapped at U+00CC to a glyph with an outline (contours or references); code
0x20 is the space and must have a positive advance width instead.  No code
point outside the map may be mapped, so that a glyph left over from an older
map is noticed.  Exits 77 when the fontforge module cannot be imported.
"""

import re
import sys

try:
    import fontforge
except ImportError:
    print("fontforge absent: the python3-fontforge module cannot be imported, "
          "skipping the Symbolon check")
    sys.exit(77)

FAMILY = "Symbolon"


def read_codes(path):
    codes = {}
    with open(path, encoding="utf-8") as stream:
        for number, line in enumerate(stream, 1):
            text = line.strip()
            if not text or text.startswith("#"):
                continue
            match = re.match(r"^0x([0-9A-Fa-f]{2})\s+(\S+)", text)
            if not match:
                sys.exit("%s:%d: unreadable map line %r" % (path, number, text))
            codes[int(match.group(1), 16)] = match.group(2)
    if not codes:
        sys.exit("%s lists no codes" % path)
    return codes


# Codes that show a blank: they have a width and no outline.
BLANKS = ("U+0020", "U+2009")

# Every code is also mapped at U+F000 + code, the private-use alias.
SYMBOL_ALIAS = 0xF000


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_symbolon.py SYMBOLON.TTF SYMBOLON.MAP")
    font_path, map_path = sys.argv[1], sys.argv[2]
    codes = read_codes(map_path)
    font = fontforge.open(font_path)
    problems = []

    for what, value in (("family name", font.familyname),
                        ("full name", font.fullname),
                        ("PostScript name", font.fontname)):
        if value != FAMILY:
            problems.append("%s is %r, expected %r" % (what, value, FAMILY))

    if ".notdef" not in font:
        problems.append("the font has no .notdef glyph")

    # Every code point the font maps, taken from the glyphs themselves rather
    # than from FontForge's encoding slots.
    glyph_at = {}
    for name in font:
        glyph = font[name]
        mapped = [glyph.unicode] if glyph.unicode >= 0 else []
        mapped += [alternate[0] for alternate in (glyph.altuni or ())]
        for point in mapped:
            glyph_at[point] = glyph
            if point not in codes and point - SYMBOL_ALIAS not in codes:
                problems.append("glyph %s is mapped at U+%04X, which the map "
                                "does not list" % (name, point))

    for code in sorted(codes):
        label = "code 0x%02X (%s)" % (code, codes[code])
        glyph = glyph_at.get(code)
        if glyph is None:
            problems.append("%s: nothing is mapped at U+%04X" % (label, code))
            continue
        if glyph_at.get(SYMBOL_ALIAS + code) is not glyph:
            problems.append("%s: U+%04X does not show the glyph of U+%04X"
                            % (label, SYMBOL_ALIAS + code, code))
        if codes[code] in BLANKS:
            if glyph.width <= 0:
                problems.append("%s: the space has advance width %d"
                                % (label, glyph.width))
        elif len(glyph.foreground) == 0 and not glyph.references:
            problems.append("%s: glyph %s at U+%04X has no outline"
                            % (label, glyph.glyphname, code))
        elif glyph.width <= 0:
            problems.append("%s: glyph %s has advance width %d"
                            % (label, glyph.glyphname, glyph.width))

    font.close()
    if problems:
        print("%s does not match %s:" % (font_path, map_path))
        for problem in problems:
            print("  " + problem)
        print("%d problem(s)" % len(problems))
        sys.exit(1)
    print("%s: %d codes checked" % (font_path, len(codes)))


if __name__ == "__main__":
    main()
