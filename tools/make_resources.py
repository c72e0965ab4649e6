#!/usr/bin/env python3
"""Draws Tavrel's own icon, About picture, hand cursor and two sounds.

Everything is computed from the shapes and formulas below with integer
rounding and a fixed pseudo-random sequence, so every run writes the same
bytes. Python 3 standard library only.

    python3 tools/make_resources.py [output-folder]

The default output folder is app/win32/res in the repository.
"""

import math
import os
import struct
import sys
import wave

SUPERSAMPLE = 4  # per axis: 16 samples smooth the round edges


# --- a tiny supersampled painter -------------------------------------------

class Canvas:
    """Shapes are painted onto subsamples; None marks an uncovered one."""

    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        self.samples = [[background] * (width * SUPERSAMPLE)
                        for _ in range(height * SUPERSAMPLE)]

    def paint(self, inside, colour, box):
        x0, y0, x1, y1 = box
        s = SUPERSAMPLE
        sx0 = max(0, int(math.floor(x0 * s)))
        sy0 = max(0, int(math.floor(y0 * s)))
        sx1 = min(self.width * s, int(math.ceil(x1 * s)))
        sy1 = min(self.height * s, int(math.ceil(y1 * s)))
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / s
            row = self.samples[sy]
            for sx in range(sx0, sx1):
                if inside((sx + 0.5) / s, y):
                    row[sx] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.paint(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour,
                   (x0, y0, x1, y1))

    def rounded_rect(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.paint(inside, colour, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, colour):
        self.paint(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                   colour, (cx - r, cy - r, cx + r, cy + r))

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            n = len(points)
            for i in range(n):
                ax, ay = points[i]
                bx, by = points[(i + 1) % n]
                if (ay > y) != (by > y):
                    if x < ax + (y - ay) * (bx - ax) / (by - ay):
                        hit = not hit
            return hit
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.paint(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def stroke(self, points, half, colour):
        """Axis-aligned polyline with square ends and joins."""
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            self.rect(min(ax, bx) - half, min(ay, by) - half,
                      max(ax, bx) + half, max(ay, by) + half, colour)

    def pixels(self):
        """Rows of (r, g, b) or None: a pixel is opaque when at least half of
        its samples are covered, and takes the mean of the covered ones."""
        s = SUPERSAMPLE
        out = []
        for py in range(self.height):
            row = []
            for px in range(self.width):
                covered = [self.samples[py * s + j][px * s + i]
                           for j in range(s) for i in range(s)]
                covered = [c for c in covered if c is not None]
                if 2 * len(covered) < s * s:
                    row.append(None)
                    continue
                n = len(covered)
                row.append(tuple((sum(c[k] for c in covered) + n // 2) // n
                                 for k in range(3)))
            out.append(row)
        return out


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# --- the application icon ---------------------------------------------------

ICON_OUTLINE = hex_colour("#1f4a17")
ICON_GRASS_A = hex_colour("#6cbf45")
ICON_GRASS_B = hex_colour("#5eae3b")
ICON_PATH_EDGE = hex_colour("#2a1c08")
ICON_PATH = hex_colour("#ffd23c")
ICON_START = hex_colour("#e0402c")

# Per size, in pixels: tile corner radius and border, checker cell size,
# the centre line of the stepped path, its half width and outline, and the
# arrowhead. Hand-placed so that every straight edge falls on a pixel
# boundary.
ICON_LAYOUTS = {
    48: dict(radius=8, border=2, cell=11, inset=2,
             path=[(8.5, 38.5), (20.5, 38.5), (20.5, 27.5), (31.5, 27.5),
                   (31.5, 17.0)],
             half=2.5, edge=2.0,
             arrow=[(22.5, 18.0), (31.5, 6.0), (40.5, 18.0)], arrow_edge=2.0,
             start=3.5),
    32: dict(radius=6, border=2, cell=7, inset=2,
             path=[(5.5, 25.5), (13.5, 25.5), (13.5, 18.5), (20.5, 18.5),
                   (20.5, 12.0)],
             half=1.5, edge=1.0,
             arrow=[(15.0, 12.5), (20.5, 5.5), (26.0, 12.5)], arrow_edge=1.5,
             start=2.5),
}


# At 16 pixels smoothing only muddies the arrowhead, so that size is drawn
# pixel by pixel: the same tile, stepped path, arrowhead and start mark.
ICON_PIXEL_ART = {
    16: [
        "..OOOOOOOOOOOO..",
        ".OggggggggggggO.",
        "OggggggggkkggggO",
        "OgggggggkyykgggO",
        "OggggggkyyyykggO",
        "OgggggkyyyyyykgO",
        "OgggggkkkyykkkgO",
        "OgggkkkkkyykgggO",
        "OgggkyyyyyykgggO",
        "OgggkyyyyyykgggO",
        "OgggkyykkkkkgggO",
        "OkkkkyykgggggggO",
        "OkrryyykgggggggO",
        "OkrryyykgggggggO",
        ".OkkkkkkggggggO.",
        "..OOOOOOOOOOOO..",
    ],
}
ICON_ART_COLOURS = {
    ".": None, "O": ICON_OUTLINE, "g": ICON_GRASS_A, "h": ICON_GRASS_B,
    "k": ICON_PATH_EDGE, "y": ICON_PATH, "r": ICON_START,
}


def grow_triangle(points, amount):
    """The triangle pushed outwards by `amount` on every side."""
    cx = sum(p[0] for p in points) / 3.0
    cy = sum(p[1] for p in points) / 3.0
    # Distance from the centroid to each side is a third of the height over
    # it; scaling by (r + amount) / r moves every side out by `amount`.
    def side_distance(a, b):
        (ax, ay), (bx, by) = a, b
        length = math.hypot(bx - ax, by - ay)
        return abs((bx - ax) * (ay - cy) - (ax - cx) * (by - ay)) / length
    r = min(side_distance(points[i], points[(i + 1) % 3]) for i in range(3))
    k = (r + amount) / r
    return [(cx + (x - cx) * k, cy + (y - cy) * k) for x, y in points]


def draw_icon(size):
    if size in ICON_PIXEL_ART:
        art = ICON_PIXEL_ART[size]
        assert len(art) == size and all(len(row) == size for row in art)
        return [[ICON_ART_COLOURS[ch] for ch in row] for row in art]
    lay = ICON_LAYOUTS[size]
    c = Canvas(size, size)
    r, b, inset = lay["radius"], lay["border"], lay["inset"]
    c.rounded_rect(0, 0, size, size, r, ICON_OUTLINE)
    c.rounded_rect(b, b, size - b, size - b, r - b, ICON_GRASS_A)
    cell = lay["cell"]
    if cell:
        # A faint checker of map tiles, clipped to the tile's inner shape.
        def in_inner(x, y, lo=b, hi=size - b, rr=r - b):
            cx = min(max(x, lo + rr), hi - rr)
            cy = min(max(y, lo + rr), hi - rr)
            return (x - cx) ** 2 + (y - cy) ** 2 <= rr * rr

        def checker(x, y):
            i = int((x - inset) // cell)
            j = int((y - inset) // cell)
            return (i + j) % 2 == 1 and in_inner(x, y)
        c.paint(checker, ICON_GRASS_B, (b, b, size - b, size - b))
    path, half, edge = lay["path"], lay["half"], lay["edge"]
    arrow = lay["arrow"]
    c.stroke(path, half + edge, ICON_PATH_EDGE)
    c.polygon(grow_triangle(arrow, lay["arrow_edge"]), ICON_PATH_EDGE)
    c.stroke(path, half, ICON_PATH)
    c.polygon(arrow, ICON_PATH)
    if lay["start"]:
        sx, sy = path[0]
        c.circle(sx, sy, lay["start"] + edge, ICON_PATH_EDGE)
        c.circle(sx, sy, lay["start"], ICON_START)
    return c.pixels()


def palettize(pixels):
    """Index 0 is black so that masked-out pixels leave the screen alone."""
    colours = sorted({p for row in pixels for p in row if p is not None})
    palette = [(0, 0, 0)] + [p for p in colours if p != (0, 0, 0)]
    if len(palette) > 256:
        raise SystemExit("icon image needs %d colours" % len(palette))
    index = {p: i for i, p in enumerate(palette)}
    indexed = [[0 if p is None else index[p] for p in row] for row in pixels]
    return palette + [(0, 0, 0)] * (256 - len(palette)), indexed


def row_stride(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def pack_mask(bits):
    """One row of 1-bit values, most significant bit first, padded."""
    out = bytearray(row_stride(len(bits)))
    for i, bit in enumerate(bits):
        if bit:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def dib_8bit_with_mask(pixels):
    h = len(pixels)
    w = len(pixels[0])
    palette, indexed = palettize(pixels)
    xor_stride = row_stride(8 * w)
    and_stride = row_stride(w)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0,
                         (xor_stride + and_stride) * h, 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", bb, gg, rr, 0)
                   for rr, gg, bb in palette)
    xor = b"".join(bytes(row) + b"\0" * (xor_stride - w)
                   for row in reversed(indexed))
    mask = b"".join(pack_mask([p is None for p in row])
                    for row in reversed(pixels))
    return header + pal + xor + mask


def icon_file(images):
    """images: (size, dib bytes) in directory order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, dib in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8,
                           len(dib), offset)
        offset += len(dib)
    for _, dib in images:
        out += dib
    return out


# --- the About picture --------------------------------------------------------

class Lcg:
    """A fixed pseudo-random sequence, the same on every run and platform."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self, n):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 16) % n


ABOUT_W, ABOUT_H = 128, 69
TILE = 16
TILE_Y0 = -5  # rows of tiles cut evenly by the top and bottom edges

GRASS = [hex_colour("#78c850"), hex_colour("#70c048")]
GRASS_DARK = hex_colour("#5a9e3a")
GRASS_LIGHT = hex_colour("#9ada6e")
GRID = hex_colour("#4f8a34")
WATER = hex_colour("#3f86d8")
WATER_LIGHT = hex_colour("#8cc4f4")
SHORE = hex_colour("#e8d8a0")
TRUNK = hex_colour("#6b4423")
CANOPY_DARK = hex_colour("#1f6a2a")
CANOPY = hex_colour("#2f8a36")
CANOPY_LIGHT = hex_colour("#58b04a")
DOT_EDGE = hex_colour("#3a2a10")
DOT = hex_colour("#fff3c4")
START = hex_colour("#e0402c")
FRAME = hex_colour("#24401c")


def tile_centre(col, row):
    return (col * TILE + TILE / 2.0, TILE_Y0 + row * TILE + TILE / 2.0)


# The walk drawn on the map, tile by tile: right, up, right, down, right.
ABOUT_ROUTE = [(0, 3), (2, 3), (2, 1), (5, 1), (5, 2), (6, 2)]
ABOUT_TREES = [(0, 1), (3, 3), (1, 0), (6, 0), (4, 2)]
ABOUT_POND = (5.35, 3.05, 8.2, 4.9)  # in tiles: left, top, right, bottom


def draw_about():
    c = Canvas(ABOUT_W, ABOUT_H, GRASS[0])
    rng = Lcg(0x7A5E1)
    rows = range(-1, ABOUT_H // TILE + 2)
    for row in rows:
        for col in range(ABOUT_W // TILE):
            x0, y0 = col * TILE, TILE_Y0 + row * TILE
            c.rect(x0, y0, x0 + TILE, y0 + TILE, GRASS[(col + row) % 2])
            # A few blades of grass per tile, always in the same places.
            for _ in range(5):
                gx = x0 + 2 + rng.next(TILE - 4)
                gy = y0 + 2 + rng.next(TILE - 5)
                c.rect(gx, gy, gx + 1, gy + 2, GRASS_DARK)
                c.rect(gx + 1, gy, gx + 2, gy + 1, GRASS_LIGHT)

    # The pond, with a sandy rim and a couple of ripples.
    l, t, r, b = (v * TILE for v in ABOUT_POND)
    t += TILE_Y0
    b += TILE_Y0
    c.rounded_rect(l - 2, t - 2, r + 2, b + 2, 9, SHORE)
    c.rounded_rect(l, t, r, b, 7, WATER)
    for wx, wy in ((l + 9, t + 6), (l + 24, t + 12), (l + 14, t + 17)):
        c.rect(wx, wy, wx + 5, wy + 1, WATER_LIGHT)
        c.rect(wx + 5, wy - 1, wx + 8, wy, WATER_LIGHT)

    # The editor's tile grid, one pixel on each tile boundary.
    for col in range(1, ABOUT_W // TILE):
        c.rect(col * TILE, 0, col * TILE + 1, ABOUT_H, GRID)
    for row in rows:
        y = TILE_Y0 + row * TILE
        c.rect(0, y, ABOUT_W, y + 1, GRID)

    for col, row in ABOUT_TREES:
        x, y = tile_centre(col, row)
        c.rect(x - 1.5, y + 1, x + 1.5, y + 7, TRUNK)
        c.circle(x, y - 1, 6.2, CANOPY_DARK)
        c.circle(x - 0.6, y - 1.6, 5.0, CANOPY)
        c.circle(x - 2.2, y - 3.4, 2.0, CANOPY_LIGHT)

    # The dotted walk: three dots to a tile, a marker where it starts and an
    # arrowhead pointing on from where it ends.
    points = [tile_centre(col, row) for col, row in ABOUT_ROUTE]
    dots = []
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        steps = int(round(abs(bx - ax) + abs(by - ay))) * 3 // TILE
        for i in range(steps):
            dots.append((ax + (bx - ax) * i / steps, ay + (by - ay) * i / steps))
    ex, ey = points[-1]
    dots.append((ex, ey))
    dots.append((ex + TILE / 3.0, ey))
    for x, y in dots[1:]:
        c.circle(x, y, 2.1, DOT_EDGE)
        c.circle(x, y, 1.3, DOT)
    sx, sy = points[0]
    c.circle(sx, sy, 4.8, DOT_EDGE)
    c.circle(sx, sy, 3.6, START)
    c.circle(sx - 1.0, sy - 1.0, 1.2, hex_colour("#f08a78"))
    hx = ex + 2 * TILE / 3.0
    head = [(hx - 1, ey - 5.5), (hx + 6, ey), (hx - 1, ey + 5.5)]
    c.polygon(grow_triangle(head, 1.2), DOT_EDGE)
    c.polygon(head, DOT)

    # A thin frame keeps the picture's edge tidy on the grey window.
    c.rect(0, 0, ABOUT_W, 1, FRAME)
    c.rect(0, ABOUT_H - 1, ABOUT_W, ABOUT_H, FRAME)
    c.rect(0, 0, 1, ABOUT_H, FRAME)
    c.rect(ABOUT_W - 1, 0, ABOUT_W, ABOUT_H, FRAME)
    return c.pixels()


def bmp_24bit(pixels):
    h = len(pixels)
    w = len(pixels[0])
    stride = row_stride(24 * w)
    data = b"".join(
        b"".join(struct.pack("<BBB", p[2], p[1], p[0]) for p in row)
        + b"\0" * (stride - 3 * w)
        for row in reversed(pixels))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data),
                       2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0,
                         14 + len(info))
    return header + info + data


# --- the hand cursor -----------------------------------------------------------

# '#' black, 'o' white, '.' transparent. The pointing fingertip is the middle
# of the three black pixels on row 1: column 12, the hot spot.
HAND = [
    "................................",
    "...........###..................",
    "..........#ooo#.................",
    "..........#ooo#.................",
    "..........#ooo#.................",
    "..........#ooo#.................",
    "..........#ooo#.................",
    "..........#ooo#.................",
    "..........#ooo###...............",
    "..........#ooo#ooo##............",
    "..........#ooo#ooo#o###.........",
    "..........#ooo#ooo#ooo#o#.......",
    "..........#ooo#ooo#ooo#oo#......",
    "..........#ooo#ooo#ooo#oo#......",
    "...##.....#ooo#ooo#ooo#oo#......",
    "..#oo#....#oooooooooooooo#......",
    "..#ooo#...#oooooooooooooo#......",
    "...#ooo#..#oooooooooooooo#......",
    "....#ooo#.#oooooooooooooo#......",
    ".....#ooo##oooooooooooooo#......",
    "......#ooooooooooooooooo#.......",
    ".......#oooooooooooooooo#.......",
    "........#ooooooooooooooo#.......",
    ".........#ooooooooooooo#........",
    "..........#oooooooooooo#........",
    "...........#ooooooooooo#........",
    "...........#ooooooooooo#........",
    "...........#############........",
    "...........#ooooooooooo#........",
    "...........#ooooooooooo#........",
    "...........#############........",
    "................................",
]
HAND_HOTSPOT = (12, 1)


def cursor_file(art, hotspot):
    h = len(art)
    w = len(art[0])
    assert all(len(row) == w for row in art), "cursor rows differ in width"
    hx, hy = hotspot
    assert art[hy][hx] == "#", "hot spot is not on the drawn fingertip"
    assert all(ch == "." for row in art[:hy] for ch in row), \
        "something is drawn above the fingertip"
    stride = row_stride(w)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 1, 0,
                         2 * stride * h, 0, 0, 2, 2)
    pal = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    xor = b"".join(pack_mask([ch == "o" for ch in row]) for row in reversed(art))
    mask = b"".join(pack_mask([ch == "." for ch in row]) for row in reversed(art))
    dib = header + pal + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 2, 0, hx, hy, len(dib), 6 + 16)
    return directory + entry + dib


# --- the sounds ------------------------------------------------------------------

RATE = 22050


def tick_samples(duration, tone, tone2, noise, decay, seed):
    """A struck, quickly dying tone with a little noise in the attack."""
    rng = Lcg(seed)
    n = int(round(duration * RATE))
    fade = int(RATE * 0.002)  # ends on silence, so the last sample is 0
    out = []
    for i in range(n):
        t = i / RATE
        env = math.exp(-t / decay)
        attack = min(1.0, i / 8.0)  # eight samples soften the very first edge
        v = 0.62 * math.sin(2 * math.pi * tone * t) \
            + 0.25 * math.sin(2 * math.pi * tone2 * t) \
            + noise * (rng.next(2001) - 1000) / 1000.0 * math.exp(-t / (decay / 3))
        tail = min(1.0, (n - 1 - i) / fade)
        out.append(int(round(32767 * 0.7 * v * env * attack * tail)))
    return [max(-32767, min(32767, s)) for s in out]


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", s) for s in samples))


# --- main ----------------------------------------------------------------------------

def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) > 1 else os.path.join(
        here, os.pardir, "app", "win32", "res")
    out_dir = os.path.normpath(out_dir)
    os.makedirs(out_dir, exist_ok=True)

    def put(name, data):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("wrote", os.path.join(out_dir, name), len(data), "bytes")

    put("tavrel.ico", icon_file([(s, dib_8bit_with_mask(draw_icon(s)))
                                 for s in (48, 32, 16)]))
    put("about.bmp", bmp_24bit(draw_about()))
    put("hand.cur", cursor_file(HAND, HAND_HOTSPOT))
    for name, samples in (
            ("key.wav", tick_samples(0.035, 1850.0, 3700.0, 0.35, 0.006, 11)),
            ("click.wav", tick_samples(0.012, 3200.0, 5400.0, 0.6, 0.0025, 23))):
        write_wav(os.path.join(out_dir, name), samples)
        print("wrote", os.path.join(out_dir, name), len(samples), "samples")


if __name__ == "__main__":
    main(sys.argv)
