#!/usr/bin/env python3
"""Draws Quillon's artwork.

Every picture is described here as SVG, written to artwork/ and rendered into
images/ (PNG, and the About box JPEG).  The rendered files are committed, so
building the program never runs this script; run it only after changing a
picture:

    python3 resources/make_artwork.py

Needs rsvg-convert (Debian: librsvg2-bin), ImageMagick's convert and the
Liberation fonts (fonts-liberation).
"""

import math
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SVG_DIR = os.path.join(HERE, "artwork")
OUT_DIR = os.path.join(HERE, "images")

# One palette for everything the program shows.
NAVY = "#1F3A6E"
NAVY_DARK = "#132848"
NAVY_MID = "#2C4F8C"
NAVY_LIGHT = "#4A6FA5"
SKY = "#DCE6F2"
PALE = "#EEF2F8"
COPPER = "#C8702A"
COPPER_LIGHT = "#E7954F"
COPPER_DARK = "#94501C"
CREAM = "#FBF4E8"
WHITE = "#FFFFFF"

FONT = "Liberation Sans"


def fmt(v):
    """Short decimal text for coordinates, so the SVG stays readable."""
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


def svg(width, height, body, defs=""):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="0 0 {width} {height}">\n'
        + (f"<defs>\n{defs}\n</defs>\n" if defs else "")
        + body
        + "\n</svg>\n"
    )


def text(x, y, s, size, fill, weight="bold", anchor="start", spacing=0, family=FONT, extra=""):
    s = s.replace("&", "&amp;")
    ls = f' letter-spacing="{fmt(spacing)}"' if spacing else ""
    return (
        f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="{family}" font-size="{fmt(size)}" '
        f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}"{ls}{extra}>{s}</text>'
    )


def corrugated_ring(cx, cy, r_mid, amplitude, waves, steps=720):
    """Closed outline of a corrugated conductor: a circle with a sine ripple."""
    pts = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        r = r_mid + amplitude * math.sin(waves * t)
        pts.append(f"{fmt(cx + r * math.cos(t))},{fmt(cy + r * math.sin(t))}")
    return "M" + " L".join(pts) + " Z"


def coax_mark(cx, cy, r, detailed=False):
    """The Tarvex mark: a coax cable seen end-on.

    Jacket, outer conductor, dielectric and the copper centre conductor.  The
    detailed form corrugates the outer conductor, which only reads at sizes
    above about 60 pixels.
    """
    parts = [f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="{NAVY}"/>']
    if detailed:
        # Corrugated outer conductor, drawn as a rippled copper band.
        parts.append(
            f'<path d="{corrugated_ring(cx, cy, r * 0.765, r * 0.018, 48)}" fill="none" '
            f'stroke="url(#copperRing)" stroke-width="{fmt(r * 0.085)}"/>'
        )
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.715)}" fill="url(#foam)"/>')
        # Foam dielectric: a faint inner ring where it bonds to the centre conductor.
        parts.append(
            f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.33)}" fill="none" '
            f'stroke="{SKY}" stroke-width="{fmt(r * 0.03)}"/>'
        )
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.27)}" fill="url(#copperCore)" '
                     f'stroke="{COPPER_DARK}" stroke-width="{fmt(r * 0.012)}"/>')
    else:
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.74)}" fill="{COPPER}"/>')
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.58)}" fill="{WHITE}"/>')
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.26)}" fill="{COPPER}"/>')
    return "\n".join(parts)


COPPER_DEFS = f"""<linearGradient id="copperCore" x1="0.2" y1="0.1" x2="0.8" y2="0.9">
  <stop offset="0" stop-color="{COPPER_LIGHT}"/><stop offset="0.5" stop-color="{COPPER}"/>
  <stop offset="1" stop-color="{COPPER_DARK}"/>
</linearGradient>
<linearGradient id="copperRing" x1="0" y1="0" x2="1" y2="1">
  <stop offset="0" stop-color="{COPPER_LIGHT}"/><stop offset="1" stop-color="{COPPER_DARK}"/>
</linearGradient>
<radialGradient id="foam" cx="45%" cy="40%" r="65%">
  <stop offset="0" stop-color="{WHITE}"/><stop offset="1" stop-color="{SKY}"/>
</radialGradient>"""


# --- pictures ---------------------------------------------------------------

def logo():
    """126 x 37, transparent: the main window's links and the About box."""
    body = coax_mark(19, 18.5, 16)
    body += "\n" + text(40.5, 26, "TARVEX", 20.5, NAVY, spacing=0.3)
    return svg(126, 37, body)


def about():
    """126 x 37 JPEG for the About box: the logo on a white plate, since a
    JPEG has no transparency to sit on the dialog's own colour."""
    body = f'<rect x="0.5" y="0.5" width="125" height="36" fill="{WHITE}" stroke="#C9D5E5"/>'
    body += "\n" + coax_mark(21, 18.5, 13)
    body += "\n" + text(40.5, 25.5, "TARVEX", 18.5, NAVY, spacing=0.6)
    body += f'\n<rect x="41" y="29" width="74.5" height="1.5" fill="{COPPER}"/>'
    return svg(126, 37, body)


def report_logo():
    """486 x 158, transparent: printed 40.5 x 13.2 mm at the head of a report."""
    body = coax_mark(79, 79, 70, detailed=True)
    body += "\n" + text(172, 85, "TARVEX", 74, NAVY, spacing=2)
    body += f'\n<rect x="174" y="99" width="301" height="3.5" fill="{COPPER}"/>'
    body += "\n" + text(173, 127, "RF TRANSMISSION LINES", 19, NAVY_LIGHT, weight="normal", spacing=3.4)
    return svg(486, 158, body, COPPER_DEFS)


def splash():
    """407 x 243: fills the splash window while the program starts."""
    defs = COPPER_DEFS + f"""
<linearGradient id="splashBack" x1="0" y1="0" x2="1" y2="1">
  <stop offset="0" stop-color="{NAVY_MID}"/><stop offset="1" stop-color="{NAVY_DARK}"/>
</linearGradient>
<radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
  <stop offset="0" stop-color="{NAVY_LIGHT}" stop-opacity="0.55"/>
  <stop offset="1" stop-color="{NAVY_LIGHT}" stop-opacity="0"/>
</radialGradient>"""
    b = [f'<rect width="407" height="243" fill="url(#splashBack)"/>']
    cx, cy, r = 318, 102, 76
    b.append(f'<circle cx="{cx}" cy="{cy}" r="{r * 1.45}" fill="url(#glow)"/>')
    # Field lines of the coax mode: faint rings around the cable.
    for k in range(1, 4):
        b.append(
            f'<circle cx="{cx}" cy="{cy}" r="{fmt(r + 14 * k)}" fill="none" '
            f'stroke="{WHITE}" stroke-opacity="{fmt(0.10 - 0.025 * k)}" stroke-width="1"/>'
        )
    b.append(f'<circle cx="{cx}" cy="{cy}" r="{r + 2}" fill="{NAVY_DARK}" fill-opacity="0.5"/>')
    b.append(coax_mark(cx, cy, r, detailed=True))
    # Maker's line, top left.
    b.append(f'<circle cx="33" cy="34" r="12.5" fill="{WHITE}"/>')
    b.append(coax_mark(33, 34, 11))
    b.append(text(51, 40, "TARVEX", 16, WHITE, spacing=2))
    b.append(text(22, 120, "Quillon", 58, WHITE))
    b.append(f'<rect x="24" y="134" width="150" height="3" fill="{COPPER}"/>')
    b.append(text(24, 160, "Transmission Line Calculator", 16, SKY, weight="normal"))
    b.append(text(24, 180, "& Price List", 16, SKY, weight="normal"))
    b.append(f'<rect y="212" width="407" height="31" fill="{NAVY_DARK}" fill-opacity="0.75"/>')
    b.append(f'<rect y="212" width="407" height="1" fill="{COPPER}" fill-opacity="0.8"/>')
    b.append(text(24, 232, "Tarvex Corporation", 11, WHITE))
    b.append(text(383, 232, "Coax \u00b7 Braided Cable \u00b7 Elliptical Waveguide", 11, SKY,
                  weight="normal", anchor="end"))
    return svg(407, 243, "\n".join(b), defs)


def tower():
    """169 x 184: a broadcast tower at dusk, sending."""
    w, h = 169, 184
    defs = f"""<linearGradient id="dusk" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{NAVY_DARK}"/><stop offset="0.55" stop-color="{NAVY_MID}"/>
  <stop offset="0.85" stop-color="#8C7A8E"/><stop offset="1" stop-color="{COPPER_LIGHT}"/>
</linearGradient>
<radialGradient id="beacon" cx="0.5" cy="0.5" r="0.5">
  <stop offset="0" stop-color="#FFD9B0" stop-opacity="0.95"/>
  <stop offset="0.35" stop-color="{COPPER_LIGHT}" stop-opacity="0.6"/>
  <stop offset="1" stop-color="{COPPER_LIGHT}" stop-opacity="0"/>
</radialGradient>"""
    b = [f'<rect width="{w}" height="{h}" fill="url(#dusk)"/>']
    for x, y, r in [(16, 18, 1.1), (28, 60, 0.8), (152, 16, 1.2), (157, 62, 0.8), (128, 84, 0.7),
                    (20, 102, 0.7), (52, 84, 0.9), (146, 110, 0.6)]:
        b.append(f'<circle cx="{x}" cy="{y}" r="{r}" fill="{WHITE}" fill-opacity="0.85"/>')
    cx, top, base, half = 84.5, 44, 166, 24
    # Waves leaving the top of the mast.
    for k, rr in enumerate((16, 27, 38, 49)):
        op = fmt(0.85 - 0.18 * k)
        for sweep, a0, a1 in ((0, 200, 160), (1, -20, 20)):
            x0 = cx + rr * math.cos(math.radians(a0)); y0 = 30 + rr * math.sin(math.radians(a0))
            x1 = cx + rr * math.cos(math.radians(a1)); y1 = 30 + rr * math.sin(math.radians(a1))
            b.append(f'<path d="M{fmt(x0)},{fmt(y0)} A{rr},{rr} 0 0 {sweep} {fmt(x1)},{fmt(y1)}" '
                     f'fill="none" stroke="{WHITE}" stroke-opacity="{op}" stroke-width="2.2" '
                     f'stroke-linecap="round"/>')
    # Guy wires.
    for gx, ty in ((14, 96), (155, 96), (30, 130), (139, 130)):
        frac = (ty - top) / (base - top)
        ax = cx - 3 - (half - 3) * frac if gx < cx else cx + 3 + (half - 3) * frac
        b.append(f'<line x1="{fmt(ax)}" y1="{ty}" x2="{gx}" y2="172" stroke="{SKY}" '
                 f'stroke-opacity="0.45" stroke-width="0.8"/>')
    # Hills.
    b.append(f'<path d="M0,168 Q40,158 84,164 T169,160 V184 H0 Z" fill="{NAVY_DARK}"/>')
    # Lattice: two tapering legs with cross bracing.
    lines = []
    def leg_x(y, side):
        frac = (y - top) / (base - top)
        return cx + side * (3 + (half - 3) * frac)
    lines.append(f"M{fmt(leg_x(top, -1))},{top} L{fmt(leg_x(base, -1))},{base}")
    lines.append(f"M{fmt(leg_x(top, 1))},{top} L{fmt(leg_x(base, 1))},{base}")
    ys = [top]
    while ys[-1] < base - 1:
        ys.append(min(base, ys[-1] + 6 + (ys[-1] - top) * 0.12))
    for i, y in enumerate(ys):
        lines.append(f"M{fmt(leg_x(y, -1))},{fmt(y)} L{fmt(leg_x(y, 1))},{fmt(y)}")
        if i + 1 < len(ys):
            y2 = ys[i + 1]
            lines.append(f"M{fmt(leg_x(y, -1))},{fmt(y)} L{fmt(leg_x(y2, 1))},{fmt(y2)}")
            lines.append(f"M{fmt(leg_x(y, 1))},{fmt(y)} L{fmt(leg_x(y2, -1))},{fmt(y2)}")
    b.append(f'<path d="{" ".join(lines)}" fill="none" stroke="{WHITE}" stroke-width="1.3" '
             f'stroke-linejoin="round"/>')
    # Mast, antenna and beacon.
    b.append(f'<rect x="{fmt(cx - 1.5)}" y="30" width="3" height="{top - 30 + 1}" fill="{WHITE}"/>')
    b.append(f'<circle cx="{cx}" cy="28" r="13" fill="url(#beacon)"/>')
    b.append(f'<circle cx="{cx}" cy="28" r="3.2" fill="{COPPER_LIGHT}" stroke="{WHITE}" stroke-width="1"/>')
    # Feed line up the tower from the transmitter hut.
    b.append(f'<path d="M128,168 Q112,171 {fmt(leg_x(base, 1) - 2)},165 L{fmt(leg_x(50, 1) - 1.5)},50" '
             f'fill="none" stroke="{COPPER}" stroke-width="1.6"/>')
    b.append(f'<rect x="124" y="154" width="30" height="17" fill="{SKY}"/>')
    b.append(f'<path d="M121,155 L139,145 L157,155 Z" fill="{COPPER}"/>')
    b.append(f'<rect x="129" y="160" width="7" height="11" fill="{NAVY}"/>')
    b.append(f'<rect x="141" y="159" width="8" height="6" fill="#FFE2B8"/>')
    return svg(w, h, "\n".join(b), defs)


def wren():
    """201 x 200: a wren singing on a coax cable."""
    w, h = 201, 200
    brown, dark, belly, brow = "#9C6A3C", "#5E3B1E", "#F2DFC2", "#F7EBD6"
    defs = f"""<radialGradient id="sun" cx="0.5" cy="0.5" r="0.5">
  <stop offset="0" stop-color="{WHITE}"/><stop offset="1" stop-color="{SKY}"/>
</radialGradient>
<linearGradient id="cable" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{NAVY_LIGHT}"/><stop offset="0.4" stop-color="{NAVY}"/>
  <stop offset="1" stop-color="{NAVY_DARK}"/>
</linearGradient>
<clipPath id="bodyClip"><ellipse cx="98" cy="124" rx="40" ry="30" transform="rotate(-18 98 124)"/></clipPath>"""
    b = [f'<rect width="{w}" height="{h}" fill="{PALE}"/>',
         f'<circle cx="104" cy="100" r="88" fill="url(#sun)"/>']
    # Song.
    def note(x, y, s):
        return (f'<ellipse cx="{x}" cy="{y}" rx="{fmt(4.6 * s)}" ry="{fmt(3.4 * s)}" '
                f'transform="rotate(-20 {x} {y})" fill="{NAVY}"/>'
                f'<path d="M{fmt(x + 4 * s)},{y} V{fmt(y - 20 * s)} q{fmt(2 * s)},{fmt(7 * s)} {fmt(8 * s)},{fmt(10 * s)}" '
                f'fill="none" stroke="{NAVY}" stroke-width="{fmt(1.8 * s)}" stroke-linecap="round"/>')
    b.append(note(170, 72, 1.0))
    b.append(note(184, 44, 0.8))
    b.append(note(160, 34, 0.65))
    # The perch: a length of coax, its cut end showing on the right.
    cable = "M-10,158 Q96,186 184,160"
    b.append(f'<path d="{cable}" fill="none" stroke="url(#cable)" stroke-width="11" stroke-linecap="butt"/>')
    b.append(f'<ellipse cx="185" cy="159.7" rx="3.2" ry="5.5" transform="rotate(-18 185 159.7)" fill="{NAVY_MID}"/>')
    b.append(f'<ellipse cx="185.5" cy="159.6" rx="2.3" ry="4" transform="rotate(-18 185.5 159.6)" fill="{COPPER}"/>')
    b.append(f'<ellipse cx="186" cy="159.5" rx="1.6" ry="2.8" transform="rotate(-18 186 159.5)" fill="{WHITE}"/>')
    b.append(f'<line x1="186" y1="159.5" x2="193" y2="157.2" stroke="{COPPER}" stroke-width="2" stroke-linecap="round"/>')
    # Legs and toes, drawn before the body so the thighs tuck in.
    for x0, x1 in ((92, 89), (108, 110)):
        b.append(f'<path d="M{x0},146 L{x1},170 M{x1},170 l-6,2 M{x1},170 l6,1 M{x1},170 l-1,5" '
                 f'fill="none" stroke="{COPPER_DARK}" stroke-width="2.4" stroke-linecap="round"/>')
    # Outline pass then fill pass, so overlapping parts read as one bird.
    tail = "M74,122 Q60,92 45,66 Q45,51 60,54 Q74,84 90,112 Z"
    shapes = [
        f'<path d="{tail}"/>',
        '<ellipse cx="98" cy="124" rx="40" ry="30" transform="rotate(-18 98 124)"/>',
        '<circle cx="133" cy="92" r="23"/>',
    ]
    b.append(f'<g fill="{dark}" stroke="{dark}" stroke-width="5" stroke-linejoin="round">{"".join(shapes)}</g>')
    b.append(f'<g fill="{brown}">{"".join(shapes)}</g>')
    # Bars across the tail.
    for t in (0.22, 0.4, 0.58, 0.76):
        ax, ay = 74 + (46 - 74) * t, 122 + (65 - 122) * t
        bx, by = 90 + (61 - 90) * t, 112 + (56 - 112) * t
        b.append(f'<line x1="{fmt(ax + 1)}" y1="{fmt(ay)}" x2="{fmt(bx - 1)}" y2="{fmt(by)}" '
                 f'stroke="{dark}" stroke-width="2.2" stroke-linecap="round"/>')
    # Pale throat and belly.
    b.append(f'<g clip-path="url(#bodyClip)"><ellipse cx="116" cy="146" rx="36" ry="22" '
             f'transform="rotate(-22 116 146)" fill="{belly}"/></g>')
    b.append(f'<path d="M118,104 Q134,118 152,104 Q150,116 138,122 Q124,124 116,116 Z" fill="{belly}"/>')
    # Wing with its bars.
    b.append(f'<ellipse cx="90" cy="118" rx="27" ry="15" transform="rotate(-24 90 118)" '
             f'fill="#7E5230" stroke="{dark}" stroke-width="2"/>')
    for dx in (-14, -6, 2, 10):
        b.append(f'<path d="M{90 + dx},{110 - dx * 0.45} q3,6 1,12" fill="none" stroke="{brow}" '
                 f'stroke-opacity="0.7" stroke-width="1.8" stroke-linecap="round" '
                 f'transform="rotate(-24 90 118)"/>')
    # Face: pale eyebrow, eye with a glint, cheek, open beak.
    b.append(f'<path d="M121,82 Q136,74 153,84" fill="none" stroke="{brow}" stroke-width="3.4" '
             f'stroke-linecap="round"/>')
    b.append(f'<circle cx="140" cy="90" r="4.6" fill="{NAVY_DARK}"/>')
    b.append(f'<circle cx="141.6" cy="88.4" r="1.6" fill="{WHITE}"/>')
    b.append(f'<ellipse cx="141" cy="102" rx="5" ry="3" fill="{COPPER_LIGHT}" fill-opacity="0.45"/>')
    b.append(f'<path d="M153,91 L174,86 L155,97 Z" fill="{dark}" stroke="{dark}" stroke-width="1.2" '
             f'stroke-linejoin="round"/>')
    b.append(f'<path d="M155,99 L171,101 L154,103 Z" fill="{dark}" stroke="{dark}" stroke-width="1.2" '
             f'stroke-linejoin="round"/>')
    return svg(w, h, "\n".join(b), defs)


def arc_arrow(cx, cy, r, a0, a1, width, colour, head):
    """An arc from angle a0 to a1 (degrees, clockwise on screen) ending in an arrowhead."""
    def pt(a, rr=r):
        return cx + rr * math.cos(math.radians(a)), cy + rr * math.sin(math.radians(a))
    # Stop the stroke short so its square end hides under the head.
    stop = a1 - math.degrees(head * 0.5 / r)
    x0, y0 = pt(a0)
    x1, y1 = pt(stop)
    large = 1 if (stop - a0) % 360 > 180 else 0
    parts = [f'<path d="M{fmt(x0)},{fmt(y0)} A{r},{r} 0 {large} 1 {fmt(x1)},{fmt(y1)}" fill="none" '
             f'stroke="{colour}" stroke-width="{width}" stroke-linecap="round"/>']
    # Head: a triangle pointing along the tangent at a1.
    tip_a = a1 + math.degrees(head * 0.6 / r)
    tx, ty = pt(tip_a)
    ox, oy = pt(stop, r + head * 0.75)
    ix, iy = pt(stop, r - head * 0.75)
    parts.append(f'<path d="M{fmt(tx)},{fmt(ty)} L{fmt(ox)},{fmt(oy)} L{fmt(ix)},{fmt(iy)} Z" '
                 f'fill="{colour}" stroke="{colour}" stroke-width="1" stroke-linejoin="round"/>')
    return "\n".join(parts)


def freshline():
    """96 x 96, transparent: the update window's emblem, a refresh circle
    around a download arrow, with the service's name."""
    cx, cy, r = 48, 37, 27
    b = [f'<circle cx="{cx}" cy="{cy}" r="{r + 7}" fill="{PALE}"/>']
    b.append(arc_arrow(cx, cy, r, 200, 330, 5.5, NAVY, 11))
    b.append(arc_arrow(cx, cy, r, 20, 150, 5.5, NAVY, 11))
    # Download arrow into a tray.
    b.append(f'<path d="M{cx - 4},{cy - 17} h8 v14 h7 l-11,12 l-11,-12 h7 Z" fill="{COPPER}" '
             f'stroke="{COPPER}" stroke-width="1.5" stroke-linejoin="round"/>')
    b.append(f'<path d="M{cx - 13},{cy + 11} v5 h26 v-5" fill="none" stroke="{COPPER_DARK}" '
             f'stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>')
    b.append(text(48, 89, "Freshline", 16, NAVY, anchor="middle"))
    return svg(96, 96, "\n".join(b))


def news():
    """60 x 60, transparent: the news window's emblem, a folded newspaper."""
    b = [f'<rect x="13" y="4" width="42" height="48" rx="2.5" fill="{SKY}" stroke="{NAVY_LIGHT}" '
         f'stroke-width="1.2"/>']
    b.append(f'<rect x="5.5" y="9.5" width="43" height="46" rx="2.5" fill="{WHITE}" stroke="{NAVY}" '
             f'stroke-width="1.6"/>')
    b.append(f'<rect x="9" y="13" width="36" height="10" rx="1" fill="{NAVY}"/>')
    b.append(text(27, 21.3, "NEWS", 8.5, WHITE, anchor="middle", spacing=0.8))
    b.append(f'<rect x="9" y="26" width="14" height="13" rx="1" fill="{COPPER}"/>')
    b.append(f'<circle cx="16" cy="32.5" r="4.2" fill="{WHITE}"/>')
    b.append(f'<circle cx="16" cy="32.5" r="1.8" fill="{COPPER}"/>')
    for y in (27, 31, 35, 39):
        b.append(f'<rect x="26" y="{y - 0.75}" width="{19 if y != 39 else 13}" height="1.8" rx="0.9" '
                 f'fill="{NAVY_LIGHT}"/>')
    for y, wd in ((44, 36), (48, 36), (52, 24)):
        b.append(f'<rect x="9" y="{y - 0.75}" width="{wd}" height="1.8" rx="0.9" fill="{NAVY_LIGHT}" '
                 f'fill-opacity="0.75"/>')
    return svg(60, 60, "\n".join(b))


def icon(size=256):
    """The window icon: the end of a coax cable, stripped in steps as it is
    for fitting a connector: jacket, outer conductor, dielectric, centre pin.

    Drawn on a 256 grid.  The small sizes use their own rounder numbers so
    that the steps land on whole pixels.
    """
    defs = f"""<linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{WHITE}"/><stop offset="1" stop-color="{SKY}"/>
</linearGradient>
<linearGradient id="jacket" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{NAVY_LIGHT}"/><stop offset="0.35" stop-color="{NAVY}"/>
  <stop offset="1" stop-color="{NAVY_DARK}"/>
</linearGradient>
<linearGradient id="copper" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{COPPER_LIGHT}"/><stop offset="0.4" stop-color="{COPPER}"/>
  <stop offset="1" stop-color="{COPPER_DARK}"/>
</linearGradient>
<linearGradient id="dielectric" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{WHITE}"/><stop offset="1" stop-color="#C9D5E5"/>
</linearGradient>"""
    # (right end x, radius, body fill, face fill), from the jacket inwards.
    if size >= 64:
        tile = (6, 6, 244, 44)
        steps = [(100, 64, "url(#jacket)", NAVY_MID), (148, 52, "url(#copper)", COPPER_LIGHT),
                 (192, 42, "url(#dielectric)", PALE), (236, 16, "url(#copper)", COPPER_LIGHT)]
        face = 0.28
    elif size == 32:
        tile = (0, 0, 256, 48)
        steps = [(96, 72, "url(#jacket)", NAVY_MID), (144, 56, "url(#copper)", COPPER_LIGHT),
                 (192, 44, "url(#dielectric)", WHITE), (240, 16, "url(#copper)", COPPER_LIGHT)]
        face = 0.25
    else:
        tile = (0, 0, 256, 48)
        steps = [(96, 80, "url(#jacket)", NAVY_MID), (144, 64, "url(#copper)", COPPER_LIGHT),
                 (192, 48, "url(#dielectric)", WHITE), (240, 16, "url(#copper)", COPPER_LIGHT)]
        face = 0.2
    tx, ty, tw, tr = tile
    cy = 128
    b = []
    if size > 16:
        # A 16 pixel icon is the cable alone: a tile would only blur its edges.
        border = {256: 4, 64: 4, 32: 8}.get(size, 4)
        b.append(f'<rect x="{tx + border / 2}" y="{ty + border / 2}" width="{tw - border}" '
                 f'height="{tw - border}" rx="{tr}" fill="url(#tile)" '
                 f'stroke="{NAVY_LIGHT}" stroke-opacity="0.6" stroke-width="{border}"/>')
    b.append(f'<clipPath id="inside"><rect x="{tx}" y="{ty}" width="{tw}" height="{tw}" rx="{tr}"/></clipPath>')
    b.append('<g clip-path="url(#inside)">')
    left = 0
    for n, (right, radius, body, face_fill) in enumerate(steps):
        rx = radius * face
        b.append(f'<path d="M{left},{cy - radius} H{right} '
                 f'A{fmt(rx)},{radius} 0 0 1 {right},{cy + radius} H{left} Z" fill="{body}"/>')
        if n == 1 and size >= 128:
            # Corrugations of the outer conductor.
            for x in range(left + 13, right - 6, 13):
                b.append(f'<path d="M{x},{cy - radius} A{fmt(rx)},{radius} 0 0 1 {x},{cy + radius}" '
                         f'fill="none" stroke="{COPPER_DARK}" stroke-opacity="0.45" stroke-width="2.5"/>')
        b.append(f'<ellipse cx="{right}" cy="{cy}" rx="{fmt(rx)}" ry="{radius}" fill="{face_fill}"/>')
        left = right
    b.append("</g>")
    body = "\n".join(b)
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 256 256">\n'
        f"<defs>\n{defs}\n</defs>\n{body}\n</svg>\n"
    )


PICTURES = {
    "icon": (icon, "png"),
    "icon-64": (lambda: icon(64), "png"),
    "icon-32": (lambda: icon(32), "png"),
    "icon-16": (lambda: icon(16), "png"),
    "logo": (logo, "png"),
    "report-logo": (report_logo, "png"),
    "about": (about, "jpg"),
    "surprise1": (tower, "png"),
    "surprise2": (wren, "png"),
    "freshline": (freshline, "png"),
    "news": (news, "png"),
    "splash": (splash, "png"),
}


# Pictures that fill their window: no alpha channel needed.
OPAQUE = {"splash", "surprise1", "surprise2"}


def render(name, kind):
    src = os.path.join(SVG_DIR, name + ".svg")
    if kind == "png":
        out = os.path.join(OUT_DIR, name + ".png")
        subprocess.run(["rsvg-convert", "-o", out, src], check=True)
        # Drop ancillary chunks so a re-run gives identical files.
        opaque = name in OPAQUE
        subprocess.run(["convert", out, "-strip", ("PNG24:" if opaque else "PNG32:") + out], check=True)
    else:
        # Baseline JPEG, no chroma subsampling so the copper rule and the
        # small lettering keep clean edges.
        out = os.path.join(OUT_DIR, name + ".jpg")
        tmp = out + ".png"
        subprocess.run(["rsvg-convert", "-b", WHITE, "-o", tmp, src], check=True)
        subprocess.run(["convert", tmp, "-strip", "-background", WHITE, "-flatten",
                        "-interlace", "none", "-sampling-factor", "1x1", "-quality", "95",
                        "JPEG:" + out], check=True)
        os.remove(tmp)
    return out


def main():
    for tool in ("rsvg-convert", "convert"):
        if shutil.which(tool) is None:
            sys.exit(f"make_artwork: {tool} not found")
    os.makedirs(SVG_DIR, exist_ok=True)
    os.makedirs(OUT_DIR, exist_ok=True)
    only = set(sys.argv[1:])
    for name, (draw, kind) in PICTURES.items():
        if only and name not in only:
            continue
        with open(os.path.join(SVG_DIR, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(draw())
        print(render(name, kind))


if __name__ == "__main__":
    main()
