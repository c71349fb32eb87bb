#!/usr/bin/env python3
"""Draws the built-in clock digit strips, src/resources/digits/Digits10.bmp ... Digits18.bmp.

Each file is one monochrome strip of 12 equal cells: "0"-"9", a colon and a low dot (the
seconds separator), black on white. The number is 10 + 3 x style + size; sizes 0, 1, 2 have
18 x 32, 27 x 48 and 36 x 64 pixel cells. Styles:

  0  commercial-broadcaster look: heavy digits with rounded corners
     (M+ 1 Black, Debian fonts-mplus, SIL Open Font License 1.1)
  1  public-broadcaster look: a clean gothic with open shapes
     (Noto Sans CJK JP Bold, Debian fonts-noto-cjk, SIL Open Font License 1.1)
  2  digital look: seven segments, drawn here as polygons (no font); at these sizes a
     segment font loses the gaps between its segments

Glyphs are drawn eight times larger, shaped there, then shrunk and cut to pure black and white.
Only this script needs the fonts; the build uses the checked-in bitmaps.

Usage: make_digits.py [output folder]
"""
import sys
from dataclasses import dataclass
from pathlib import Path
from statistics import NormalDist

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SCALE = 8
CELLS = [(18, 32), (27, 48), (36, 64)]
DIGITS = "0123456789"


@dataclass
class Style:
    font: str
    index: int
    height: float      # digit height as a share of the cell height
    margin_x: float    # free columns on each side, in output pixels
    round: float       # corner rounding radius as a share of the digit height (0: none)
    bolden: float      # extra stroke as a share of the digit height (negative thins)
    dot: float         # separator dot size as a share of the digit height
    round_dot: bool
    segments: bool     # draw seven segments instead of the font


STYLES = [
    Style("/usr/share/fonts/opentype/mplus/Mplus1-Black.otf", 0, 0.84, 1.0, 0.035, 0.0, 0.18, True, False),
    Style("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", 0, 0.82, 1.2, 0.012, 0.0, 0.15, False, False),
    Style("", 0, 0.82, 2.0, 0.0, 0.0, 0.13, False, True),
]

# Lit segments per digit: a top, b upper right, c lower right, d bottom, e lower left, f upper left,
# g middle. The 6, 7 and 9 carry their tails, as station clocks show them.
SEGMENTS = ["abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abcf", "abcdefg", "abcdfg"]


def segment_digit(digit: int, w: float, h: float, t: float, gap: float):
    """Polygons of one seven-segment digit in a w x h box; t is the segment thickness."""
    half = t / 2
    left, right, top, mid, bottom = half, w - half, half, h / 2, h - half

    def across(y, x0, x1):
        x0, x1 = x0 + gap, x1 - gap
        return [(x0, y), (x0 + half, y - half), (x1 - half, y - half), (x1, y), (x1 - half, y + half),
                (x0 + half, y + half)]

    def down(x, y0, y1):
        y0, y1 = y0 + gap, y1 - gap
        return [(x, y0), (x + half, y0 + half), (x + half, y1 - half), (x, y1), (x - half, y1 - half),
                (x - half, y0 + half)]

    shapes = {
        "a": across(top, left, right), "g": across(mid, left, right), "d": across(bottom, left, right),
        "f": down(left, top, mid), "b": down(right, top, mid),
        "e": down(left, mid, bottom), "c": down(right, mid, bottom),
    }
    return [shapes[s] for s in SEGMENTS[digit]]


def ink_box(image: Image.Image):
    """Bounding box of the dark pixels of an L image drawn black on white."""
    return ImageChops.invert(image).getbbox()


def render_digits(style: Style):
    """Each digit drawn large on a common baseline, and the union of their ink boxes."""
    font = ImageFont.truetype(style.font, 600, index=style.index)
    images = []
    for ch in DIGITS:
        image = Image.new("L", (900, 900), 255)
        ImageDraw.Draw(image).text((150, 100), ch, font=font, fill=0)
        images.append(image)
    boxes = [ink_box(i) for i in images]
    top = min(b[1] for b in boxes)
    bottom = max(b[3] for b in boxes)
    return images, boxes, top, bottom


def shape(cell: Image.Image, style: Style, digit_height: int) -> Image.Image:
    """Rounds corners and adjusts the weight on the large cell; blurring and re-cutting at a shifted
    level does both at once."""
    radius = style.round * digit_height
    grow = style.bolden * digit_height
    if radius <= 0 and grow == 0:
        return cell
    radius = max(radius, abs(grow), 1.0)
    blurred = cell.filter(ImageFilter.GaussianBlur(radius))
    # A blurred edge falls off like the normal curve; cutting it at the level reached `grow` pixels
    # outside moves the edge out by exactly that (ink is dark, so a higher cut thickens).
    level = int(round(255 * NormalDist().cdf(max(-2.0, min(2.0, grow / radius)))))
    return blurred.point(lambda v: 0 if v < level else 255)


def dot(draw: ImageDraw.ImageDraw, cx: float, cy: float, size: float, round_dot: bool) -> None:
    box = [cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2]
    if round_dot:
        draw.ellipse(box, fill=0)
    else:
        draw.rounded_rectangle(box, radius=size * 0.12, fill=0)


def make_strip(style: Style, cell_w: int, cell_h: int, rendered) -> Image.Image:
    big_w, big_h = cell_w * SCALE, cell_h * SCALE
    digit_h = int(round(cell_h * style.height)) * SCALE
    y0 = (big_h - digit_h) // 2
    strip = Image.new("L", (big_w * 12, big_h), 255)
    if style.segments:
        draw_segments(strip, style, cell_w, cell_h)
    else:
        draw_font_digits(strip, style, cell_w, cell_h, rendered)

    draw = ImageDraw.Draw(strip)
    size = max(2 * SCALE, style.dot * digit_h)
    mid = y0 + digit_h / 2
    colon_x = 10 * big_w + big_w / 2
    for cy in (mid - 0.22 * digit_h, mid + 0.22 * digit_h):
        dot(draw, colon_x, cy, size, style.round_dot)
    dot(draw, 11 * big_w + big_w / 2, y0 + digit_h - size / 2, size, style.round_dot)

    small = strip.resize((cell_w * 12, cell_h), Image.BOX)
    return small.point(lambda v: 0 if v < 128 else 255).convert("1", dither=Image.Dither.NONE)


def draw_segments(strip: Image.Image, style: Style, cell_w: int, cell_h: int) -> None:
    # Sizes are whole output pixels, so every segment and every gap between them survives the shrink.
    w = cell_w - 2 * int(style.margin_x)
    h = int(round(cell_h * style.height))
    t = max(3, round(h * 0.15))
    gap = max(0.6, t * 0.18)
    x0 = (cell_w - w) / 2
    y0 = (cell_h - h) // 2
    draw = ImageDraw.Draw(strip)
    for d in range(10):
        for polygon in segment_digit(d, w, h, t, gap):
            draw.polygon([((d * cell_w + x0 + x) * SCALE, (y0 + y) * SCALE) for x, y in polygon], fill=0)


def draw_font_digits(strip: Image.Image, style: Style, cell_w: int, cell_h: int, rendered) -> None:
    images, boxes, top, bottom = rendered
    big_w, big_h = cell_w * SCALE, cell_h * SCALE
    digit_h = int(round(cell_h * style.height)) * SCALE
    avail_w = int(round((cell_w - 2 * style.margin_x) * SCALE))
    widest = max(b[2] - b[0] for b in boxes)
    sx = min(avail_w / widest, digit_h / (bottom - top))
    sy = digit_h / (bottom - top)
    y0 = (big_h - digit_h) // 2
    for i, (image, box) in enumerate(zip(images, boxes)):
        crop = image.crop((box[0], top, box[2], bottom))
        w = max(1, int(round(crop.width * sx)))
        glyph = crop.resize((w, digit_h), Image.LANCZOS)
        cell = Image.new("L", (big_w, big_h), 255)
        cell.paste(glyph, ((big_w - w) // 2, y0))
        strip.paste(shape(cell, style, digit_h), (i * big_w, 0))


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/resources/digits"
    out.mkdir(parents=True, exist_ok=True)
    for style_index, style in enumerate(STYLES):
        rendered = None if style.segments else render_digits(style)
        for size_index, (w, h) in enumerate(CELLS):
            strip = make_strip(style, w, h, rendered)
            strip.save(out / f"Digits{10 + 3 * style_index + size_index}.bmp")


if __name__ == "__main__":
    main()
