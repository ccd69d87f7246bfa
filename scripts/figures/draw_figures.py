#!/usr/bin/python3
"""Draws the figures of the textbook's pages: data/book/fig/*.png.

The figures are committed; building and testing never run this script. After a
change here regenerate them with Debian's Python and its matplotlib
(`apt-get install -y python3-matplotlib`, which brings Pillow along):

    /usr/bin/python3 scripts/figures/draw_figures.py data/book/fig

Each figure is 480 pixels wide and at most 300 high, drawn at 100 dots per
inch; the pages show them at that size, centred, with a caption under each
(`<p class="figure" align="center"><img src="fig/NAME.png" alt="..."><br>
<small>...</small></p>`). They are saved as palette PNGs: the drawings have
few colours, which keeps every file far below 60 KB. With the same matplotlib
the script always writes the same bytes, so an unchanged figure does not show
up as a change.
"""
import io
import math
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from PIL import Image  # noqa: E402

DPI = 100
INK = "#222222"  # axes, graphs, labels
POINT = "#1f4e9c"  # points that obey the condition
EARLY = "#9a9a9a"  # points before the number N
EPS_FILL = "#d8e7f7"  # the band around a limit
EPS_EDGE = "#6b9bd1"
DELTA_FILL = "#fbe3c8"  # the band around the point a
DELTA_EDGE = "#e0a060"
ACCENT = "#c0392b"  # the point the figure is about

plt.rcParams.update({
    "font.family": "DejaVu Sans",
    "font.size": 12,
    "mathtext.fontset": "dejavuserif",
    "axes.linewidth": 0.9,
    "axes.edgecolor": INK,
    "xtick.color": INK,
    "ytick.color": INK,
    "xtick.major.size": 4,
    "ytick.major.size": 4,
    "xtick.major.width": 0.9,
    "ytick.major.width": 0.9,
})


def m(text):
    """A label in the italic mathematical style of the pages; none for an empty text."""
    return "$" + text + "$" if text else ""


def axes(fig, rect, xlim, ylim, xname=None, yname=None, origin=(0.0, 0.0)):
    """Axes with two thin arrows crossing at `origin`, ticks only where labelled."""
    ax = fig.add_axes(rect)
    ax.set_xlim(*xlim)
    ax.set_ylim(*ylim)
    for side in ("top", "right"):
        ax.spines[side].set_visible(False)
    ax.spines["left"].set_position(("data", origin[0]))
    ax.spines["bottom"].set_position(("data", origin[1]))
    ax.plot(1, origin[1], ">", color=INK, markersize=5, transform=ax.get_yaxis_transform(), clip_on=False)
    ax.plot(origin[0], 1, "^", color=INK, markersize=5, transform=ax.get_xaxis_transform(), clip_on=False)
    ax.set_xticks([])
    ax.set_yticks([])
    if xname:
        ax.annotate(m(xname), xy=(1, origin[1]), xycoords=("axes fraction", "data"), xytext=(0, -8),
                    textcoords="offset points", ha="right", va="top", color=INK)
    if yname:
        ax.annotate(m(yname), xy=(origin[0], 1), xycoords=("data", "axes fraction"), xytext=(8, 0),
                    textcoords="offset points", ha="left", va="top", color=INK)
    ax.patch.set_alpha(0)
    return ax


def ticks(ax, xs=(), ys=()):
    """Labelled ticks: pairs of a position and its label."""
    ax.set_xticks([x for x, _ in xs], [m(t) for _, t in xs])
    ax.set_yticks([y for y, _ in ys], [m(t) for _, t in ys])


def band_y(ax, low, high, fill=EPS_FILL, edge=EPS_EDGE):
    ax.axhspan(low, high, color=fill, zorder=0, lw=0)
    for y in (low, high):
        ax.axhline(y, color=edge, lw=0.9, ls=(0, (5, 3)), zorder=1)


def band_x(ax, low, high, fill=DELTA_FILL, edge=DELTA_EDGE):
    ax.axvspan(low, high, color=fill, zorder=0, lw=0)
    for x in (low, high):
        ax.axvline(x, color=edge, lw=0.9, ls=(0, (5, 3)), zorder=1)


def guide(ax, x0, y0, x1, y1):
    ax.plot([x0, x1], [y0, y1], color=INK, lw=0.7, ls=(0, (2, 2)), zorder=2)


def hollow(ax, x, y, color=INK, size=7):
    ax.plot(x, y, "o", mfc="white", mec=color, mew=1.3, markersize=size, zorder=5)


def dot(ax, x, y, color=INK, size=6):
    ax.plot(x, y, "o", color=color, markersize=size, zorder=5)


def sample(f, x0, x1, count=400):
    xs = [x0 + (x1 - x0) * i / (count - 1) for i in range(count)]
    return xs, [f(x) for x in xs]


def figure(width=480, height=300):
    return plt.figure(figsize=(width / DPI, height / DPI), dpi=DPI, facecolor="white")


def geometric(start, ratio, N, count):
    """Distances start·ratio^(n−1) for n = 1 … count and an ε between those of N − 1 and N:
    the point before N is clearly outside the band, the point N clearly inside."""
    distances = [start * ratio ** (n - 1) for n in range(1, count + 1)]
    return distances, math.sqrt(distances[N - 2] * distances[N - 1])


def seq_limit():
    """The ε-strip around the limit L: from the number N on every a_n lies in it."""
    fig = figure()
    L, N = 1.6, 4
    r, eps = geometric(1.4, 0.6, N, 22)
    a = [L + (-1) ** n * d for n, d in enumerate(r, start=1)]
    ax = axes(fig, [0.14, 0.1, 0.82, 0.84], (0, 26), (0, 3.15), "n", "a_n")
    band_y(ax, L - eps, L + eps)
    ax.axhline(L, color=EPS_EDGE, lw=1.1, zorder=1)
    ax.axvline(N, color=INK, lw=0.8, ls=(0, (2, 2)), zorder=1)
    for n, v in enumerate(a, start=1):
        if n < N:
            hollow(ax, n, v, EARLY, 6)
        else:
            dot(ax, n, v, POINT, 5)
    ticks(ax, [(1, "1"), (N, "N")], [(L - eps, "L-\\varepsilon"), (L, "L"), (L + eps, "L+\\varepsilon")])
    ax.annotate("", xy=(23.8, L + eps), xytext=(23.8, L),
                arrowprops=dict(arrowstyle="<->", color=INK, lw=0.8, shrinkA=0, shrinkB=0))
    ax.text(24.2, L + eps / 2, m("\\varepsilon"), va="center", color=INK)
    ax.text(N + 0.5, 3.0, m("n \\geq N:\\ |a_n - L| < \\varepsilon"), va="top", color=POINT)
    return fig


def largest_delta(f, a, L, eps):
    """The largest δ (to a thousandth) with |f(x) − L| < ε on 0 < |x − a| < δ."""
    delta = 0.0
    while all(abs(f(a + s * (delta + 0.001)) - L) < eps for s in (-1, 1)):
        delta += 0.001
    return delta


def func_limit():
    """ε–δ: the graph over (a − δ; a + δ) stays in the band (L − ε; L + ε)."""
    fig = figure()

    def f(x):
        return 0.55 + 0.35 * x + 0.15 * math.sin(2.2 * x)

    a, eps = 2.0, 0.38
    L = f(a)
    delta = round(0.8 * largest_delta(f, a, L, eps), 2)
    ax = axes(fig, [0.14, 0.1, 0.82, 0.84], (0, 4.7), (0, 2.75), "x", "y")
    band_y(ax, L - eps, L + eps)
    band_x(ax, a - delta, a + delta)
    ax.add_patch(plt.Rectangle((a - delta, L - eps), 2 * delta, 2 * eps, color="#cdd9c4", zorder=0, lw=0))
    xs, ys = sample(f, 0.15, 4.5)
    ax.plot(xs, ys, color=INK, lw=1.4, zorder=3)
    xs, ys = sample(f, a - delta, a + delta)
    ax.plot(xs, ys, color=POINT, lw=2.6, zorder=4)
    guide(ax, a, 0, a, L)
    guide(ax, 0, L, a, L)
    hollow(ax, a, L, POINT)
    ticks(ax, [(a - delta, "a-\\delta"), (a, "a"), (a + delta, "a+\\delta")],
          [(L - eps, "L-\\varepsilon"), (L, "L"), (L + eps, "L+\\varepsilon")])
    ax.text(4.5, f(4.5) + 0.08, m("y = f(x)"), ha="right", va="bottom", color=INK)
    return fig


def monotone_sup():
    """A non-decreasing bounded sequence climbs to s = sup a_n and enters (s − ε; s]."""
    fig = figure()
    s, N = 2.4, 4
    r, eps = geometric(1.5, 0.6, N, 24)
    a = [s - d for d in r]
    ax = axes(fig, [0.14, 0.1, 0.82, 0.84], (0, 25.5), (0, 2.85), "n", "a_n")
    ax.axhspan(s - eps, s, color=EPS_FILL, zorder=0, lw=0)
    ax.axhline(s - eps, color=EPS_EDGE, lw=0.9, ls=(0, (5, 3)), zorder=1)
    ax.axhline(s, color=ACCENT, lw=1.2, zorder=1)
    ax.axvline(N, color=INK, lw=0.8, ls=(0, (2, 2)), zorder=1)
    for n, v in enumerate(a, start=1):
        if n < N:
            hollow(ax, n, v, EARLY, 6)
        else:
            dot(ax, n, v, POINT, 5)
    ticks(ax, [(1, "1"), (N, "N")], [(s - eps, "s-\\varepsilon"), (s, "s")])
    ax.text(25, s + 0.07, m("s = \\sup\\,\\{a_n\\}"), ha="right", va="bottom", color=ACCENT)
    ax.text(N + 0.4, s - eps - 0.07, m("a_N > s-\\varepsilon"), va="top", color=POINT)
    return fig


def intermediate_value():
    """A continuous f on [a; b] with f(a) < y < f(b) takes the value y at some c, here at three."""
    fig = figure()
    a, b = 0.6, 4.3

    def f(x):
        t = (x - a) / (b - a)
        return 0.5 + 2.1 * t + 0.7 * math.sin(2 * math.pi * t)

    fa, fb = f(a), f(b)
    y = 1.55
    # The level y is named as in the theorem, so the vertical axis stays unnamed.
    ax = axes(fig, [0.14, 0.1, 0.82, 0.84], (0, 4.8), (0, 3.0), "x")
    xs, ys = sample(f, a, b)
    ax.plot(xs, ys, color=INK, lw=1.6, zorder=3)
    ax.axhline(y, color=ACCENT, lw=1.1, ls=(0, (5, 3)), zorder=2)
    guide(ax, a, 0, a, fa)
    guide(ax, 0, fa, a, fa)
    guide(ax, b, 0, b, fb)
    guide(ax, 0, fb, b, fb)
    dot(ax, a, fa, INK, 5)
    dot(ax, b, fb, INK, 5)
    roots = []
    for x0, x1 in zip(xs, xs[1:]):
        if (f(x0) - y) * (f(x1) - y) <= 0:
            lo, hi = x0, x1
            for _ in range(40):
                mid = (lo + hi) / 2
                lo, hi = (mid, hi) if (f(lo) - y) * (f(mid) - y) > 0 else (lo, mid)
            roots.append((lo + hi) / 2)
    for c in roots:
        guide(ax, c, 0, c, y)
        dot(ax, c, y, ACCENT, 6)
    names = ["c"] if len(roots) == 1 else ["c_%d" % (i + 1) for i in range(len(roots))]
    ticks(ax, [(a, "a")] + list(zip(roots, names)) + [(b, "b")], [(fa, "f(a)"), (y, "y"), (fb, "f(b)")])
    ax.get_yticklabels()[1].set_color(ACCENT)
    return fig


def discontinuities():
    """A jump (the one-sided limits differ) and a removable break (the limit is not f(a))."""
    fig = figure()
    fig.text(0.27, 0.95, "скачок", ha="center", va="top", color=INK)
    fig.text(0.77, 0.95, "устранимый разрыв", ha="center", va="top", color=INK)
    a = 1.6
    left = axes(fig, [0.08, 0.1, 0.4, 0.76], (0, 3.2), (0, 2.6), "x", "y")
    xs, ys = sample(lambda x: 0.35 + 0.3 * x, 0.2, a)
    left.plot(xs, ys, color=INK, lw=1.6, zorder=3)
    xs, ys = sample(lambda x: 1.3 + 0.35 * (x - a), a, 3.0)
    left.plot(xs, ys, color=INK, lw=1.6, zorder=3)
    low, high = 0.35 + 0.3 * a, 1.3
    guide(left, a, 0, a, low)
    hollow(left, a, low)
    dot(left, a, high, ACCENT)
    left.text(a + 0.12, high + 0.08, m("f(a)"), va="bottom", ha="right", color=ACCENT)
    ticks(left, [(a, "a")])

    def g(x):
        return 0.5 + 0.5 * x - 0.12 * x * x

    right = axes(fig, [0.58, 0.1, 0.4, 0.76], (0, 3.2), (0, 2.6), "x", "y")
    xs, ys = sample(g, 0.2, 3.0)
    right.plot(xs, ys, color=INK, lw=1.6, zorder=3)
    L, fa = g(a), 2.1
    guide(right, a, 0, a, fa)
    guide(right, 0, L, a, L)
    guide(right, 0, fa, a, fa)
    hollow(right, a, L)
    dot(right, a, fa, ACCENT)
    ticks(right, [(a, "a")], [(L, "L"), (fa, "f(a)")])
    right.get_yticklabels()[1].set_color(ACCENT)
    return fig


def nested_intervals():
    """Halving: each segment is a half of the one above, and all close in on one point c."""
    fig = figure(480, 260)
    ax = fig.add_axes([0.04, 0.04, 0.92, 0.92])
    ax.set_axis_off()
    ax.set_xlim(-0.3, 8.3)
    ax.set_ylim(-1.2, 5.6)
    lo, hi = 0.0, 8.0
    c = 5.3
    for level in range(6):
        y = 5 - level
        ax.plot([lo, hi], [y, y], color=POINT, lw=2.4 - 0.25 * level, solid_capstyle="butt", zorder=3)
        for x in (lo, hi):
            ax.plot([x, x], [y - 0.16, y + 0.16], color=POINT, lw=1.3, zorder=3)
        if level < 4:
            ax.text(lo, y + 0.22, m("a_%d" % (level + 1)), ha="center", va="bottom", color=INK, fontsize=11)
            ax.text(hi, y + 0.22, m("b_%d" % (level + 1)), ha="center", va="bottom", color=INK, fontsize=11)
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if c > mid else (lo, mid)
    ax.annotate("", xy=(8.3, -0.5), xytext=(-0.3, -0.5),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    ax.plot([c, c], [-0.5, 5.2], color=ACCENT, lw=0.9, ls=(0, (3, 3)), zorder=2)
    dot(ax, c, -0.5, ACCENT)
    ax.text(c, -0.72, m("c"), ha="center", va="top", color=ACCENT)
    return fig


def sup_of_set():
    """On the number line: A = [a; s), its upper bounds [s; +∞) and s − ε, which is no longer one."""
    fig = figure(480, 170)
    ax = fig.add_axes([0.03, 0.05, 0.94, 0.9])
    ax.set_axis_off()
    ax.set_xlim(-0.2, 10.2)
    ax.set_ylim(-1.0, 1.9)
    a, s, eps = 1.0, 6.0, 2.2
    ax.annotate("", xy=(10.2, 0), xytext=(-0.2, 0),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    ax.plot([a, s], [0, 0], color=POINT, lw=4, solid_capstyle="butt", zorder=3)
    dot(ax, a, 0, POINT, 7)
    ax.text((a + s) / 2, 0.3, m("A"), ha="center", va="bottom", color=POINT, fontsize=14)
    ax.plot([s, 10.0], [0.9, 0.9], color=ACCENT, lw=2.5, solid_capstyle="butt", zorder=3)
    ax.annotate("", xy=(10.15, 0.9), xytext=(9.9, 0.9),
                arrowprops=dict(arrowstyle="-|>", color=ACCENT, lw=0, shrinkA=0, shrinkB=0, mutation_scale=12))
    ax.text(8.0, 1.15, "верхние грани", ha="center", va="bottom", color=ACCENT, fontsize=11)
    ax.plot([s, s], [0, 0.9], color=ACCENT, lw=0.8, ls=(0, (2, 2)), zorder=2)
    hollow(ax, s, 0, POINT, 8)
    dot(ax, s, 0.9, ACCENT, 6)
    x = s - 0.8
    ax.axvspan(s - eps, s, ymin=0.3, ymax=0.5, color=EPS_FILL, lw=0, zorder=1)
    dot(ax, x, 0, INK, 5)
    ax.text(x, 0.25, m("x"), ha="center", va="bottom", color=INK)
    for pos, label in ((a, "a"), (s - eps, "s-\\varepsilon"), (s, "s = \\sup A")):
        ax.plot([pos, pos], [-0.12, 0.12], color=INK, lw=0.9, zorder=4)
        ax.text(pos, -0.3, m(label), ha="center", va="top", color=INK)
    return fig


def completeness():
    """The completeness axiom: every element of A is at most every element of B, and c separates them."""
    fig = figure(480, 130)
    ax = fig.add_axes([0.03, 0.05, 0.94, 0.9])
    ax.set_axis_off()
    ax.set_xlim(-0.2, 10.2)
    ax.set_ylim(-0.9, 1.0)
    ax.annotate("", xy=(10.2, 0), xytext=(-0.2, 0),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    c = 5.0
    ax.plot([0.8, 3.2], [0, 0], color=POINT, lw=4, solid_capstyle="butt", zorder=3)
    for x in (3.9, 4.5):
        dot(ax, x, 0, POINT, 6)
    ax.text(2.6, 0.35, m("A"), ha="center", va="bottom", color=POINT, fontsize=14)
    for x in (5.6, 6.4):
        dot(ax, x, 0, DELTA_EDGE, 6)
    ax.plot([7.0, 9.4], [0, 0], color=DELTA_EDGE, lw=4, solid_capstyle="butt", zorder=3)
    ax.text(7.6, 0.35, m("B"), ha="center", va="bottom", color=DELTA_EDGE, fontsize=14)
    ax.plot([c, c], [-0.18, 0.18], color=ACCENT, lw=1.6, zorder=4)
    ax.text(c, -0.35, m("c"), ha="center", va="top", color=ACCENT, fontsize=13)
    return fig


def number_line(height, ylim):
    """A figure with a single horizontal number line through y = 0."""
    fig = figure(480, height)
    ax = fig.add_axes([0.03, 0.03, 0.94, 0.94])
    ax.set_axis_off()
    ax.set_xlim(-0.2, 10.2)
    ax.set_ylim(*ylim)
    ax.annotate("", xy=(10.2, 0), xytext=(-0.2, 0),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    return fig, ax


def mark(ax, x, label, color=INK, size=None):
    """A tick on the number line with its label under it."""
    ax.plot([x, x], [-0.12, 0.12], color=color, lw=0.9, zorder=4)
    ax.text(x, -0.3, m(label), ha="center", va="top", color=color, fontsize=size)


def upper_bounds():
    """A set A on the number line and some of its upper bounds: numbers not less than every element."""
    fig, ax = number_line(150, (-1.0, 1.3))
    ax.plot([0.8, 4.2], [0, 0], color=POINT, lw=4, solid_capstyle="butt", zorder=3)
    for x in (4.8, 5.4):
        dot(ax, x, 0, POINT, 6)
    ax.text(2.5, 0.3, m("A"), ha="center", va="bottom", color=POINT, fontsize=14)
    for i, x in enumerate((5.4, 7.0, 8.9), start=1):
        ax.plot([x, x], [0.15, 0.75], color=ACCENT, lw=1.3, zorder=4)
        ax.text(x, 0.82, m("M_%d" % i), ha="center", va="bottom", color=ACCENT)
    return fig


def no_maximum():
    """The interval (a; b) has no largest element: the midpoint y of x and b is larger than x."""
    fig, ax = number_line(150, (-1.0, 1.2))
    a, b, x = 1.0, 9.0, 4.0
    y = (x + b) / 2
    ax.plot([a, b], [0, 0], color=POINT, lw=4, solid_capstyle="butt", zorder=3)
    hollow(ax, a, 0, POINT, 8)
    hollow(ax, b, 0, POINT, 8)
    dot(ax, x, 0, INK, 6)
    dot(ax, y, 0, ACCENT, 6)
    for left, right in ((x, y), (y, b)):
        ax.annotate("", xy=(right, 0.35), xytext=(left, 0.35),
                    arrowprops=dict(arrowstyle="<->", color=INK, lw=0.8, shrinkA=0, shrinkB=0))
    ax.text(y, 0.5, m("y = (x+b)/2"), ha="center", va="bottom", color=ACCENT)
    for pos, label, color in ((a, "a", INK), (x, "x", INK), (y, "y", ACCENT), (b, "b", INK)):
        ax.text(pos, -0.3, m(label), ha="center", va="top", color=color)
    return fig


def integer_labels(ax, xs, ys, va="center"):
    """Integer ticks; the labels of the vertical axis stand right of it, where the steps leave room."""
    name = lambda k: "%d" % k if k >= 0 else "-%d" % -k  # noqa: E731
    ax.set_xticks(xs, [m(name(k)) for k in xs])
    ax.set_yticks(ys, [""] * len(ys))
    for k in ys:
        ax.text(0.12, k, m(name(k)), ha="left", va=va, color=INK)


def floor_graph():
    """y = [x]: steps closed at the left end and open at the right one."""
    fig = figure()
    ax = axes(fig, [0.08, 0.08, 0.88, 0.86], (-2.8, 3.8), (-3.4, 3.9), "x", "y")
    for k in range(-3, 4):
        lo, hi = max(k, -2.6), min(k + 1, 3.6)
        if lo >= hi:
            continue
        ax.plot([lo, hi], [k, k], color=POINT, lw=2, zorder=3)
        if lo == k:
            dot(ax, k, k, POINT, 6)
        if hi == k + 1:
            hollow(ax, k + 1, k, POINT, 6)
    integer_labels(ax, [k for k in range(-2, 4) if k], [k for k in range(-3, 4) if k])
    ax.text(-2.5, 2.6, m("y = [x]"), color=POINT)
    return fig


def frac_graph():
    """y = frac(x) = x − [x]: teeth of height 1, each closed at the left end and open at the right one."""
    fig = figure(480, 220)
    ax = axes(fig, [0.08, 0.1, 0.88, 0.84], (-2.8, 3.8), (-0.35, 1.55), "x", "y")
    ax.axhline(1, color=EPS_EDGE, lw=0.9, ls=(0, (5, 3)), zorder=1)
    for k in range(-3, 4):
        lo, hi = max(k, -2.6), min(k + 1, 3.6)
        if lo >= hi:
            continue
        ax.plot([lo, hi], [lo - k, hi - k], color=POINT, lw=2, zorder=3)
        if lo == k:
            dot(ax, k, 0, POINT, 6)
        if hi == k + 1:
            hollow(ax, k + 1, 1, POINT, 6)
    integer_labels(ax, [k for k in range(-2, 4) if k], [1], va="bottom")
    ax.text(-2.5, 1.15, m("y = \\mathrm{frac}(x)"), color=POINT)
    return fig


def cantor_thirds():
    """Cantor's argument, each step magnified: of the three thirds the one without x_k is kept."""
    fig = figure(480, 250)
    ax = fig.add_axes([0.03, 0.03, 0.94, 0.94])
    ax.set_axis_off()
    ax.set_xlim(-1.4, 9.6)
    ax.set_ylim(-0.6, 4.4)
    points = (4.1, 8.2, 1.3)  # x_1, x_2, x_3 in the coordinates of their magnified segment
    picks = (2, 0, 1)  # the third kept at each step
    for level, (x, pick) in enumerate(zip(points, picks)):
        y = 3.7 - 1.6 * level
        ax.plot([0, 9], [y, y], color=EARLY, lw=1.2, zorder=2)
        for i in range(4):
            ax.plot([3 * i] * 2, [y - 0.12, y + 0.12], color=EARLY, lw=1.0, zorder=2)
        ax.plot([3 * pick, 3 * pick + 3], [y, y], color=POINT, lw=3.2, solid_capstyle="butt", zorder=3)
        dot(ax, x, y, ACCENT, 6)
        ax.text(x, y + 0.2, m("x_%d" % (level + 1)), ha="center", va="bottom", color=ACCENT)
        ax.text(-0.4, y, m("I_%d" % (level + 1)), ha="right", va="center", color=INK)
        if level < 2:  # the kept third, magnified below
            guide(ax, 3 * pick, y - 0.15, 0, y - 1.45)
            guide(ax, 3 * pick + 3, y - 0.15, 9, y - 1.45)
    ax.text(4.5, -0.25, m("\\ldots"), ha="center", va="center", color=INK)
    return fig


def finite_cover():
    """Intervals covering [a; b] (grey) and a finite subcover chosen from them (blue)."""
    fig = figure(480, 220)
    ax = fig.add_axes([0.03, 0.03, 0.94, 0.94])
    ax.set_axis_off()
    ax.set_xlim(-0.2, 10.2)
    ax.set_ylim(-1.0, 3.3)
    a, b = 1.0, 9.0
    ax.annotate("", xy=(10.2, 0), xytext=(-0.2, 0),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    ax.plot([a, b], [0, 0], color=INK, lw=3, solid_capstyle="butt", zorder=3)
    for x, label in ((a, "a"), (b, "b")):
        dot(ax, x, 0, INK, 6)
        ax.text(x, -0.25, m(label), ha="center", va="top", color=INK)
    others = [(1.6, 3.1), (2.4, 4.0), (3.3, 4.6), (4.2, 5.4), (5.0, 6.6), (6.1, 7.3), (7.0, 8.3), (7.8, 8.9),
              (2.0, 2.9), (5.6, 6.3)]
    chosen = [(0.4, 2.6), (2.2, 4.4), (4.0, 6.4), (6.0, 8.1), (7.7, 9.7)]
    for i, (u, v) in enumerate(others):
        y = 0.55 + 0.3 * (i % 4)
        ax.plot([u, v], [y, y], color=EARLY, lw=1.2, zorder=2)
        ax.text(u, y, "(", ha="center", va="center", color=EARLY, fontsize=10)
        ax.text(v, y, ")", ha="center", va="center", color=EARLY, fontsize=10)
    for i, (u, v) in enumerate(chosen):
        y = 1.95 + 0.35 * (i % 2)
        ax.plot([u, v], [y, y], color=POINT, lw=2.2, zorder=3)
        ax.text(u, y, "(", ha="center", va="center", color=POINT, fontsize=13)
        ax.text(v, y, ")", ha="center", va="center", color=POINT, fontsize=13)
    return fig


def partial_limits():
    """A bounded sequence with the partial limits lim inf a and lim sup a: its terms crowd near two levels."""
    fig = figure()
    high, low = 1.6, -0.7
    ax = axes(fig, [0.2, 0.08, 0.76, 0.86], (0, 31), (-1.8, 2.7), "n", "a_n")
    for level in (low, high):
        band_y(ax, level - 0.15, level + 0.15)
        ax.axhline(level, color=EPS_EDGE, lw=1.1, zorder=1)
    for n in range(1, 31):
        if n % 2 == 0:
            v = high + 0.9 * (-1) ** (n // 2) / n ** 0.75
            dot(ax, n, v, POINT, 5)
        else:
            v = low - 0.8 / n ** 0.6
            dot(ax, n, v, ACCENT, 5)
    ticks(ax, [], [(low, "\\mathrm{lim\\,inf}\\, a"), (high, "\\mathrm{lim\\,sup}\\, a")])
    return fig


def discontinuity_kinds():
    """Three breaks at a: removable, a jump, and of the second kind (one-sided limits infinite)."""
    fig = figure(480, 230)
    a = 1.6
    titles = ("устранимый", "скачок", "второго рода")
    panels = []
    for i, title in enumerate(titles):
        left = 0.04 + i * 0.325
        fig.text(left + 0.14, 0.96, title, ha="center", va="top", color=INK, fontsize=11)
        middle = i == 2  # the third graph goes below the horizontal axis too
        panels.append(axes(fig, [left, 0.15, 0.28, 0.67], (0, 3.2), (-2.6, 2.6) if middle else (0, 2.6), "x", "y"))
    removable, jump, second = panels

    def g(x):
        return 0.5 + 0.5 * x - 0.12 * x * x

    xs, ys = sample(g, 0.2, 3.0)
    removable.plot(xs, ys, color=INK, lw=1.5, zorder=3)
    guide(removable, a, 0, a, 2.1)
    hollow(removable, a, g(a))
    dot(removable, a, 2.1, ACCENT)
    ticks(removable, [(a, "a")])
    for lo, hi, f in ((0.2, a, lambda x: 0.35 + 0.3 * x), (a, 3.0, lambda x: 1.3 + 0.35 * (x - a))):
        xs, ys = sample(f, lo, hi)
        jump.plot(xs, ys, color=INK, lw=1.5, zorder=3)
    guide(jump, a, 0, a, 1.3)
    hollow(jump, a, 0.35 + 0.3 * a)
    dot(jump, a, 1.3, ACCENT)
    ticks(jump, [(a, "a")])
    for lo, hi in ((0.2, a - 0.14), (a + 0.14, 3.0)):
        xs, ys = sample(lambda x: 0.3 / (x - a), lo, hi)
        second.plot(xs, ys, color=INK, lw=1.5, zorder=3)
    second.axvline(a, color=EARLY, lw=0.8, ls=(0, (3, 3)), zorder=1)
    ticks(second, [(a, "a")])
    return fig


def infinite_limit():
    """1/x² tends to +∞ at 0: for any level E the graph over (−δ; δ), but for 0, lies above E."""
    fig = figure()
    E = 2.4
    delta = round(0.85 / math.sqrt(E), 2)
    ax = axes(fig, [0.06, 0.1, 0.9, 0.84], (-2.3, 2.3), (0, 4.6), "x", "y", origin=(0, 0))
    ax.axhspan(E, 4.6, color=EPS_FILL, zorder=0, lw=0)
    ax.axhline(E, color=EPS_EDGE, lw=0.9, ls=(0, (5, 3)), zorder=1)
    band_x(ax, -delta, delta)
    for lo, hi in ((-2.2, -0.45), (0.45, 2.2)):
        xs, ys = sample(lambda x: 1 / (x * x), lo, hi)
        ax.plot(xs, ys, color=INK, lw=1.5, zorder=3)
    for lo, hi in ((-delta, -0.46), (0.46, delta)):
        xs, ys = sample(lambda x: 1 / (x * x), lo, hi)
        ax.plot(xs, ys, color=POINT, lw=2.6, zorder=4)
    ticks(ax, [(-delta, "-\\delta"), (delta, "\\delta")], [(E, "E")])
    ax.text(1.15, 1 / 1.15 ** 2 + 0.25, m("y = 1/x^2"), ha="left", va="bottom", color=INK)
    return fig


def unit_circle():
    """The triangle 0, (1; 0), (cos x; sin x) inside the sector of angle x inside the right triangle with leg tg x."""
    fig = figure()
    ax = fig.add_axes([0.06, 0.06, 0.9, 0.9])
    ax.set_axis_off()
    ax.set_aspect("equal")
    ax.set_xlim(-0.25, 1.75)
    ax.set_ylim(-0.15, 1.2)
    x = 0.82
    c, s, t = math.cos(x), math.sin(x), math.tan(x)
    ax.add_patch(plt.Polygon([(0, 0), (1, 0), (1, t)], closed=True, fc=DELTA_FILL, ec=DELTA_EDGE, lw=1.0, zorder=1))
    arc = [(math.cos(u), math.sin(u)) for u in (x * i / 60 for i in range(61))]
    ax.add_patch(plt.Polygon([(0, 0)] + arc, closed=True, fc=EPS_FILL, ec=EPS_EDGE, lw=1.0, zorder=2))
    ax.add_patch(plt.Polygon([(0, 0), (1, 0), (c, s)], closed=True, fc="#a9c6ea", ec=POINT, lw=1.0, zorder=3))
    xs = [math.cos(u) for u in (math.pi / 2 * i / 90 for i in range(91))]
    ys = [math.sin(u) for u in (math.pi / 2 * i / 90 for i in range(91))]
    ax.plot(xs, ys, color=EARLY, lw=0.8, zorder=1)
    ax.annotate("", xy=(1.7, 0), xytext=(-0.2, 0),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    ax.annotate("", xy=(0, 1.18), xytext=(0, -0.12),
                arrowprops=dict(arrowstyle="-|>", color=INK, lw=0.9, shrinkA=0, shrinkB=0, mutation_scale=10))
    ax.plot([c, c], [0, s], color=INK, lw=0.7, ls=(0, (2, 2)), zorder=4)
    dot(ax, c, s, POINT, 5)
    dot(ax, 1, t, DELTA_EDGE, 5)
    angle = [(0.2 * math.cos(u), 0.2 * math.sin(u)) for u in (x * i / 30 for i in range(31))]
    ax.plot(*zip(*angle), color=INK, lw=0.9, zorder=4)
    ax.text(0.24 * math.cos(x / 2), 0.24 * math.sin(x / 2), m("x"), ha="left", va="center", color=INK, zorder=5)
    ax.text(0, -0.04, m("0"), ha="right", va="top", color=INK)
    ax.text(1, -0.04, m("1"), ha="center", va="top", color=INK)
    ax.text(c - 0.03, s + 0.03, m("(\\cos x;\\ \\sin x)"), ha="right", va="bottom", color=POINT)
    ax.text(1.04, t / 2, m("\\mathrm{tg}\\, x"), ha="left", va="center", color=DELTA_EDGE)
    ax.text(c - 0.02, s / 2, m("\\sin x"), ha="right", va="center", color=POINT, fontsize=11)
    return fig


def sin_inverse():
    """sin(1/x) on (0; 1): ever faster oscillation between −1 and 1 near zero."""
    fig = figure()
    ax = axes(fig, [0.1, 0.1, 0.86, 0.84], (0, 1.08), (-1.45, 1.45), "x", "y")
    ax.spines["bottom"].set_position(("data", 0))
    for level in (-1, 1):
        ax.axhline(level, color=EPS_EDGE, lw=0.9, ls=(0, (5, 3)), zorder=1)
    # Even steps in 1/x, so that every swing near zero gets its points.
    ts = [1 + 0.01 * i for i in range(40000)]
    ax.plot([1 / t for t in ts], [math.sin(t) for t in ts], color=INK, lw=0.7, zorder=3)
    ticks(ax, [(1, "1")], [(-1, "-1"), (1, "1")])
    ax.text(0.55, 1.12, m("y = \\sin(1/x)"), ha="left", va="bottom", color=INK)
    return fig


def intersection():
    """(0; 2) ∩ (1; 3) = (1; 2) on the number line."""
    fig, ax = number_line(150, (-0.9, 1.55))
    unit = 2.5
    ax.axvspan(1 * unit + 0.5, 2 * unit + 0.5, ymin=0.2, ymax=0.95, color=EPS_FILL, lw=0, zorder=0)
    for (lo, hi), y, color, name in (((0, 2), 1.05, POINT, "(0;\\ 2)"), ((1, 3), 0.6, DELTA_EDGE, "(1;\\ 3)")):
        ax.plot([lo * unit + 0.5, hi * unit + 0.5], [y, y], color=color, lw=2.5, solid_capstyle="butt", zorder=3)
        for end in (lo, hi):
            hollow(ax, end * unit + 0.5, y, color, 7)
        ax.text(hi * unit + 0.75, y, m(name), ha="left", va="center", color=color)
    ax.plot([1 * unit + 0.5, 2 * unit + 0.5], [0, 0], color=ACCENT, lw=3.5, solid_capstyle="butt", zorder=3)
    for end in (1, 2):
        hollow(ax, end * unit + 0.5, 0, ACCENT, 7)
    for k in range(4):
        ax.text(k * unit + 0.5, -0.25, m(str(k)), ha="center", va="top", color=INK)
        if k in (0, 3):
            ax.plot([k * unit + 0.5] * 2, [-0.1, 0.1], color=INK, lw=0.9)
    return fig


def root():
    """The n-th root of x as the point y where A = {t ≥ 0 : tⁿ ≤ x} meets B = {t ≥ 0 : tⁿ ≥ x}."""
    fig = figure()
    n, x = 3, 1.9
    y = x ** (1 / n)
    ax = axes(fig, [0.1, 0.04, 0.86, 0.9], (-0.1, 1.85), (-0.95, 3.4), "t", None, origin=(0, 0))
    xs, ys = sample(lambda u: u ** n, 0, 1.48)
    ax.plot(xs, ys, color=INK, lw=1.5, zorder=3)
    ax.axhline(x, color=ACCENT, lw=0.9, ls=(0, (5, 3)), zorder=1)
    guide(ax, y, 0, y, x)
    ax.plot([0, y], [-0.5, -0.5], color=POINT, lw=3, solid_capstyle="butt", zorder=3)
    ax.plot([y, 1.8], [-0.5, -0.5], color=DELTA_EDGE, lw=3, solid_capstyle="butt", zorder=3)
    ax.text(y / 2, -0.62, m("A"), ha="center", va="top", color=POINT)
    ax.text((y + 1.8) / 2, -0.62, m("B"), ha="center", va="top", color=DELTA_EDGE)
    dot(ax, y, x, ACCENT, 6)
    ticks(ax, [(y, "y")], [(x, "x")])
    ax.get_yticklabels()[0].set_color(ACCENT)
    ax.text(1.5, 1.48 ** n, m("t^n"), ha="left", va="center", color=INK)
    return fig


def monotone_jump():
    """A non-decreasing f with a jump at c: the one-sided limits are sup f((a; c)) and inf f((c; b))."""
    fig = figure()
    a, c, b = 0.3, 1.9, 3.5
    low, high, value = 1.0, 1.9, 1.45
    ax = axes(fig, [0.27, 0.1, 0.69, 0.84], (0, 3.8), (0, 2.9), "x", "y")
    xs, ys = sample(lambda x: low - 0.6 * ((c - x) / (c - a)) ** 1.5, a, c)
    ax.plot(xs, ys, color=INK, lw=1.6, zorder=3)
    xs, ys = sample(lambda x: high + 0.7 * ((x - c) / (b - c)) ** 0.8, c, b)
    ax.plot(xs, ys, color=INK, lw=1.6, zorder=3)
    for level in (low, high):
        guide(ax, 0, level, c, level)
    guide(ax, c, 0, c, high)
    hollow(ax, c, low)
    hollow(ax, c, high)
    dot(ax, c, value, ACCENT)
    ax.text(c + 0.1, value, m("f(c)"), ha="left", va="center", color=ACCENT)
    for x in (a, b):
        hollow(ax, x, low - 0.6 if x == a else high + 0.7, EARLY, 6)
    ticks(ax, [(a, "a"), (c, "c"), (b, "b")], [(low, "\\sup\\, f((a;\\ c))"), (high, "\\inf\\, f((c;\\ b))")])
    return fig


def exp_tangent():
    """exp touches the line y = 1 + x at (0; 1); 2^x crosses it at 0 and 1 and lies below it between."""
    fig = figure()
    ax = axes(fig, [0.08, 0.1, 0.88, 0.84], (-2.6, 2.0), (-0.6, 4.6), "x", "y", origin=(0, 0))
    xs, ys = sample(lambda x: 1 + x, -1.6, 1.9)
    ax.plot(xs, ys, color=ACCENT, lw=1.1, ls=(0, (5, 3)), zorder=2)
    xs, ys = sample(math.exp, -2.5, 1.5)
    ax.plot(xs, ys, color=INK, lw=1.7, zorder=3)
    xs, ys = sample(lambda x: 2 ** x, -2.5, 1.95)
    ax.plot(xs, ys, color=POINT, lw=1.5, zorder=3)
    dot(ax, 0, 1, INK, 5)
    dot(ax, 1, 2, POINT, 5)
    ticks(ax, [(1, "1")], [(1, "")])
    ax.text(-0.1, 1.05, m("1"), ha="right", va="bottom", color=INK)
    ax.text(1.2, 4.2, m("y = \\exp x"), ha="right", va="center", color=INK)
    ax.text(1.3, 1.75, m("y = 2^x"), ha="left", va="top", color=POINT)
    ax.text(-0.9, -0.4, m("y = 1 + x"), ha="left", va="center", color=ACCENT)
    return fig


FIGURES = {
    "seq_limit": seq_limit,
    "func_limit": func_limit,
    "monotone_sup": monotone_sup,
    "intermediate_value": intermediate_value,
    "discontinuities": discontinuities,
    "nested_intervals": nested_intervals,
    "sup_of_set": sup_of_set,
    "completeness": completeness,
    "upper_bounds": upper_bounds,
    "no_maximum": no_maximum,
    "floor": floor_graph,
    "frac": frac_graph,
    "cantor_thirds": cantor_thirds,
    "finite_cover": finite_cover,
    "partial_limits": partial_limits,
    "discontinuity_kinds": discontinuity_kinds,
    "infinite_limit": infinite_limit,
    "unit_circle": unit_circle,
    "sin_inverse": sin_inverse,
    "intersection": intersection,
    "root": root,
    "monotone_jump": monotone_jump,
    "exp_tangent": exp_tangent,
}


def save(fig, path):
    """A palette PNG written to a temporary name and renamed."""
    raw = io.BytesIO()
    fig.savefig(raw, format="png", dpi=DPI, facecolor="white", metadata={"Software": None})
    plt.close(fig)
    raw.seek(0)
    image = Image.open(raw).convert("RGB").quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    temporary = path + ".tmp"
    image.save(temporary, format="PNG", optimize=True)
    os.replace(temporary, path)


def main(argv):
    if len(argv) != 2:
        print("usage: draw_figures.py OUTPUT_DIRECTORY", file=sys.stderr)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, draw in FIGURES.items():
        path = os.path.join(argv[1], name + ".png")
        save(draw(), path)
        print(path, os.path.getsize(path), "bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
