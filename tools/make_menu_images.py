#!/usr/bin/env python3
"""Draws the popup menu's images, src/resources/MenuImages4.bmp and MenuImages8.bmp.

Each file is 320 x 32: the upper 16 rows hold twenty 16 x 16 images side by side, image i at
x = 16 i, black where transparent; the lower 16 rows hold their masks, black under the image and
white where it is transparent. MenuImages4.bmp has 4 bits per pixel in the standard 16-colour
palette, for displays below 16 bits per pixel; MenuImages8.bmp has 8 bits per pixel in the
216-colour web cube plus the 16-colour palette's half tones and greys, for all others. Both show
the same drawings; the 8-bit set has softer colours where the 16 colours are too coarse.

   0  options: a gear                      10  move to bottom right: the same, that corner
   1  set by radio: a mast sending waves   11  move to bottom left: the same, that corner
   2  set over the internet: a globe       12  fix the position: a pushpin
   3  exact hour: a clock, an arrow at 12  13  test pattern: a television showing colour bars
   4  world clock: a globe and a clock     14  screen saver: a monitor showing stars
   5  in front: a blue window over another 15  date and time properties: a calendar and a clock
   6  always in front: the same, a star    16  help: a blue round "?"
   7  not in front: the blue window behind 17  exit: a red X
   8  move to top left: a monitor with a   18  monitor off: a monitor with the power symbol
      small window in that corner          19  timer: a stopwatch
   9  move to top right: the same, that corner

Round and slanted shapes are drawn eight times larger and reduced: a pixel belongs to a shape when
the shape covers at least half of it. A shape that stands on its own then gets a one-pixel dark
outline, traced on the 16-pixel grid so it is never broken; land and colour bars inside another
shape have none. Small details (hands, ticks, the mast, the star, the
power symbol and the "?") are set pixel by pixel. No font is used; the output depends on nothing
but this script.

Usage: make_menu_images.py [output folder]
"""
import math
import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw

N = 16  # image size
COUNT = 20
S = 8  # shapes are drawn this many times larger, then reduced by coverage

# The standard 16-colour palette in its usual order.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256() -> list:
    """The 216-colour web cube, the half tones of the 16-colour palette, then greys to fill 256."""
    colours = [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
    colours += [c for c in VGA if c not in colours]
    greys = [round(i * 255 / 33) for i in range(1, 33)]
    colours += [(v, v, v) for v in greys if (v, v, v) not in colours]
    assert len(colours) == 256 and len(set(colours)) == 256
    return colours


PALETTE8 = palette256()

# Inks: the colour in the 8-bit set (from PALETTE8) and the index of the colour in the 16-colour set.
INKS = {
    "K": ((0, 0, 0), 0),          # outline, hands
    "W": ((255, 255, 255), 15),   # paper, clock faces
    "S": ((192, 192, 192), 7),    # metal, monitor casing
    "G": ((128, 128, 128), 8),    # shade, ticks
    "D": ((51, 51, 51), 8),       # television casing
    "R": ((255, 0, 0), 9),        # red
    "P": ((255, 153, 153), 9),    # the timer's set span
    "Y": ((255, 255, 0), 11),     # yellow
    "L": ((0, 255, 0), 10),       # light green
    "g": ((0, 153, 0), 2),        # land
    "C": ((0, 255, 255), 14),     # cyan
    "F": ((255, 0, 255), 13),     # magenta
    "B": ((0, 0, 255), 12),       # blue
    "O": ((51, 153, 255), 12),    # ocean
    "o": ((153, 204, 255), 14),   # light on the ocean
    "N": ((0, 0, 128), 4),        # title bars, night screen
    "T": ((0, 128, 128), 6),      # desktop
}


class Icon:
    """One 16 x 16 image: an ink letter or None (transparent) per pixel."""

    def __init__(self):
        self.pixels = [[None] * N for _ in range(N)]

    # Masks: sets of (x, y) pixels.
    @staticmethod
    def coverage(draw_big) -> set:
        """Pixels at least half covered by what draw_big(draw) draws in white on an S-times canvas."""
        big = Image.new("L", (N * S, N * S), 0)
        draw_big(ImageDraw.Draw(big))
        small = big.resize((N, N), Image.BOX)
        return {(x, y) for y in range(N) for x in range(N) if small.getpixel((x, y)) >= 128}

    @staticmethod
    def rect(x0: int, y0: int, x1: int, y1: int) -> set:
        """Pixels x0..x1, y0..y1."""
        return {(x, y) for x in range(max(x0, 0), min(x1, N - 1) + 1) for y in range(max(y0, 0), min(y1, N - 1) + 1)}

    @classmethod
    def ellipse(cls, x0: int, y0: int, x1: int, y1: int) -> set:
        """The ellipse filling pixels x0..x1, y0..y1."""
        return cls.coverage(lambda d: d.ellipse([x0 * S, y0 * S, (x1 + 1) * S - 1, (y1 + 1) * S - 1], fill=255))

    @classmethod
    def polygon(cls, points) -> set:
        """A polygon in pixel units: pixel i spans i..i+1."""
        return cls.coverage(lambda d: d.polygon([(x * S, y * S) for x, y in points], fill=255))

    @classmethod
    def ring(cls, cx: float, cy: float, r: float, width: float, start: float, end: float) -> set:
        """An arc of a ring of the given mid radius and width, from start to end degrees clockwise from
        three o'clock."""
        def draw(d):
            box = lambda rr: [(cx - rr) * S, (cy - rr) * S, (cx + rr) * S, (cy + rr) * S]
            d.pieslice(box(r + width / 2), start, end, fill=255)
            d.pieslice(box(r - width / 2), start - 1, end + 1, fill=0)  # wider, so no sliver stays at the ends
        return cls.coverage(draw)

    # Painting.
    def fill(self, mask: set, ink: str, outline: str | None = "K") -> None:
        """Paints mask in ink, with its edge pixels (those with a 4-neighbour outside it) in outline."""
        for x, y in mask:
            edge = any((x + dx, y + dy) not in mask for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            self.pixels[y][x] = outline if edge and outline else ink

    def put(self, x: int, y: int, ink: str) -> None:
        if 0 <= x < N and 0 <= y < N:
            self.pixels[y][x] = ink

    def line(self, x0: int, y0: int, x1: int, y1: int, ink: str) -> None:
        """A one-pixel line from pixel to pixel."""
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            t = i / steps if steps else 0
            self.put(round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), ink)

    def pattern(self, x: int, y: int, rows) -> None:
        """Sets pixels from rows of ink letters starting at (x, y); '.' leaves a pixel alone."""
        for dy, row in enumerate(rows):
            for dx, letter in enumerate(row):
                if letter != ".":
                    self.put(x + dx, y + dy, letter)


# Parts used by several images.

def globe(icon: Icon, x0: int, y0: int, size: int) -> None:
    """A globe filling a size x size square: ocean, land masses in the proportions of the Americas
    and Africa, a gleam at the upper left."""
    sphere = Icon.ellipse(x0, y0, x0 + size - 1, y0 + size - 1)
    icon.fill(sphere, "O")
    inside = {p for p in sphere if icon.pixels[p[1]][p[0]] == "O"}
    u = size / 16  # the land is laid out for a 16-pixel globe and scaled
    lands = [
        [(2.5, 4), (5, 2.2), (8.5, 2.5), (8, 5), (6.5, 6.5), (6.8, 8.5), (5, 8), (3.5, 7.5), (2.2, 6.5)],
        [(6, 9), (8.7, 9.6), (8.5, 12), (7, 14.5), (6, 13.5), (5.8, 11)],
        [(10.5, 5.5), (13.5, 4.5), (14.8, 7), (14.2, 10.5), (12.5, 12.5), (11.5, 10), (10, 8)],
    ]
    for land in lands:
        icon.fill(Icon.polygon([(x0 + x * u, y0 + y * u) for x, y in land]) & inside, "g", None)
    gleam = {(x0 + round(3 * u), y0 + round(3 * u)), (x0 + round(4 * u), y0 + round(2.5 * u))}
    for x, y in gleam & inside:
        icon.put(x, y, "o")


def small_clock(icon: Icon, x0: int, y0: int) -> None:
    """A 9-pixel clock face with its top-left at (x0, y0), reading three o'clock."""
    icon.fill(Icon.ellipse(x0, y0, x0 + 8, y0 + 8), "W")
    cx, cy = x0 + 4, y0 + 4
    icon.line(cx, cy, cx, cy - 3, "K")
    icon.line(cx, cy, cx + 2, cy, "K")


def window(icon: Icon, x0: int, y0: int, x1: int, y1: int, active: bool) -> None:
    """A window: black frame, a two-pixel title bar (blue when active, grey when not), white inside."""
    icon.fill(Icon.rect(x0, y0, x1, y1), "W")
    for y in (y0 + 1, y0 + 2):
        icon.line(x0 + 1, y, x1 - 1, y, "N" if active else "G")


def monitor(icon: Icon, screen: str) -> tuple:
    """A monitor on a foot: grey casing, the screen in the given ink. Returns the screen's inside
    (x0, y0, x1, y1)."""
    icon.fill(Icon.rect(0, 0, 15, 11), "S")
    icon.fill(Icon.rect(2, 2, 13, 9), screen)
    icon.fill(Icon.rect(6, 11, 9, 13), "S")
    icon.fill(Icon.rect(3, 13, 12, 15), "S")
    return 3, 3, 12, 8


# The images.

def options() -> Icon:
    icon = Icon()
    teeth = 8
    points = []
    for k in range(teeth):
        mid = 2 * math.pi * k / teeth
        for angle, radius in ((-0.38, 5.6), (-0.2, 7.9), (0.2, 7.9), (0.38, 5.6)):
            points.append((8 + radius * math.cos(mid + angle), 8 + radius * math.sin(mid + angle)))
    hole = Icon.rect(7, 7, 8, 8)
    icon.fill(Icon.polygon(points) - hole, "S")
    return icon


def radio() -> Icon:
    icon = Icon()
    # Waves from the lamp on top of the mast.
    for r in (3.6, 6.4):
        icon.fill(Icon.ring(8, 4, r, 1.0, 140, 220), "B", None)
        icon.fill(Icon.ring(8, 4, r, 1.0, -40, 40), "B", None)
    # The mast: a lattice of two legs, cross bars and braces, a red lamp on top.
    icon.pattern(4, 6, ["...KK...",
                        "...KK...",
                        "..KGGK..",
                        "..KKKK..",
                        "..KGGK..",
                        ".KG..GK.",
                        ".KKKKKK.",
                        ".KG..GK.",
                        "KG.GG.GK",
                        "K.G..G.K"])
    icon.fill(Icon.rect(6, 2, 9, 5), "R")
    return icon


def internet() -> Icon:
    icon = Icon()
    globe(icon, 0, 0, 16)
    return icon


def exact_hour() -> Icon:
    icon = Icon()
    icon.fill(Icon.ellipse(0, 1, 14, 15), "W")
    cx, cy = 7, 8
    for x, y in ((cx + 5, cy), (cx, cy + 5), (cx - 5, cy)):
        icon.put(x, y, "G")
    # The hands at twelve, as an arrow pointing at it.
    icon.line(cx, cy, cx, cy - 3, "R")
    icon.pattern(cx - 2, cy - 6, ["..R..", ".RRR.", "RRRRR"])
    icon.put(cx, cy, "K")
    return icon


def world_clock() -> Icon:
    icon = Icon()
    globe(icon, 0, 0, 13)
    small_clock(icon, 7, 7)
    return icon


def in_front() -> Icon:
    icon = Icon()
    window(icon, 0, 0, 10, 9, False)
    window(icon, 5, 6, 15, 15, True)
    return icon


def always_in_front() -> Icon:
    icon = in_front()
    icon.pattern(9, 0, ["...K...",
                        "..KYK..",
                        "KKKYKKK",
                        "KYYYYYK",
                        ".KYYYK.",
                        ".KYKYK.",
                        ".KK.KK."])
    return icon


def not_in_front() -> Icon:
    icon = Icon()
    window(icon, 0, 0, 10, 9, True)
    window(icon, 5, 6, 15, 15, False)
    return icon


def corner(right: bool, bottom: bool):
    def make() -> Icon:
        icon = Icon()
        x0, y0, x1, y1 = monitor(icon, "T")
        bx = x1 - 4 if right else x0
        by = y1 - 3 if bottom else y0
        icon.fill(Icon.rect(bx, by, bx + 4, by + 3), "W", None)
        icon.line(bx, by, bx + 4, by, "N")
        return icon
    return make


def pushpin() -> Icon:
    icon = Icon()
    # The pin upright, needle down, in pixel units along its axis; then leaned 45 degrees to the right.
    tip = (2.0, 14.0)
    angle = math.radians(45)

    def place(points):
        return [(tip[0] + x * math.cos(angle) - y * math.sin(angle),
                 tip[1] + x * math.sin(angle) + y * math.cos(angle)) for x, y in points]

    head = place([(-3.0, -15.5), (3.0, -15.5), (3.0, -13.0), (1.7, -13.0), (1.7, -8.5), (4.2, -8.5),
                  (4.2, -6.0), (-4.2, -6.0), (-4.2, -8.5), (-1.7, -8.5), (-1.7, -13.0), (-3.0, -13.0)])
    icon.line(1, 14, 6, 9, "G")
    icon.fill(Icon.polygon(head), "R")
    return icon


def test_pattern() -> Icon:
    icon = Icon()
    icon.line(7, 3, 4, 0, "K")
    icon.line(8, 3, 11, 0, "K")
    icon.fill(Icon.rect(0, 3, 15, 14), "D")
    for i, ink in enumerate("WYCLFRB"):
        icon.fill(Icon.rect(1 + 2 * i, 4, 2 + 2 * i, 11), ink, None)
    icon.put(11, 12, "S")
    icon.put(13, 12, "S")
    icon.put(2, 15, "K")
    icon.put(3, 15, "K")
    icon.put(12, 15, "K")
    icon.put(13, 15, "K")
    return icon


def screen_saver() -> Icon:
    icon = Icon()
    monitor(icon, "N")
    icon.pattern(4, 3, [".Y.", "YWY", ".Y."])
    icon.put(10, 4, "W")
    icon.put(8, 7, "W")
    icon.put(12, 7, "Y")
    icon.put(4, 8, "W")
    return icon


def date_time() -> Icon:
    icon = Icon()
    icon.fill(Icon.rect(0, 1, 11, 13), "W")
    icon.fill(Icon.rect(0, 1, 11, 4), "R")
    for x in (3, 8):
        icon.put(x, 0, "K")
        icon.put(x, 1, "G")
        icon.put(x, 2, "G")
    for y in (6, 8, 10, 12):
        for x in range(2, 10, 2):
            icon.put(x, y, "G")
    small_clock(icon, 7, 7)
    return icon


def help_() -> Icon:
    icon = Icon()
    icon.fill(Icon.ellipse(0, 0, 15, 15), "B", "N")
    icon.pattern(4, 3, ["..WWWW..",
                        ".WW..WW.",
                        ".WW..WW.",
                        ".....WW.",
                        "....WW..",
                        "...WW...",
                        "...WW...",
                        "........",
                        "...WW...",
                        "...WW..."])
    return icon


def exit_() -> Icon:
    icon = Icon()
    w = 1.9  # half the width of a bar
    d = w / math.sqrt(2) * 2
    a, b = 1.0, 15.0
    bar1 = Icon.polygon([(a, a + d), (a + d, a), (b, b - d), (b - d, b)])
    bar2 = Icon.polygon([(b - d, a), (b, a + d), (a + d, b), (a, b - d)])
    icon.fill(bar1 | bar2, "R")
    return icon


def monitor_off() -> Icon:
    icon = Icon()
    monitor(icon, "K")
    icon.pattern(4, 2, ["...LL...",
                        ".L.LL.L.",
                        "L..LL..L",
                        "L......L",
                        "L......L",
                        ".L....L.",
                        "..LLLL.."])
    return icon


def timer() -> Icon:
    icon = Icon()
    icon.fill(Icon.rect(5, 0, 9, 1), "S")
    icon.fill(Icon.rect(6, 1, 8, 3), "S")
    icon.fill(Icon.polygon([(11.5, 2.0), (14.0, 4.5), (12.5, 6.0), (10.0, 3.5)]), "S")
    icon.fill(Icon.ellipse(1, 3, 13, 15), "W")
    cx, cy = 7, 9
    face = {(x, y) for y in range(N) for x in range(N) if icon.pixels[y][x] == "W"}
    span = Icon.coverage(lambda d: d.pieslice([(cx + 0.5 - 6) * S, (cy + 0.5 - 6) * S, (cx + 0.5 + 6) * S,
                                                (cy + 0.5 + 6) * S], -90, -45, fill=255))
    icon.fill(span & face, "P", None)
    for x, y in ((cx, cy - 5), (cx + 5, cy), (cx, cy + 5), (cx - 5, cy)):
        icon.put(x, y, "G")
    icon.line(cx, cy, cx + 3, cy - 3, "R")
    icon.put(cx, cy, "K")
    return icon


IMAGES = [options, radio, internet, exact_hour, world_clock, in_front, always_in_front, not_in_front,
          corner(False, False), corner(True, False), corner(True, True), corner(False, True),
          pushpin, test_pattern, screen_saver, date_time, help_, exit_, monitor_off, timer]


def sheet(icons, colour_index, black: int, white: int) -> list:
    """Rows of palette indices, top row first: the images above, their masks below."""
    rows = [[black] * (N * COUNT) for _ in range(2 * N)]
    for i, icon in enumerate(icons):
        for y in range(N):
            for x in range(N):
                ink = icon.pixels[y][x]
                rows[y][i * N + x] = black if ink is None else colour_index(ink)
                rows[N + y][i * N + x] = white if ink is None else black
    return rows


def write_bmp(path: Path, rows, palette, bits: int) -> None:
    """A bottom-up BI_RGB bitmap with a full colour table."""
    width, height = len(rows[0]), len(rows)
    stride = (width * bits + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        if bits == 4:
            packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, width, 2))
        else:
            packed = bytes(row)
        data += packed + bytes(stride - len(packed))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    path.write_bytes(header + info + table + bytes(data))


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/resources"
    icons = [make() for make in IMAGES]
    assert len(icons) == COUNT
    for ink, (rgb, _) in INKS.items():
        assert rgb in PALETTE8, ink
    write_bmp(out / "MenuImages4.bmp", sheet(icons, lambda ink: INKS[ink][1], 0, 15), VGA, 4)
    write_bmp(out / "MenuImages8.bmp",
              sheet(icons, lambda ink: PALETTE8.index(INKS[ink][0]), PALETTE8.index((0, 0, 0)),
                    PALETTE8.index((255, 255, 255))), PALETTE8, 8)
    print(f"wrote {out / 'MenuImages4.bmp'} and {out / 'MenuImages8.bmp'}")


if __name__ == "__main__":
    main()
