#!/usr/bin/env python3
"""Writes the SVG source of every bitmap and icon of the program into one folder.

    artgen.py OUTDIR

The region tables below are the ones the windows hand to their image panels; every button is
drawn inside its region, and the hover, pressed and disabled pictures differ from the normal one
only inside the regions, because an image panel copies just a region's rectangle from a state
picture. A file is rewritten only when its text changes, so the build re-renders only what an
edit touched.
"""

import os
import sys

from artkit import (
    ACCENT,
    ACCENT_DARK,
    ACCENT_LIGHT,
    BODY,
    CARD_LIGHT,
    EDGE,
    GLYPH,
    GLYPH_DIM,
    GLYPH_HOT,
    GLYPH_OFF,
    GRIP,
    HEADER,
    KEY,
    LINE,
    MUTED_DISC,
    MUTED_SHINE,
    PAGE_BEHIND,
    PLAYER_BAR,
    PLAYING_ROW,
    STATES,
    TILE,
    TILE_HOVER,
    TILE_OFF,
    TILE_PRESSED,
    WELL,
    clip_rect,
    crisp_rect,
    disc,
    document,
    fmt,
    frame,
    glyph,
    logo,
    rect,
)

# Region tables: (region id, x, y, width, height) in panel pixels, as the windows pass them.
STATUS_PANEL_ORIGIN = (129, 0)  # where the status window places its panel
STATUS_PANEL_SIZE = (86, 59)
STATUS_REGIONS = [(0, 0, 29, 89, 31), (1, 62, 1, 20, 20)]  # open manager (clipped by the panel), close
TOOLBAR_SIZE = (392, 38)
TOOLBAR_REGIONS = [(0, 16, 1, 90, 37), (1, 105, 1, 92, 37), (2, 197, 1, 103, 37), (3, 300, 1, 82, 37)]
CAPTION_SIZE = (58, 21)
CAPTION_REGIONS = [(4, 0, 0, 29, 21), (5, 30, 0, 29, 21)]
LINK_SIZE = (112, 15)
LINK_REGIONS = [(6, 0, 0, 264, 27)]  # larger than the panel: the whole link is the button
PLAYER_SIZE = (210, 28)
PLAYER_REGIONS = [(i, 41 + 25 * i, 2, 24, 21) for i in range(5)]
QUICK_GUIDE_SIZE = (480, 320)
QUICK_GUIDE_REGIONS = [(0, 446, 10, 24, 24)]  # close

# The manager skin is drawn for the smallest window the manager allows and stretched beyond it.
SKIN_SIZE = (960, 660)
SKIN_HEADER_BOTTOM = 92  # the toolbar (y 40 to 78) and the caption buttons sit on the header band
SKIN_STRIP_HEIGHT = 41  # the band the recorder line is drawn on, 30 pixels above the bottom

STATUS_SIZE = (215, 92)
TRACK_PANEL_SIZE = (240, 138)
START_GUIDE_SIZE = (284, 160)  # the picture control above the start guide's texts
NO_ART_SIZE = 176  # twice the track panel's artwork square, so it halves cleanly


def button(box, name, size, state, at_rest=True, radius=4):
    """One push button: a tile with a glyph, styled for the panel state.

    Buttons `at_rest=False` show only their glyph until the mouse comes near.
    """
    x, y, w, h = box
    fill, stroke, colour, shift = None, None, GLYPH if at_rest else GLYPH_DIM, 0
    if state == "normal":
        fill = TILE if at_rest else None
    elif state == "hover":
        fill, stroke, colour = TILE_HOVER, ACCENT, GLYPH_HOT
    elif state == "pressed":
        fill, stroke, colour, shift = TILE_PRESSED, ACCENT_DARK, ACCENT, 1
    else:
        fill, colour = (TILE_OFF if at_rest else None), GLYPH_OFF
    out = ""
    if fill:
        out += rect(x, y, w, h, fill, radius)
    if stroke:
        out += frame(x, y, w, h, stroke, radius)
    return out + glyph(name, x + (w - size) / 2 + shift, y + (h - size) / 2 + shift, size, colour)


def panel_set(prefix, size, regions, background, draw_button, origin=(0, 0)):
    """The four state pictures of one image panel.

    `background` covers the whole picture opaquely; it is drawn again under each region's state
    button, clipped to the region, so nothing outside a region can change.
    """
    ox, oy = origin
    defs = "".join(
        clip_rect(f"region{rid}", ox + x, oy + y, w, h) for rid, x, y, w, h in regions
    )
    view = (ox, oy, size[0], size[1])
    normal = background + "".join(draw_button(rid, "normal") for rid, *_ in regions)
    pictures = {}
    for state in STATES:
        body = normal
        if state != "normal":
            for rid, *_ in regions:
                body += (
                    f'<g clip-path="url(#region{rid})">\n'
                    + background
                    + draw_button(rid, state)
                    + "</g>\n"
                )
        pictures[f"{prefix}_{state}"] = document(size[0], size[1], body, view, defs)
    return pictures


# --- Manager window ---------------------------------------------------------------------------


def manager_skin():
    w, h = SKIN_SIZE
    strip_top = h - SKIN_STRIP_HEIGHT
    body = rect(0, 0, w, h, KEY)
    # The outline meets the colour key, so it is drawn without anti-aliasing; whatever lies
    # inside it blends only with dark colours.
    body += crisp_rect(0, 0, w, h, EDGE, 10)
    body += rect(1, 1, w - 2, h - 2, HEADER, 9)
    body += rect(1, SKIN_HEADER_BOTTOM + 1, w - 2, strip_top - SKIN_HEADER_BOTTOM - 2, BODY)
    body += rect(1, SKIN_HEADER_BOTTOM, w - 2, 1, ACCENT)
    body += rect(1, strip_top - 1, w - 2, 1, LINE)
    body += logo(22, 22, 48)
    # The grip in the corner that sizes the frameless window.
    for i in range(3):
        for j in range(3 - i):
            body += f'<circle cx="{w - 8 - 4 * i}" cy="{h - 8 - 4 * j}" r="1.1" fill="{GRIP}"/>\n'
    return {"manager_skin": document(w, h, body)}


def manager_toolbar():
    glyphs = {0: "play", 1: "folder", 2: "gear", 3: "menu"}
    regions = {rid: (x, y, rw, rh) for rid, x, y, rw, rh in TOOLBAR_REGIONS}

    def draw(rid, state):
        x, y, rw, rh = regions[rid]
        return button((x + 3, y + 2, rw - 6, rh - 4), glyphs[rid], 22, state, radius=5)

    background = rect(0, 0, *TOOLBAR_SIZE, HEADER)
    return panel_set("manager_toolbar", TOOLBAR_SIZE, TOOLBAR_REGIONS, background, draw)


def manager_caption():
    glyphs = {4: "minimise", 5: "close"}
    regions = {rid: (x, y, rw, rh) for rid, x, y, rw, rh in CAPTION_REGIONS}

    def draw(rid, state):
        x, y, rw, rh = regions[rid]
        width = min(rw, CAPTION_SIZE[0] - x) - 2  # the close region runs one pixel past the panel
        return button((x + 1, y + 1, width, rh - 2), glyphs[rid], 16, state, at_rest=False, radius=3)

    background = rect(0, 0, *CAPTION_SIZE, HEADER)
    return panel_set("manager_caption", CAPTION_SIZE, CAPTION_REGIONS, background, draw)


def manager_link():
    w, h = LINK_SIZE

    def draw(_rid, state):
        pill, outline, mark, line = None, LINE, GLYPH_DIM, LINE
        if state == "hover":
            pill, outline, mark, line = TILE_HOVER, ACCENT, GLYPH_HOT, ACCENT
        elif state == "pressed":
            pill, outline, mark, line = TILE_PRESSED, ACCENT_DARK, ACCENT, ACCENT_DARK
        elif state == "disabled":
            outline, mark, line = TILE_OFF, GLYPH_OFF, TILE_OFF
        out = rect(0, 0, w, h, pill, 7.5) if pill else ""
        out += frame(0, 0, w, h, outline, 7.5)
        out += glyph("globe", 3, 1.5, 12, mark)
        # An address bar between the globe and the way out: a web link without words.
        out += frame(19, 4, 76, 7, line, 3.5)
        out += rect(23, 6.5, 24, 2, mark, 1)
        out += glyph("external", 97, 1.5, 12, mark)
        return out

    background = rect(0, 0, w, h, BODY)
    return panel_set("manager_link", LINK_SIZE, LINK_REGIONS, background, draw)


# --- Status window ----------------------------------------------------------------------------


def status_window():
    w, h = STATUS_SIZE
    ox, oy = STATUS_PANEL_ORIGIN
    background = rect(0, 0, w, h, EDGE)
    background += rect(1, 1, w - 2, h - 2, BODY)
    background += rect(1, 1, w - 2, 22, HEADER)
    background += rect(1, 23, w - 2, 1, ACCENT)
    background += logo(5, 4, 16)
    # The activity label is drawn in the system's text colour: it gets a light card to stand on.
    background += rect(8, 29, 118, 30, CARD_LIGHT, 4)
    # The well around the progress bar, which the window places at 21,64, 173 by 15.
    background += rect(19, 62, 177, 19, WELL, 3)
    background += frame(19, 62, 177, 19, LINE, 3)

    def draw(rid, state):
        if rid == 0:
            return button((ox + 4, oy + 31, 77, 26), "manager", 18, state, radius=5)
        return button((ox + 63, oy + 2, 18, 18), "close", 13, state, at_rest=False, radius=3)

    panels = panel_set(
        "status_panel", STATUS_PANEL_SIZE, STATUS_REGIONS, background, draw, STATUS_PANEL_ORIGIN
    )
    normal_face = background + draw(0, "normal") + draw(1, "normal")
    panels["status_background"] = document(w, h, normal_face)
    return panels


# --- Player bar -------------------------------------------------------------------------------


def player_buttons():
    w, h = PLAYER_SIZE
    glyphs = ["previous", "play", "pause", "stop", "next"]
    regions = {rid: (x, y, rw, rh) for rid, x, y, rw, rh in PLAYER_REGIONS}
    background = rect(0, 0, w, h, PLAYER_BAR)
    # A dark strip for the buttons, standing on the bar's own grey.
    background += rect(36, 0, 134, 26, BODY, 6)

    def draw(rid, state):
        x, y, rw, rh = regions[rid]
        return button((x + 1, y + 1, rw - 2, rh - 2), glyphs[rid], 14, state, at_rest=False, radius=3)

    return panel_set("player", PLAYER_SIZE, PLAYER_REGIONS, background, draw)


# --- Track panel ------------------------------------------------------------------------------


def track_panel():
    w, h = TRACK_PANEL_SIZE
    body = rect(0, 0, w, h, BODY)
    body += rect(0, 0, w, h, TILE, 6)
    body += frame(0, 0, w, h, LINE, 6)
    # The artwork is drawn over 5,5 to 93,93; its well shows a pixel around it.
    body += rect(4, 4, 90, 90, WELL)
    body += frame(4, 4, 90, 90, LINE)
    # The location line ("Where: ...") is written into 6,99 to 234,123.
    body += rect(5, 98, 230, 26, WELL, 3)
    return {"trackInfo_background": document(w, h, body)}


def no_album_art():
    s = NO_ART_SIZE
    defs = (
        '<linearGradient id="ground" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{TILE}"/><stop offset="1" stop-color="{HEADER}"/>'
        "</linearGradient>\n"
    )
    body = rect(0, 0, s, s, "url(#ground)")
    # The program's mark, dimmed: a cover that is clearly not the music's own.
    body += logo(s * 0.1, s * 0.1, s * 0.8, body=MUTED_DISC, shine=MUTED_SHINE, note=GLYPH_DIM)
    return {"no_album_art": document(s, s, body, defs=defs)}


# --- Guides: the four steps from a playlist to music files in the manager --------------------
#
# Each step is drawn in an 84 by 84 box. The quick guide sets the steps in four cards, two by
# two, each with a flat area beside its drawing where the window lays the step's text; the start
# guide shows three of them in a row above its own texts.

STEP_BOX = 84
QUICK_GUIDE_HEADER = 44
QUICK_GUIDE_HEADING = (52, 12, 380, 20)  # the heading's text, on the header band
QUICK_GUIDE_CARD = (8, 54, 228, 126)  # the first card; the others follow by the pitches
QUICK_GUIDE_PITCH = (236, 134)
QUICK_GUIDE_TEXT = (100, 8, 120, 110)  # a step's text, from its card's corner


def _window(x, y, w, h, body=WELL):
    """A small application window: body, outline and a title strip."""
    out = rect(x, y, w, h, body, 4) + frame(x, y, w, h, GLYPH_DIM, 4, 1.5)
    return out + rect(x, y, w, 9, GLYPH_DIM, 4) + rect(x, y + 5, w, 4, GLYPH_DIM)


def _pointer(x, y):
    """The mouse pointer, its tip at x, y."""
    return (
        f'<path d="M{x} {y} v15 l4 -4 l3.2 6.4 l2.6 -1.3 l-3.2 -6.2 h5.6 z" fill="{GLYPH_HOT}" '
        f'stroke="{HEADER}" stroke-width="1.2" stroke-linejoin="round"/>\n'
    )


def _step_choose_recorder(x, y):
    """The music player's burner list dropped open, the program's recorder picked."""
    out = _window(x + 2, y + 4, 80, 74)
    out += rect(x + 9, y + 19, 66, 12, TILE, 2) + frame(x + 9, y + 19, 66, 12, GLYPH_DIM, 2, 1)
    out += rect(x + 14, y + 23.5, 34, 3, GLYPH_DIM, 1.5)
    out += f'<path d="M{x + 64} {y + 23} h7 l-3.5 4 z" fill="{GLYPH}"/>\n'
    out += rect(x + 9, y + 33, 66, 39, TILE_HOVER, 2)
    for row in range(3):
        top = y + 34 + 12.5 * row
        if row == 1:
            out += rect(x + 10, top, 64, 12, ACCENT_DARK, 1.5)
            out += logo(x + 12.5, top + 1, 10)
            out += rect(x + 26, top + 4.5, 38, 3, GLYPH_HOT, 1.5)
        else:
            out += disc(x + 17.5, top + 6, 4.5, body=GLYPH_OFF, shine=GLYPH_DIM, hole=TILE_HOVER, rings=False)
            out += rect(x + 26, top + 4.5, 30 - 6 * row, 3, GLYPH_DIM, 1.5)
    return out + _pointer(x + 62, y + 52)


def _step_burn(x, y):
    """A playlist goes onto an audio disc."""
    out = _window(x + 4, y + 2, 76, 44)
    for row in range(3):
        out += glyph("note", x + 9, y + 13 + 10.5 * row, 10, ACCENT if row == 0 else GLYPH_DIM)
        out += rect(x + 22, y + 17 + 10.5 * row, 48 - 12 * row, 3, GLYPH_DIM, 1.5)
    out += rect(x + 40, y + 49, 4, 8, ACCENT, 1.5)
    out += f'<path d="M{x + 35} {y + 56} L{x + 42} {y + 63} L{x + 49} {y + 56} Z" fill="{ACCENT}"/>\n'
    return out + disc(x + 42, y + 73, 11, hole=TILE)


def _step_output_folder(x, y):
    """The converted files, arrived in the output folder."""
    out = (
        f'<path d="M{x + 4} {y + 30} a3 3 0 0 1 3 -3 h19 l5 5 h42 a3 3 0 0 1 3 3 v42 h-72 z" '
        f'fill="{ACCENT_DARK}"/>\n'
    )
    for i, (dx, dy) in enumerate(((32, 2), (20, 8))):
        px, py = x + dx, y + dy
        fill = TILE_HOVER if i == 1 else PAGE_BEHIND
        out += (
            f'<path d="M{px} {py + 3} a3 3 0 0 1 3 -3 h21 l10 10 v38 a3 3 0 0 1 -3 3 h-28 '
            f'a3 3 0 0 1 -3 -3 z" fill="{fill}" stroke="{GLYPH_DIM}" stroke-width="1.5" '
            'stroke-linejoin="round"/>\n'
        )
    out += glyph("note", x + 24, y + 14, 22, GLYPH)
    out += rect(x + 4, y + 44, 72, 36, ACCENT, 3)
    out += f'<circle cx="{x + 71}" cy="{y + 72}" r="11" fill="{GLYPH_HOT}" stroke="{TILE}" stroke-width="2"/>\n'
    return out + glyph("check", x + 63, y + 64, 16, ACCENT_DARK)


def _step_manager(x, y):
    """The manager: the disc list, the disc's music files, one of them playing."""
    out = rect(x + 2, y + 6, 80, 64, BODY, 4) + frame(x + 2, y + 6, 80, 64, GLYPH_DIM, 4, 1.5)
    out += rect(x + 3, y + 7, 78, 10, HEADER, 3) + rect(x + 3, y + 17, 78, 1, ACCENT)
    out += logo(x + 5, y + 8, 8)
    out += rect(x + 7, y + 22, 20, 43, WELL, 2)
    for row in range(3):
        out += rect(x + 9, y + 25 + 7 * row, 16, 4, ACCENT if row == 0 else GLYPH_OFF, 2)
    out += rect(x + 30, y + 22, 48, 43, WELL, 2)
    for row in range(4):
        top = y + 24 + 10 * row
        if row == 1:
            out += rect(x + 31, top - 1, 46, 9, PLAYING_ROW, 1.5)
        out += glyph("note", x + 32, top, 7, ACCENT if row == 1 else GLYPH_DIM)
        out += rect(x + 41, top + 2.5, 32 - 5 * (row % 2), 2.5, GLYPH if row == 1 else GLYPH_DIM, 1.25)
    out += f'<circle cx="{x + 70}" cy="{y + 70}" r="12" fill="{ACCENT}"/>\n'
    return out + glyph("play", x + 63, y + 63, 15, HEADER)


QUICK_GUIDE_STEPS = (_step_choose_recorder, _step_burn, _step_output_folder, _step_manager)


def _pips(cx, y, count):
    """The step's number, as that many dots."""
    return "".join(
        f'<circle cx="{fmt(cx - 5 * (count - 1) + 10 * pip)}" cy="{y}" r="3" fill="{ACCENT}"/>\n'
        for pip in range(count)
    )


def _quick_guide_cards():
    out = ""
    card_x, card_y, card_w, card_h = QUICK_GUIDE_CARD
    for i, draw in enumerate(QUICK_GUIDE_STEPS):
        x = card_x + QUICK_GUIDE_PITCH[0] * (i % 2)
        y = card_y + QUICK_GUIDE_PITCH[1] * (i // 2)
        out += rect(x, y, card_w, card_h, TILE, 8) + frame(x, y, card_w, card_h, LINE, 8)
        out += draw(x + 8, y + 8)
        out += _pips(x + 8 + STEP_BOX / 2, y + 108, i + 1)
        # The step's text area stays flat: the window paints its text there on the card's colour.
        tx, ty, tw, th = QUICK_GUIDE_TEXT
        out += rect(x + tx - 4, y + ty, 1, th, LINE)
    return out


def quick_guide():
    w, h = QUICK_GUIDE_SIZE
    background = rect(0, 0, w, h, BODY)
    background += rect(0, 0, w, QUICK_GUIDE_HEADER, HEADER) + rect(0, QUICK_GUIDE_HEADER, w, 1, ACCENT)
    background += logo(14, 8, 28)
    background += _quick_guide_cards()
    regions = {rid: (x, y, rw, rh) for rid, x, y, rw, rh in QUICK_GUIDE_REGIONS}

    def draw(rid, state):
        x, y, rw, rh = regions[rid]
        return button((x, y, rw, rh), "close", 16, state, at_rest=False, radius=4)

    return panel_set("quick_guide", QUICK_GUIDE_SIZE, QUICK_GUIDE_REGIONS, background, draw)


def start_guide():
    """The start guide's three steps: choose the recorder, burn, find the disc in the manager."""
    w, h = START_GUIDE_SIZE
    card_w, card_h, gap = 92, 112, 14
    steps = (_step_choose_recorder, _step_burn, _step_manager)
    # Drawn at the quick guide's size, then scaled to fit the picture with a margin around.
    scale = 0.88
    row_w = 3 * card_w + 2 * gap
    left = (w - row_w * scale) / 2
    top = (h - card_h * scale) / 2
    row = ""
    for i, draw in enumerate(steps):
        x = (card_w + gap) * i
        row += rect(x, 0, card_w, card_h, TILE, 7) + frame(x, 0, card_w, card_h, LINE, 7)
        row += draw(x + 4, 4)
        row += _pips(x + card_w / 2, 100, i + 1)
        if i < 2:
            ax = x + card_w + 4
            row += (
                f'<path d="M{ax} 50 L{ax + 6} 56 L{ax} 62" fill="none" stroke="{ACCENT}" '
                'stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>\n'
            )
    body = rect(0, 0, w, h, BODY)
    body += f'<g transform="translate({fmt(left)} {fmt(top)}) scale({scale})">\n{row}</g>\n'
    return {"start_guide": document(w, h, body)}


# --- Icons ------------------------------------------------------------------------------------


def icons():
    pictures = {}
    for size in (16, 32, 48):
        pictures[f"quaverlane_{size}"] = document(size, size, logo(0, 0, size, hole=None))
        # The tray frames: the disc turns a quarter per frame, its light sector marking the turn.
        for frame_no in range(4):
            body = disc(24, 24, 22, body=ACCENT_DARK, shine=ACCENT_LIGHT, hole=None,
                        shine_turn=90 * frame_no, rings=size > 16, outline=True)
            pictures[f"tray_{frame_no + 1}_{size}"] = document(size, size, body, (0, 0, 48, 48))
    return pictures


def all_pictures():
    pictures = {}
    for make in (manager_skin, manager_toolbar, manager_caption, manager_link, status_window,
                 player_buttons, track_panel, no_album_art, quick_guide, start_guide, icons):
        pictures.update(make())
    return pictures


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: artgen.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for name, text in sorted(all_pictures().items()):
        path = os.path.join(outdir, name + ".svg")
        try:
            with open(path, encoding="utf-8") as old:
                if old.read() == text:
                    continue
        except FileNotFoundError:
            pass
        with open(path, "w", encoding="utf-8") as new:
            new.write(text)


if __name__ == "__main__":
    main()
