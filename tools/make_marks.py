#!/usr/bin/env python3
"""Draws the ten programme marks of the omake window, src/resources/marks/Mark100.bmp ... Mark109.bmp.

Each mark is a monochrome bitmap, black drawing on white; the program paints the black parts as
a white face with a black rim, so every stroke is at least two pixels thick and every mark keeps a
white margin of one pixel or more. The number is the resource id:

  100  "二ケ国語" over "BILINGUAL", with a bird at each side            173 x 41
  101  a boxed "二" and "2ヶ国語放送"                                    241 x 42
  102  "文字放送 字幕" in a frame                                        202 x 40
  103  "字幕" over "放送" in a frame                                      82 x 82
  104  a large italic "d" and "data"                                     97 x 44
  105  "WIDE CLEAR VISION" in a frame                                   225 x 36
  106  "ハイビジョン制作" over "HI-VISION" in a frame                    220 x 57
  107  a large outlined "HV" over "ハイビジョン制作"                     161 x 94
  108  "STEREO" between sound-wave arcs                                 181 x 43
  109  "5.1chサラウンド" in a frame                                      219 x 40

Fonts: IPA Gothic (Debian fonts-ipafont-gothic, IPA Font License 1.0) for the Japanese text;
DejaVu Sans Bold, Bold Oblique and Condensed Bold (Debian fonts-dejavu-core, Bitstream Vera
Fonts License) for the Latin text. The birds, frames and arcs are drawn as shapes.

Everything is drawn four times larger, shrunk, then cut to pure black and white. Only this
script needs the fonts; the build uses the checked-in bitmaps.

Usage: make_marks.py [output folder]
"""
import math
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

S = 4  # drawn four times larger, then shrunk and cut
BIG = 400  # font size the text is first drawn at, before it is fitted into its place

GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
LATIN = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
LATIN_ITALIC = "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"
LATIN_NARROW = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"

# IPA Gothic has one weight; its strokes are thickened by this share of the font size so they stay
# two pixels wide at the marks' sizes.
GOTHIC_BOLD = 0.018


class Mark:
    """One mark being drawn: a white canvas S times the final size, drawn on in output pixels."""

    def __init__(self, w: int, h: int):
        self.w, self.h = w, h
        self.image = Image.new("L", (w * S, h * S), 255)
        self.draw = ImageDraw.Draw(self.image)

    def frame(self, x0: int, y0: int, x1: int, y1: int, width: int) -> None:
        """A rectangle outline covering output pixels x0..x1, y0..y1, width pixels thick."""
        self.draw.rectangle([x0 * S, y0 * S, (x1 + 1) * S - 1, (y1 + 1) * S - 1], outline=0, width=width * S)

    def paste(self, mask: Image.Image, x: float, y: float) -> None:
        """Inks mask (255 = black) with its top-left corner at output position (x, y)."""
        self.image.paste(0, (int(round(x * S)), int(round(y * S))), mask)

    def text(self, runs, box, align: str = "centre", stretch=(0.7, 1.0)) -> tuple:
        """Fits text into box (output pixels, right and bottom exclusive) and inks it.

        The ink fills the box height unless it would have to be squeezed narrower than stretch[0]
        of its own width, then it is made lower; it may be widened up to stretch[1]. Returns the
        ink's box in output pixels."""
        mask = text_mask(runs)
        x0, y0, x1, y1 = box
        bw, bh = x1 - x0, y1 - y0
        h = bh
        w = mask.width * h / mask.height
        if w > bw:
            if bw / w < stretch[0]:
                h = bh * (bw / w) / stretch[0]
            w = bw
        else:
            w = min(bw, w * stretch[1])
        x = {"left": x0, "right": x1 - w}.get(align, x0 + (bw - w) / 2)
        y = y0 + (bh - h) / 2
        fitted = mask.resize((int(round(w * S)), int(round(h * S))), Image.LANCZOS)
        self.paste(fitted, x, y)
        return x, y, x + w, y + h

    def result(self) -> Image.Image:
        small = self.image.resize((self.w, self.h), Image.BOX)
        return small.point(lambda v: 0 if v < 128 else 255).convert("1", dither=Image.Dither.NONE)


def text_mask(runs) -> Image.Image:
    """Runs of (text, font file, relative size) drawn on one baseline, cropped to their ink;
    255 where there is ink. IPA Gothic runs are thickened."""
    pieces = []
    for text, font_file, size in runs:
        font = ImageFont.truetype(font_file, int(BIG * size))
        stroke = int(round(BIG * size * GOTHIC_BOLD)) if font_file == GOTHIC else 0
        pieces.append((text, font, stroke))
    width = sum(int(f.getlength(t)) + 2 * s for t, f, s in pieces) + BIG
    image = Image.new("L", (width, BIG * 3), 0)
    draw = ImageDraw.Draw(image)
    x, baseline = BIG // 2, BIG * 2
    for text, font, stroke in pieces:
        draw.text((x + stroke, baseline), text, font=font, fill=255, anchor="ls", stroke_width=stroke,
                  stroke_fill=255)
        x += int(font.getlength(text)) + 2 * stroke
    return image.crop(image.getbbox())


def gothic(text: str):
    return [(text, GOTHIC, 1.0)]


def latin(text: str, font: str = LATIN):
    return [(text, font, 1.0)]


def bird(w: int, h: int) -> Image.Image:
    """A dove in flight facing right, wings raised, as a w x h output-pixel mask at the large scale."""
    big_w, big_h = w * S, h * S
    mask = Image.new("L", (big_w, big_h), 0)
    d = ImageDraw.Draw(mask)

    def p(x, y):
        return x * big_w, y * big_h

    # Raised wing, sweeping back over the body, its trailing edge cut into long feathers.
    d.polygon([p(0.72, 0.58), p(0.64, 0.36), p(0.52, 0.18), p(0.38, 0.05), p(0.24, 0.00), p(0.30, 0.12),
               p(0.14, 0.10), p(0.28, 0.24), p(0.10, 0.26), p(0.28, 0.38), p(0.12, 0.44), p(0.34, 0.52),
               p(0.30, 0.60)], fill=255)
    # Body, a tapering teardrop from the tail to the breast.
    d.polygon([p(0.20, 0.68), p(0.40, 0.58), p(0.62, 0.52), p(0.80, 0.48), p(0.88, 0.60), p(0.80, 0.74),
               p(0.62, 0.82), p(0.40, 0.82), p(0.22, 0.78)], fill=255)
    # Head and beak.
    d.ellipse([*p(0.74, 0.32), *p(0.94, 0.56)], fill=255)
    d.polygon([p(0.92, 0.38), p(1.00, 0.46), p(0.92, 0.51)], fill=255)
    # Fanned tail.
    d.polygon([p(0.28, 0.68), p(0.02, 0.64), p(0.06, 0.74), p(0.00, 0.82), p(0.06, 0.90), p(0.04, 1.00),
               p(0.28, 0.80)], fill=255)
    return mask


def arcs(mark: Mark, cx: float, cy: float, radii, facing: float, thickness: int, reach: float) -> None:
    """Sound waves: concentric arcs around (cx, cy) opening towards facing (degrees, 0 = right),
    each cut off where it would come nearer than reach pixels to the top or bottom edge."""
    for r in radii:
        half = min(55.0, math.degrees(math.asin(min(1.0, reach / r))))
        ro = r + thickness / 2
        box = [(cx - ro) * S, (cy - ro) * S, (cx + ro) * S, (cy + ro) * S]
        mark.draw.arc(box, facing - half, facing + half, fill=0, width=thickness * S)


def mark100() -> Mark:
    m = Mark(173, 41)
    left = bird(32, 30)
    m.paste(left, 2, 5)
    m.paste(left.transpose(Image.FLIP_LEFT_RIGHT), 173 - 2 - 32, 5)
    m.text(gothic("二ケ国語"), (39, 2, 134, 22))
    m.text(latin("BILINGUAL"), (39, 25, 134, 39), stretch=(0.7, 1.15))
    return m


def mark101() -> Mark:
    m = Mark(241, 42)
    m.frame(1, 1, 40, 40, 3)
    m.text(gothic("二"), (8, 9, 34, 33))
    m.text(gothic("2ヶ国語放送"), (47, 5, 239, 37))
    return m


def mark102() -> Mark:
    m = Mark(202, 40)
    m.frame(1, 1, 200, 38, 3)
    m.text(gothic("文字放送 字幕"), (9, 7, 193, 33))
    return m


def mark103() -> Mark:
    m = Mark(82, 82)
    m.frame(1, 1, 80, 80, 3)
    m.text(gothic("字幕"), (8, 8, 74, 38))
    m.text(gothic("放送"), (8, 44, 74, 74))
    return m


def mark104() -> Mark:
    m = Mark(97, 44)
    _, _, right, _ = m.text(latin("d", LATIN_ITALIC), (2, 2, 44, 42), align="left")
    m.text(latin("data", LATIN_ITALIC), (right + 3, 42 - 19, 95, 42))
    return m


def mark105() -> Mark:
    m = Mark(225, 36)
    m.frame(1, 1, 223, 34, 3)
    m.text(latin("WIDE CLEAR VISION", LATIN_NARROW), (8, 8, 217, 28))
    return m


def mark106() -> Mark:
    m = Mark(220, 57)
    m.frame(1, 1, 218, 55, 3)
    m.text(gothic("ハイビジョン制作"), (9, 7, 211, 28))
    m.text(latin("HI-VISION"), (9, 32, 211, 50), stretch=(0.7, 1.3))
    return m


def mark107() -> Mark:
    m = Mark(161, 94)
    # The letters are inked whole, then hollowed: a rim two pixels outside and one pixel inside
    # their edge stays black.
    letters = Mark(161, 94)
    letters.text(latin("HV"), (4, 4, 157, 64), stretch=(0.7, 1.1))
    solid = ImageChops.invert(letters.image)
    grown = solid.filter(ImageFilter.MaxFilter(4 * S + 1))
    shrunk = solid.filter(ImageFilter.MinFilter(2 * S + 1))
    m.image.paste(0, (0, 0), ImageChops.subtract(grown, shrunk))
    m.text(gothic("ハイビジョン制作"), (2, 71, 159, 92))
    return m


def mark108() -> Mark:
    m = Mark(181, 43)
    x0, _, x1, _ = m.text(latin("STEREO", LATIN_NARROW), (44, 10, 137, 33), stretch=(0.7, 1.0))
    radii = (11, 20, 29)
    arcs(m, x0 - 2, 21.5, radii, 180, 3, 18)
    arcs(m, x1 + 2, 21.5, radii, 0, 3, 18)
    return m


def mark109() -> Mark:
    m = Mark(219, 40)
    m.frame(1, 1, 217, 38, 3)
    # DejaVu's figures are as tall as IPA Gothic's katakana at 0.96 of its size.
    m.text([("5.1ch", LATIN, 0.96), ("サラウンド", GOTHIC, 1.0)], (9, 7, 210, 33))
    return m


MARKS = [mark100, mark101, mark102, mark103, mark104, mark105, mark106, mark107, mark108, mark109]


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/resources/marks"
    out.mkdir(parents=True, exist_ok=True)
    for number, make in enumerate(MARKS, start=100):
        make().result().save(out / f"Mark{number}.bmp")


if __name__ == "__main__":
    main()
