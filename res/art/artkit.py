"""Palette, glyphs and SVG helpers shared by every picture of the program.

All shapes are drawn in a 24 by 24 design box and placed with `glyph()`; the pictures themselves
live in artgen.py. No picture carries words: the windows draw every text, and a language file may
replace them.
"""

import math

# One palette for the whole program. Pure red is reserved: the manager window is shaped by it.
KEY = "#ff0000"
EDGE = "#0b0e12"  # the one-pixel outline of a window
HEADER = "#1a1f26"  # caption band of the manager, title strip of the status window
BODY = "#232a33"  # window body
WELL = "#161b21"  # sunken areas behind bars and artwork
LINE = "#333c47"  # separators and quiet outlines
TILE = "#2b333d"  # a button at rest
TILE_HOVER = "#36414d"
TILE_PRESSED = "#12161b"
TILE_OFF = "#262d36"
GLYPH = "#dfe6ee"
GLYPH_DIM = "#9aa5b1"
GLYPH_HOT = "#ffffff"
GLYPH_OFF = "#525c68"
ACCENT = "#2ec4b6"
ACCENT_LIGHT = "#8ae8df"
ACCENT_DARK = "#1f8f85"
CARD_LIGHT = "#d9e0e7"  # the status label sits here: its text is drawn in the system's (dark) colour
PLAYER_BAR = "#e0e0e0"  # the player bar paints itself in this grey
PLAYING_ROW = "#1b4a48"  # the music list's playing row: the accent, darkened into the ground
GRIP = "#4a5562"
PAGE_BEHIND = "#3c4856"  # the second sheet of a stack of files
MUTED_DISC = "#2f555a"  # the stand-in cover's disc: the mark, dimmed
MUTED_SHINE = "#3f7378"

STATES = ("normal", "hover", "pressed", "disabled")


def fmt(value):
    """Numbers short and stable, so that regenerated files compare equal."""
    text = f"{value:.3f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def document(width, height, body, view=None, defs=""):
    box = view or (0, 0, width, height)
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="{" ".join(fmt(v) for v in box)}">\n'
        + (f"<defs>\n{defs}</defs>\n" if defs else "")
        + body
        + "</svg>\n"
    )


def rect(x, y, w, h, fill, rx=0, extra=""):
    radius = f' rx="{fmt(rx)}"' if rx else ""
    return (
        f'<rect x="{fmt(x)}" y="{fmt(y)}" width="{fmt(w)}" height="{fmt(h)}"{radius} '
        f'fill="{fill}"{extra}/>\n'
    )


def frame(x, y, w, h, stroke, rx=0, width=1, fill="none"):
    """An outline whose one-pixel lines fall on whole pixels."""
    half = width / 2
    return rect(
        x + half,
        y + half,
        w - width,
        h - width,
        fill,
        max(rx - half, 0),
        f' stroke="{stroke}" stroke-width="{fmt(width)}"',
    )


def crisp_rect(x, y, w, h, fill, rx=0):
    """Edges without anti-aliasing: for shapes that border the colour key."""
    return rect(x, y, w, h, fill, rx, ' shape-rendering="crispEdges"')


def clip_rect(ident, x, y, w, h):
    return (
        f'<clipPath id="{ident}" clipPathUnits="userSpaceOnUse">'
        f'<rect x="{x}" y="{y}" width="{w}" height="{h}"/></clipPath>\n'
    )


def _gear_path():
    teeth, outer, root, hole = 8, 10.2, 7.4, 3.1
    points = []
    for i in range(teeth):
        base = 2 * math.pi * i / teeth
        for angle, radius in (
            (base - 0.20, root),
            (base - 0.13, outer),
            (base + 0.13, outer),
            (base + 0.20, root),
        ):
            points.append((12 + radius * math.cos(angle), 12 + radius * math.sin(angle)))
    outline = "M" + " L".join(f"{fmt(px)} {fmt(py)}" for px, py in points) + " Z"
    return (
        f"{outline} M{fmt(12 + hole)} 12 A{fmt(hole)} {fmt(hole)} 0 1 0 {fmt(12 - hole)} 12 "
        f"A{fmt(hole)} {fmt(hole)} 0 1 0 {fmt(12 + hole)} 12 Z"
    )


def _stroked(path, width):
    return (
        f'<path d="{path}" fill="none" stroke="{{c}}" stroke-width="{width}" '
        'stroke-linecap="round" stroke-linejoin="round"/>'
    )


# Each glyph is a template with {c} for its colour.
GLYPHS = {
    "play": '<path d="M8 4.8 L19.6 12 L8 19.2 Z" fill="{c}" stroke="{c}" stroke-width="1.2" '
    'stroke-linejoin="round"/>',
    "pause": '<rect x="6.2" y="5" width="4.2" height="14" rx="1" fill="{c}"/>'
    '<rect x="13.6" y="5" width="4.2" height="14" rx="1" fill="{c}"/>',
    "stop": '<rect x="6" y="6" width="12" height="12" rx="1.6" fill="{c}"/>',
    "previous": '<rect x="5" y="6" width="2.6" height="12" rx="0.8" fill="{c}"/>'
    '<path d="M19 6.2 L19 17.8 L9.4 12 Z" fill="{c}" stroke="{c}" stroke-width="1" '
    'stroke-linejoin="round"/>',
    "next": '<rect x="16.4" y="6" width="2.6" height="12" rx="0.8" fill="{c}"/>'
    '<path d="M5 6.2 L5 17.8 L14.6 12 Z" fill="{c}" stroke="{c}" stroke-width="1" '
    'stroke-linejoin="round"/>',
    "close": _stroked("M6.5 6.5 L17.5 17.5 M17.5 6.5 L6.5 17.5", 2.4),
    "minimise": _stroked("M6 16.5 H18", 2.4),
    # The sliver cut across the folder separates its front flap from the tab behind it.
    "folder": '<path fill-rule="evenodd" fill="{c}" d="M2.5 6.4 A1.5 1.5 0 0 1 4 4.9 H9.4 '
    "L11.5 7.1 H20 A1.5 1.5 0 0 1 21.5 8.6 V18 A1.5 1.5 0 0 1 20 19.5 H4 A1.5 1.5 0 0 1 2.5 18 Z "
    'M2.5 9.4 H21.5 V10.6 H2.5 Z"/>',
    "gear": f'<path fill-rule="evenodd" fill="{{c}}" d="{_gear_path()}"/>',
    "menu": '<rect x="4" y="5.6" width="16" height="2.6" rx="1.3" fill="{c}"/>'
    '<rect x="4" y="10.7" width="16" height="2.6" rx="1.3" fill="{c}"/>'
    '<rect x="4" y="15.8" width="16" height="2.6" rx="1.3" fill="{c}"/>',
    "globe": '<g fill="none" stroke="{c}" stroke-width="2.2">'
    '<circle cx="12" cy="12" r="9"/><ellipse cx="12" cy="12" rx="3.8" ry="9"/>'
    '<path d="M3 12 H21"/></g>',
    "external": _stroked("M13.5 4 H20 V10.5 M20 4 L11 13 M17 14 V19 H5 V7 H10", 2.4),
    # A window holding a list: the manager.
    "manager": '<rect x="3" y="4" width="18" height="16" rx="2" fill="none" stroke="{c}" '
    'stroke-width="2"/><rect x="3" y="4" width="18" height="4.5" rx="2" fill="{c}"/>'
    '<rect x="6.5" y="11" width="11" height="1.7" rx="0.8" fill="{c}"/>'
    '<rect x="6.5" y="14.8" width="8" height="1.7" rx="0.8" fill="{c}"/>',
    "note": '<ellipse cx="8.2" cy="17.2" rx="4.2" ry="3.1" transform="rotate(-22 8.2 17.2)" '
    'fill="{c}"/><rect x="10.6" y="3" width="2.2" height="14.2" fill="{c}"/>'
    '<path d="M12.8 3 C13.2 6.4 18.6 7.2 18.2 12.2 C17.9 10.2 15.4 9 12.8 8.8 Z" fill="{c}"/>',
    "check": _stroked("M5.5 12.5 L10 17 L18.5 7.5", 3),
}


def glyph(name, x, y, size, colour):
    scale = size / 24
    return (
        f'<g transform="translate({fmt(x)} {fmt(y)}) scale({fmt(scale)})">'
        + GLYPHS[name].replace("{c}", colour)
        + "</g>\n"
    )


def disc(
    cx, cy, r, body=ACCENT, shine=ACCENT_LIGHT, hole=HEADER, shine_turn=0.0, rings=True, outline=False
):
    """A compact disc: coloured body, a lighter sector that catches the light, a centre hole.

    `hole=None` punches the hole through (for icons, where the desktop shows through it).
    `shine_turn` turns the light sector clockwise, in degrees.
    """
    parts = []
    hole_r = r * 0.26
    if hole is None:
        parts.append(
            f'<path fill-rule="evenodd" fill="{body}" d="{_circle_d(cx, cy, r)} '
            f'{_circle_d(cx, cy, hole_r)}"/>'
        )
    else:
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="{body}"/>')
    start = math.radians(-120 + shine_turn)
    end = math.radians(-60 + shine_turn)
    inner = hole_r * 1.5
    parts.append(
        f'<path fill="{shine}" d="M{fmt(cx + inner * math.cos(start))} {fmt(cy + inner * math.sin(start))} '
        f"L{fmt(cx + r * math.cos(start))} {fmt(cy + r * math.sin(start))} "
        f"A{fmt(r)} {fmt(r)} 0 0 1 {fmt(cx + r * math.cos(end))} {fmt(cy + r * math.sin(end))} "
        f"L{fmt(cx + inner * math.cos(end))} {fmt(cy + inner * math.sin(end))} "
        f'A{fmt(inner)} {fmt(inner)} 0 0 0 {fmt(cx + inner * math.cos(start))} '
        f'{fmt(cy + inner * math.sin(start))} Z"/>'
    )
    if rings:
        parts.append(
            f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.62)}" fill="none" '
            f'stroke="{HEADER}" stroke-opacity="0.22" stroke-width="{fmt(max(r * 0.05, 0.6))}"/>'
        )
    if hole is not None:
        parts.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(hole_r)}" fill="{hole}"/>')
    if outline:
        # A dark rim keeps the disc apart from a light task bar.
        parts.append(
            f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r - r * 0.03)}" fill="none" '
            f'stroke="{HEADER}" stroke-opacity="0.55" stroke-width="{fmt(r * 0.06)}"/>'
        )
    return "".join(parts) + "\n"


def _circle_d(cx, cy, r):
    return (
        f"M{fmt(cx + r)} {fmt(cy)} A{fmt(r)} {fmt(r)} 0 1 0 {fmt(cx - r)} {fmt(cy)} "
        f"A{fmt(r)} {fmt(r)} 0 1 0 {fmt(cx + r)} {fmt(cy)} Z"
    )


def logo(x, y, size, hole=HEADER, body=ACCENT, shine=ACCENT_LIGHT, note=GLYPH_HOT):
    """The program's mark: a disc with a quaver standing on it, drawn in a size-by-size box.

    Below 24 pixels the small drawing is used: the big one's details turn to mud there.
    """
    if size < 24:
        return logo_small(x, y, size, hole)
    s = size / 48
    return (
        f'<g transform="translate({fmt(x)} {fmt(y)}) scale({fmt(s)})">\n'
        + disc(20, 22, 19, body=body, shine=shine, hole=hole, outline=True)
        # The dark outline keeps the note apart from the disc at every size.
        + f'<g transform="translate(18 10) scale(1.5)" stroke="{HEADER}" stroke-width="2" '
        'stroke-linejoin="round" paint-order="stroke">'
        + GLYPHS["note"].replace("{c}", note)
        + "</g>\n</g>\n"
    )


def logo_small(x, y, size, hole=HEADER):
    """The mark drawn on the 16-pixel grid: the note's stem and flag fall on whole pixels."""
    s = size / 16
    outline = f'fill="{HEADER}"'
    white = f'fill="{GLYPH_HOT}"'
    note = (
        f'<ellipse cx="10.2" cy="12.6" rx="3.3" ry="2.7" {outline}/>'
        f'<rect x="11" y="1" width="4" height="12" {outline}/>'
        f'<path d="M14 1 L16 3.5 L16 8 L14 6 Z" {outline}/>'
        f'<ellipse cx="10.2" cy="12.6" rx="2.3" ry="1.7" {white}/>'
        f'<rect x="12" y="2" width="2" height="10.6" {white}/>'
        f'<path d="M14 2 L15 3.5 L15 6 L14 5 Z" {white}/>'
    )
    return (
        f'<g transform="translate({fmt(x)} {fmt(y)}) scale({fmt(s)})">\n'
        + disc(6.5, 8, 6.5, hole=hole, rings=False, outline=True)
        + note
        + "</g>\n"
    )
