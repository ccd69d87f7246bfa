#!/usr/bin/python3
"""Build Lemmix's mathematical font Symbolon from DejaVu Sans.

Usage: make_symbolon.py [--source DejaVuSans.ttf] [--map symbolon.map] OUTPUT.ttf

symbolon.map gives, for every byte code 0x20..0xFF, the Unicode characters
whose DejaVu Sans glyphs that code shows.  The font maps the code point
U+00CC (numerically equal to the byte) to a glyph built from the outlines of
those characters, set side by side when there are several.  Nothing else is
kept apart from .notdef, so the result stays small.

The output is reproducible byte for byte: the timestamps come from a fixed
SOURCE_DATE_EPOCH, and every name-table entry that FontForge would otherwise
fill with the date or its own version is set here.

Run it with Debian's /usr/bin/python3, whose python3-fontforge package
provides the fontforge module.
"""

import argparse
import os
import re
import sys

# FontForge reads this for the created/modified dates of the head table; it
# must be in place before any font is generated.  2024-01-01T00:00:00Z.
FIXED_EPOCH = "1704067200"
os.environ["SOURCE_DATE_EPOCH"] = FIXED_EPOCH

try:
    import fontforge
    import psMat
except ImportError:
    sys.exit("make_symbolon.py: the fontforge Python module is missing; "
             "install python3-fontforge and run this script with /usr/bin/python3")

SCRIPT_DIR = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
DEFAULT_MAP = os.path.join(SCRIPT_DIR, "symbolon.map")

FAMILY = "Symbolon"
VERSION = "1.000"
COPYRIGHT = (
    "Symbolon is derived from DejaVu Sans. "
    "Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. "
    "Bitstream Vera is a trademark of Bitstream, Inc. "
    "Copyright (c) 2006 by Tavmjong Bah. All Rights Reserved. "
    "DejaVu changes are in public domain.")
LICENSE = (
    "Symbolon is generated from DejaVu Sans by fonts/make_symbolon.py of Lemmix "
    "and is distributed under the licence of DejaVu Sans: the Bitstream Vera "
    "Fonts licence (with the Arev Fonts licence for the glyphs DejaVu imported "
    "from Arev). The full text is in Symbolon-LICENSE.txt next to this font.")
LICENSE_URL = "https://dejavu-fonts.github.io/License.html"

# Pieces set side by side are moved this much closer together than their
# advance widths alone would place them, in font units of the 2048 em:
# DejaVu's side bearings are meant for text and leave ∃! and ⌊⌋ looking like
# two separate signs.  Only the listed combinations are tightened; any other
# combination simply gets the sum of the advance widths.
PAIR_TIGHTENING = {
    (0x2203, 0x0021): 180,   # ∃!: close the gap after the ∃
    (0x230A, 0x230B): 200,   # ⌊⌋: the two brackets read as one sign
}

MAP_LINE = re.compile(r"^0x([0-9A-Fa-f]{2})\s+(U\+[0-9A-Fa-f]{4,6}(?:,U\+[0-9A-Fa-f]{4,6})*)(?:\s+(.*))?$")


def fail(message):
    sys.exit("make_symbolon.py: " + message)


def read_map(path):
    """Returns a list of (code, [code points], description) in file order."""
    entries = []
    seen = set()
    try:
        with open(path, encoding="utf-8") as stream:
            lines = stream.read().splitlines()
    except OSError as error:
        fail("cannot read the code map %s: %s" % (path, error.strerror))
    for number, line in enumerate(lines, 1):
        text = line.strip()
        if not text or text.startswith("#"):
            continue
        match = MAP_LINE.match(text)
        if not match:
            fail("%s:%d: expected '0xCC U+XXXX[,U+YYYY...] description', got %r"
                 % (path, number, text))
        code = int(match.group(1), 16)
        if code < 0x20:
            fail("%s:%d: code 0x%02X is below 0x20" % (path, number, code))
        if code in seen:
            fail("%s:%d: code 0x%02X appears twice" % (path, number, code))
        seen.add(code)
        points = [int(item[2:], 16) for item in match.group(2).split(",")]
        entries.append((code, points, match.group(3) or ""))
    if not entries:
        fail("the code map %s lists no codes" % path)
    return entries


def outline_of(font, glyph, matrix, into):
    """Appends the contours of glyph, with its references resolved, to the
    layer into, transformed by matrix."""
    for contour in glyph.foreground:
        contour.transform(matrix)
        into += contour
    for name, ref_matrix, _ in glyph.references:
        outline_of(font, font[name], psMat.compose(ref_matrix, matrix), into)


def check_coverage(source, entries, source_path):
    missing = []
    for code, points, description in entries:
        for point in points:
            if point not in source:
                missing.append("0x%02X needs U+%04X (%s)" % (code, point, description))
    if missing:
        fail("the source font %s lacks code points of the map:\n  %s"
             % (source_path, "\n  ".join(missing)))


SYMBOL_ALIAS = 0xF000

# Characters that show a blank and so have no outline.
BLANK_POINTS = ([0x20], [0x2009])


def glyph_name(code, source, points):
    # The code keeps names unique where two codes show the same character.
    return "s%02X.%s" % (code, "_".join(source[p].glyphname for p in points))


def build(source_path, map_path, output_path):
    entries = read_map(map_path)
    if not os.path.isfile(source_path):
        fail("the source font %s does not exist" % source_path)
    source = fontforge.open(source_path)
    check_coverage(source, entries, source_path)

    font = fontforge.font()
    font.encoding = "UnicodeBmp"
    font.is_quadratic = True
    font.em = source.em
    font.ascent = source.ascent
    font.descent = source.descent

    font.familyname = FAMILY
    font.fontname = FAMILY
    font.fullname = FAMILY
    font.weight = "Regular"
    font.version = VERSION
    font.copyright = COPYRIGHT
    font.sfntRevision = None
    for attribute in ("italicangle", "upos", "uwidth"):
        setattr(font, attribute, getattr(source, attribute))

    # Line metrics as in DejaVu Sans so that Symbolon sets lines exactly as
    # the text font it is mixed with.
    for attribute in ("os2_winascent", "os2_windescent", "os2_typoascent",
                      "os2_typodescent", "hhea_ascent", "hhea_descent"):
        setattr(font, attribute + "_add", False)
        setattr(font, attribute, getattr(source, attribute))
    font.os2_typolinegap = source.os2_typolinegap
    font.hhea_linegap = source.hhea_linegap
    for attribute in ("os2_weight", "os2_width", "os2_fstype", "os2_panose",
                      "os2_strikeypos", "os2_strikeysize", "os2_subxoff",
                      "os2_subxsize", "os2_subyoff", "os2_subysize",
                      "os2_supxoff", "os2_supxsize", "os2_supyoff",
                      "os2_supysize"):
        setattr(font, attribute, getattr(source, attribute))
    font.os2_vendor = "NONE"

    # The name table is written out in full; FontForge's defaults for the
    # unique identifier and the version would carry today's date or the
    # FontForge version.
    english = "English (US)"
    for key, value in (("Copyright", COPYRIGHT),
                       ("Family", FAMILY),
                       ("SubFamily", "Regular"),
                       ("UniqueID", "%s %s" % (FAMILY, VERSION)),
                       ("Fullname", FAMILY),
                       ("Version", "Version %s" % VERSION),
                       ("PostScriptName", FAMILY),
                       ("Descriptor", "Mathematical signs of Lemmix, derived from DejaVu Sans"),
                       ("License", LICENSE),
                       ("License URL", LICENSE_URL)):
        font.appendSFNTName(english, key, value)

    notdef = font.createChar(-1, ".notdef")
    notdef_layer = fontforge.layer()
    notdef_layer.is_quadratic = True
    outline_of(source, source[".notdef"], psMat.identity(), notdef_layer)
    notdef.foreground = notdef_layer
    notdef.width = source[".notdef"].width

    for code, points, _ in entries:
        glyph = font.createChar(code, glyph_name(code, source, points))
        layer = fontforge.layer()
        layer.is_quadratic = True
        x = 0
        previous = None
        for point in points:
            if previous is not None:
                x -= PAIR_TIGHTENING.get((previous, point), 0)
            piece = source[point]
            outline_of(source, piece, psMat.translate(x, 0), layer)
            x += piece.width
            previous = point
        glyph.foreground = layer
        glyph.width = x
        # Also at U+F0xx, as symbol fonts are: text shaping leaves private-use
        # characters alone, while it hides some Latin-1 ones (U+00AD).
        glyph.altuni = ((SYMBOL_ALIAS + code, -1, 0),)
        if len(layer) == 0 and points not in BLANK_POINTS:
            fail("U+%s gives code 0x%02X no outline"
                 % (",U+".join("%04X" % p for p in points), code))

    source.close()
    font.generate(output_path, flags=("no-FFTM-table", "omit-instructions"))
    font.close()


def main():
    parser = argparse.ArgumentParser(
        description="Generate the Symbolon font of Lemmix from DejaVu Sans.")
    parser.add_argument("--source", default=DEFAULT_SOURCE,
                        help="the DejaVu Sans TrueType file (default: %(default)s)")
    parser.add_argument("--map", default=DEFAULT_MAP,
                        help="the code map (default: symbolon.map beside this script)")
    parser.add_argument("output", help="the TrueType file to write")
    arguments = parser.parse_args()
    build(arguments.source, arguments.map, arguments.output)


if __name__ == "__main__":
    main()
