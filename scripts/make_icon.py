#!/usr/bin/env python3
"""Draws packaging/lemmix.svg, the program's icon: an open book on a blue
rounded square, a universal quantifier on its left page and a summation sign
on its right one. Only paths, no text, so that the icon does not depend on the
fonts of the desktop. Usage: make_icon.py [OUTPUT] (default: standard output)."""
import sys

SIZE = 256
BACKGROUND = "#24457a"
PAGE = "#fbf6e9"
PAGE_SHADE = "#e4dcc6"
INK = "#1d2f52"
ACCENT = "#d8492f"


def fmt(value):
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return text if text != "-0" else "0"


def path(points, closed=False):
    head, *rest = points
    d = f"M{fmt(head[0])} {fmt(head[1])}" + "".join(f" L{fmt(x)} {fmt(y)}" for x, y in rest)
    return d + (" Z" if closed else "")


def page(spine_x, outer_x, top, bottom, sag):
    """A page from the spine to the outer edge; its top and bottom edges sag
    towards the spine as the pages of an open book do."""
    return (f"M{fmt(spine_x)} {fmt(top + sag)} "
            f"Q{fmt((spine_x + outer_x) / 2)} {fmt(top - sag)} {fmt(outer_x)} {fmt(top)} "
            f"L{fmt(outer_x)} {fmt(bottom)} "
            f"Q{fmt((spine_x + outer_x) / 2)} {fmt(bottom - 2 * sag)} {fmt(spine_x)} {fmt(bottom + sag)} Z")


def for_all(cx, top, bottom, half_width):
    """The strokes of the universal quantifier: an inverted V with its bar."""
    bar_y = top + (bottom - top) * 0.48
    bar_half = half_width * 0.52
    return [
        path([(cx - half_width, top), (cx, bottom), (cx + half_width, top)]),
        path([(cx - bar_half, bar_y), (cx + bar_half, bar_y)]),
    ]


def sigma(cx, top, bottom, half_width):
    """The strokes of the summation sign."""
    middle = (top + bottom) / 2
    left = cx - half_width
    right = cx + half_width
    return [path([(right, top + 6), (right, top), (left, top), (cx + 2, middle),
                  (left, bottom), (right, bottom), (right, bottom - 6)])]


def svg():
    spine = SIZE / 2
    top, bottom = 70, 196
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
        f'viewBox="0 0 {SIZE} {SIZE}">',
        "  <title>Lemmix</title>",
        f'  <rect x="8" y="8" width="{SIZE - 16}" height="{SIZE - 16}" rx="44" fill="{BACKGROUND}"/>',
        # The cover peeping out under the pages.
        f'  <path d="{page(spine, 30, top + 8, bottom + 10, 8)}" fill="{ACCENT}"/>',
        f'  <path d="{page(spine, SIZE - 30, top + 8, bottom + 10, 8)}" fill="{ACCENT}"/>',
        f'  <path d="{page(spine, 38, top, bottom, 8)}" fill="{PAGE}" stroke="{PAGE_SHADE}" stroke-width="3"/>',
        f'  <path d="{page(spine, SIZE - 38, top, bottom, 8)}" fill="{PAGE}" stroke="{PAGE_SHADE}" stroke-width="3"/>',
        f'  <path d="{path([(spine, top + 8), (spine, bottom + 8)])}" stroke="{PAGE_SHADE}" stroke-width="4"/>',
        f'  <g fill="none" stroke="{INK}" stroke-width="11" stroke-linecap="round" stroke-linejoin="round">',
    ]
    strokes = for_all(spine - 45, top + 24, bottom - 24, 26) + sigma(spine + 45, top + 24, bottom - 24, 24)
    parts += [f'    <path d="{d}"/>' for d in strokes]
    parts += ["  </g>", "</svg>", ""]
    return "\n".join(parts)


def main(argv):
    text = svg()
    if len(argv) > 1:
        with open(argv[1], "w", encoding="utf-8", newline="\n") as out:
            out.write(text)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
