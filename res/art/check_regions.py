#!/usr/bin/env python3
"""Holds the rendered pictures to what the windows expect of them.

    check_regions.py ART_DIR [RES_DIR]

ART_DIR holds the rendered files; RES_DIR (default: the folder above this script) holds
ids/ArtIds.h and art/Art.rc. The region tables here are written down again from the windows'
side on purpose, not imported from the drawing code, so that a wrong table in either shows up.
Checked: every resource number is bound to the right file; sizes and formats; each hover,
pressed and disabled picture differs from the normal one inside every region and is identical
to it outside all regions; pure red appears only in the manager skin's transparent corners and
no reddish fringe anywhere; the panels' grounds match what they stand on; the quick guide's text
areas are flat in the colours the window paints its texts on. Standard library only.
"""

import os
import re
import struct
import sys

STATES = ("normal", "hover", "pressed", "disabled")

# Image panels: picture size and regions (id, x, y, width, height) as the windows hand them over.
PANELS = {
    "manager_toolbar": ((392, 38), [(0, 16, 1, 90, 37), (1, 105, 1, 92, 37), (2, 197, 1, 103, 37),
                                    (3, 300, 1, 82, 37)]),
    "manager_caption": ((58, 21), [(4, 0, 0, 29, 21), (5, 30, 0, 29, 21)]),
    "manager_link": ((112, 15), [(6, 0, 0, 264, 27)]),
    "status_panel": ((86, 59), [(0, 0, 29, 89, 31), (1, 62, 1, 20, 20)]),
    "player": ((210, 28), [(0, 41, 2, 24, 21), (1, 66, 2, 24, 21), (2, 91, 2, 24, 21),
                           (3, 116, 2, 24, 21), (4, 141, 2, 24, 21)]),
    # quick_guide: filled in from ArtIds.h, which is where its one region is agreed.
}

# Resource number -> (statement, file).
RESOURCES = {
    128: ("ICON", "quaverlane.ico"),
    134: ("ICON", "tray_1.ico"),
    135: ("ICON", "tray_2.ico"),
    136: ("ICON", "tray_3.ico"),
    137: ("ICON", "tray_4.ico"),
    141: ("BITMAP", "manager_skin.bmp"),
    145: ("BITMAP", "manager_toolbar_normal.bmp"),
    144: ("BITMAP", "manager_toolbar_hover.bmp"),
    142: ("BITMAP", "manager_toolbar_pressed.bmp"),
    143: ("BITMAP", "manager_toolbar_disabled.bmp"),
    146: ("BITMAP", "manager_caption_normal.bmp"),
    149: ("BITMAP", "manager_caption_hover.bmp"),
    147: ("BITMAP", "manager_caption_pressed.bmp"),
    148: ("BITMAP", "manager_caption_disabled.bmp"),
    150: ("BITMAP", "manager_link_normal.bmp"),
    153: ("BITMAP", "manager_link_hover.bmp"),
    151: ("BITMAP", "manager_link_pressed.bmp"),
    152: ("BITMAP", "manager_link_disabled.bmp"),
    158: ("BITMAP", "status_background.bmp"),
    159: ("BITMAP", "status_panel_normal.bmp"),
    162: ("BITMAP", "status_panel_hover.bmp"),
    160: ("BITMAP", "status_panel_pressed.bmp"),
    161: ("BITMAP", "status_panel_disabled.bmp"),
    163: ("BITMAP", "quick_guide_normal.bmp"),
    164: ("BITMAP", "quick_guide_hover.bmp"),
    165: ("BITMAP", "quick_guide_pressed.bmp"),
    166: ("BITMAP", "quick_guide_disabled.bmp"),
    175: ("BITMAP", "start_guide.bmp"),
    198: ("BITMAP", "player_normal.bmp"),
    197: ("BITMAP", "player_hover.bmp"),
    199: ("BITMAP", "player_pressed.bmp"),
    196: ("BITMAP", "player_disabled.bmp"),
}

SKIN_SIZE = (960, 660)
KEY = (255, 0, 0)
# Where the panels stand on the skin in a window of the skin's own size, and what they show there.
ON_SKIN = {
    "manager_toolbar": (960 - 420, 40),
    "manager_caption": (960 - 73, 6),
    "manager_link": (13, 660 - 126),
}
PLAYER_BAR = (224, 224, 224)

failures = []


def fail(message):
    failures.append(message)


class Picture:
    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows  # rows: top-down, bytes RGB

    def at(self, x, y):
        row = self.rows[y]
        return (row[3 * x], row[3 * x + 1], row[3 * x + 2])

    def crop(self, x, y, w, h):
        return Picture(w, h, [bytes(r[3 * x:3 * (x + w)]) for r in self.rows[y:y + h]])


def read_bmp(path, size):
    with open(path, "rb") as f:
        data = f.read()
    name = os.path.basename(path)
    if data[:2] != b"BM":
        fail(f"{name}: not a BMP file")
        return None
    offset = struct.unpack_from("<I", data, 10)[0]
    header, width, height, _planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if header != 40 or bits != 24 or compression != 0:
        fail(f"{name}: header {header}, {bits} bits, compression {compression}; "
             "wanted a 40-byte header, 24 bits, uncompressed")
        return None
    if (width, abs(height)) != size:
        fail(f"{name}: {width}x{abs(height)}, wanted {size[0]}x{size[1]}")
        return None
    stride = (width * 3 + 3) & ~3
    rows = []
    for i in range(abs(height)):
        start = offset + stride * i
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    if height > 0:
        rows.reverse()
    return Picture(width, abs(height), rows)


def read_defines(path):
    """Numbers, and colours written RGB(r, g, b), as (r, g, b)."""
    defines = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"\s*#define\s+(\w+)\s+(\d+)\s*$", line)
            if m:
                defines[m.group(1)] = int(m.group(2))
            m = re.match(r"\s*#define\s+(\w+)\s+RGB\((\w+),\s*(\w+),\s*(\w+)\)\s*$", line)
            if m:
                defines[m.group(1)] = tuple(int(v, 0) for v in m.group(2, 3, 4))
    return defines


def check_text_areas(picture, defines):
    """The quick guide's texts are labels painted in one colour over the picture: each area they
    cover must be flat in exactly that colour, or the labels show as patches."""
    d = defines
    areas = [("heading", d["QUICK_GUIDE_HEADING_X"], d["QUICK_GUIDE_HEADING_Y"], d["QUICK_GUIDE_HEADING_WIDTH"],
              d["QUICK_GUIDE_HEADING_HEIGHT"], d["QUICK_GUIDE_HEADING_GROUND"])]
    for step in range(4):
        areas.append((f"step {step + 1}", d["QUICK_GUIDE_STEP_X"] + d["QUICK_GUIDE_STEP_PITCH_X"] * (step % 2),
                      d["QUICK_GUIDE_STEP_Y"] + d["QUICK_GUIDE_STEP_PITCH_Y"] * (step // 2),
                      d["QUICK_GUIDE_STEP_WIDTH"], d["QUICK_GUIDE_STEP_HEIGHT"], d["QUICK_GUIDE_STEP_GROUND"]))
    for name, x, y, w, h, ground in areas:
        if x + w > picture.width or y + h > picture.height:
            fail(f"quick_guide_normal: the {name} text area runs off the picture")
            continue
        other = sum(1 for yy in range(y, y + h) for xx in range(x, x + w) if picture.at(xx, yy) != ground)
        if other:
            fail(f"quick_guide_normal: {other} pixels of the {name} text area are not its ground {ground}")
    print(f"  quick_guide_normal: {len(areas)} text areas flat in their grounds")


def check_resources(rc_path, defines):
    bound = {}
    with open(rc_path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"\s*(\w+)\s+(BITMAP|ICON)\s+\"([^\"]+)\"", line)
            if not m:
                continue
            name, kind, file = m.groups()
            if name not in defines:
                fail(f"Art.rc: {name} is not defined in ArtIds.h")
                continue
            if defines[name] in bound:
                fail(f"Art.rc: resource {defines[name]} is bound twice")
            bound[defines[name]] = (kind, file)
    for number, wanted in sorted(RESOURCES.items()):
        if bound.get(number) != wanted:
            fail(f"resource {number}: bound to {bound.get(number)}, wanted {wanted}")
    for number in sorted(set(bound) - set(RESOURCES)):
        fail(f"resource {number}: not expected ({bound[number]})")


def check_states(name, size, regions, pictures):
    """Each state differs from normal inside every region and nowhere outside them."""
    w, h = size
    inside = [[False] * w for _ in range(h)]
    clipped = []
    for rid, x, y, rw, rh in regions:
        box = (x, y, min(x + rw, w), min(y + rh, h))
        clipped.append((rid, box))
        for yy in range(box[1], box[3]):
            for xx in range(box[0], box[2]):
                inside[yy][xx] = True
    normal = pictures["normal"]
    for state in STATES[1:]:
        other = pictures[state]
        outside_changes = sum(
            1 for yy in range(h) for xx in range(w)
            if not inside[yy][xx] and normal.at(xx, yy) != other.at(xx, yy)
        )
        if outside_changes:
            fail(f"{name}_{state}: {outside_changes} pixels differ from normal outside the regions")
        for rid, (x0, y0, x1, y1) in clipped:
            changed = sum(
                1 for yy in range(y0, y1) for xx in range(x0, x1)
                if normal.at(xx, yy) != other.at(xx, yy)
            )
            if not changed:
                fail(f"{name}_{state}: region {rid} looks the same as in the normal picture")
            else:
                print(f"  {name}_{state}: region {rid} {x1 - x0}x{y1 - y0} at {x0},{y0}: "
                      f"{changed} pixels changed; outside the regions: {outside_changes}")


def reddish(pixel):
    r, g, b = pixel
    return pixel != KEY and r >= 96 and r - max(g, b) >= 64


def check_colour_key(name, picture):
    keyed, fringe, misplaced = 0, 0, 0
    corner = 12  # the skin's corner radius plus its outline: no key may show beyond it
    for y in range(picture.height):
        for x in range(picture.width):
            pixel = picture.at(x, y)
            if pixel == KEY:
                keyed += 1
                in_corner = (x < corner or x >= picture.width - corner) and (
                    y < corner or y >= picture.height - corner)
                if name != "manager_skin" or not in_corner:
                    misplaced += 1
            elif reddish(pixel):
                fringe += 1
    if misplaced:
        fail(f"{name}: {misplaced} pure red pixels where the window must not be transparent")
    if fringe:
        fail(f"{name}: {fringe} reddish pixels (a key fringe or a stray red)")
    return keyed


def check_skin(skin):
    w, h = skin.width, skin.height
    keyed = check_colour_key("manager_skin", skin)
    corners = [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)]
    if any(skin.at(x, y) != KEY for x, y in corners):
        fail("manager_skin: its corners are not transparent")
    edges = [(w // 2, 0), (0, h // 2), (w - 1, h // 2), (w // 2, h - 1), (w // 2, h // 2)]
    if any(skin.at(x, y) == KEY for x, y in edges):
        fail("manager_skin: transparent in the middle of an edge or of the window")
    print(f"  manager_skin: {keyed} transparent pixels, all in the rounded corners, no fringe")


def read_ico(path):
    with open(path, "rb") as f:
        data = f.read()
    name = os.path.basename(path)
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        fail(f"{name}: not an icon file")
        return {}
    images = {}
    for i in range(count):
        w, h, _colours, _zero, _planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        dib = data[offset:offset + length]
        if dib[:4] == b"\x89PNG":
            fail(f"{name}: the {w}px image is PNG-compressed; wanted a 32-bit bitmap")
            continue
        _hs, bw, bh, _pl, dib_bits, compression = struct.unpack_from("<IiiHHI", dib, 0)
        if bits != 32 or dib_bits != 32 or compression != 0 or (bw, bh) != (w, 2 * h):
            fail(f"{name}: the {w}px image has {dib_bits} bits, compression {compression}")
            continue
        pixels = dib[40:40 + w * h * 4]
        alphas = set(pixels[3::4])
        if 0 not in alphas or 255 not in alphas:
            fail(f"{name}: the {w}px image has no transparent or no opaque pixels")
        images[w] = pixels
    if sorted(images) != [16, 32, 48]:
        fail(f"{name}: images of {sorted(images)} pixels, wanted 16, 32 and 48")
    return images


def jpeg_size(path):
    with open(path, "rb") as f:
        data = f.read()
    i = 2
    while i < len(data):
        marker, length = data[i + 1], struct.unpack_from(">H", data, i + 2)[0]
        if marker in (0xC0, 0xC1, 0xC2):
            h, w = struct.unpack_from(">HH", data, i + 5)
            return w, h, data[i + 9]
        i += 2 + length
    return None


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: check_regions.py ART_DIR [RES_DIR]")
    art = sys.argv[1]
    res = sys.argv[2] if len(sys.argv) == 3 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    defines = read_defines(os.path.join(res, "ids", "ArtIds.h"))
    check_resources(os.path.join(res, "art", "Art.rc"), defines)

    panels = dict(PANELS)
    panels["quick_guide"] = (
        (defines["QUICK_GUIDE_WIDTH"], defines["QUICK_GUIDE_HEIGHT"]),
        [(defines["QUICK_GUIDE_CLOSE_REGION"], defines["QUICK_GUIDE_CLOSE_X"], defines["QUICK_GUIDE_CLOSE_Y"],
          defines["QUICK_GUIDE_CLOSE_WIDTH"], defines["QUICK_GUIDE_CLOSE_HEIGHT"])],
    )
    singles = {
        "manager_skin": SKIN_SIZE,
        "status_background": (215, 92),
        "trackInfo_background": (240, 138),
        "start_guide": (defines["START_GUIDE_WIDTH"], defines["START_GUIDE_HEIGHT"]),
    }

    pictures = {}
    for name, size in singles.items():
        pictures[name] = read_bmp(os.path.join(art, name + ".bmp"), size)
    for name, (size, regions) in panels.items():
        states = {s: read_bmp(os.path.join(art, f"{name}_{s}.bmp"), size) for s in STATES}
        for state, picture in states.items():
            pictures[f"{name}_{state}"] = picture
        if all(states.values()):
            check_states(name, size, regions, states)
    if any(p is None for p in pictures.values()):
        report()

    check_skin(pictures["manager_skin"])
    for name, picture in sorted(pictures.items()):
        if name != "manager_skin":
            check_colour_key(name, picture)
    print(f"  {len(pictures) - 1} other bitmaps: no pure red, no reddish pixel")

    # The status window's background carries the panel's normal face where the panel stands.
    status_face = pictures["status_background"].crop(129, 0, 86, 59)
    if status_face.rows != pictures["status_panel_normal"].rows:
        fail("status_background: differs from status_panel_normal where the panel stands")
    for name, (px, py) in ON_SKIN.items():
        panel = pictures[f"{name}_normal"]
        probes = [(0, 0), (panel.width - 1, panel.height - 1)] if name != "manager_caption" else [(29, 0), (29, 20)]
        for x, y in probes:
            if panel.at(x, y) != pictures["manager_skin"].at(px + x, py + y):
                fail(f"{name}_normal: ground at {x},{y} differs from the skin under it")
    check_text_areas(pictures["quick_guide_normal"], defines)
    for state in STATES:
        player = pictures[f"player_{state}"]
        if player.at(0, 0) != PLAYER_BAR or player.at(209, 27) != PLAYER_BAR:
            fail(f"player_{state}: its ground is not the player bar's grey")

    frames = []
    for name in ("quaverlane", "tray_1", "tray_2", "tray_3", "tray_4"):
        images = read_ico(os.path.join(art, name + ".ico"))
        if name.startswith("tray"):
            frames.append(images.get(16))
    if len(set(frames)) != 4:
        fail("tray frames: the four 16-pixel frames are not all different")
    print("  icons: 16, 32 and 48 pixels, 32-bit with alpha; four distinct tray frames")

    size = jpeg_size(os.path.join(art, "no_album_art.jpg"))
    if size != (176, 176, 3):
        fail(f"no_album_art.jpg: {size}, wanted 176x176 in colour")
    report()


def report():
    if failures:
        for message in failures:
            print("FAIL", message)
        sys.exit(1)
    print("pictures: all checks passed")
    sys.exit(0)


if __name__ == "__main__":
    main()
