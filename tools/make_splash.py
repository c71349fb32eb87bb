#!/usr/bin/env python3
"""Draws the splash picture, src/resources/Splash.bmp (395 x 240, 24 bits per pixel).

A flat television on a glass rack shows a morning studio set with the station clock reading
8:15 in the top-left corner of the picture; the title "Lumora" sits in the upper right. The
program writes three lines of black 12-pixel text right-aligned from y = 95 down, and the
longest of them reaches far to the left near the bottom, so the right side and the bottom band
are kept light and quiet.

Fonts: M+ 1 Black (Debian fonts-mplus, SIL Open Font License 1.1) for the clock and the title;
Noto Sans CJK JP Bold (Debian fonts-noto-cjk, SIL Open Font License 1.1) for the subtitle.

Usage: make_splash.py [output file]
"""
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

S = 4  # drawn four times larger, then shrunk for smooth edges
W, H = 395, 240
BLACK_FONT = "/usr/share/fonts/opentype/mplus/Mplus1-Black.otf"
GOTHIC_FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"


def s(v: float) -> int:
    return int(round(v * S))


def box(x0, y0, x1, y1):
    return [s(x0), s(y0), s(x1), s(y1)]


def layer() -> Image.Image:
    return Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vertical_gradient(size, stops):
    """stops: (position 0..1, colour) pairs."""
    w, h = size
    column = Image.new("RGBA", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                column.putpixel((0, y), lerp(c0, c1, (t - p0) / max(1e-9, p1 - p0)))
                break
    return column.resize((w, h))


def soft_glow(size, centre, radius, colour, blur):
    glow = Image.new("RGBA", size, colour[:3] + (0,))
    mask = Image.new("L", size, 0)
    cx, cy = centre
    ImageDraw.Draw(mask).ellipse([cx - radius, cy - radius, cx + radius, cy + radius], fill=colour[3])
    glow.putalpha(mask.filter(ImageFilter.GaussianBlur(blur)))
    return glow


def room(image: Image.Image) -> None:
    wall = vertical_gradient((W * S, H * S), [(0.0, (226, 234, 246, 255)), (0.72, (246, 248, 252, 255)),
                                              (0.73, (238, 236, 232, 255)), (1.0, (249, 248, 246, 255))])
    image.alpha_composite(wall)
    # A soft pool of light behind the set, like a studio key light on the wall.
    image.alpha_composite(soft_glow(image.size, (s(96), s(86)), s(92), (255, 255, 255, 200), s(28)))
    image.alpha_composite(soft_glow(image.size, (s(330), s(40)), s(70), (255, 244, 226, 120), s(30)))
    # The line where the wall meets the floor, barely there.
    d = ImageDraw.Draw(image)
    d.line([(0, s(174.5)), (W * S, s(174.5))], fill=(214, 214, 218, 255), width=s(0.5))


def studio_picture(w: int, h: int) -> Image.Image:
    """The picture on the screen: a morning news set with a city window and the corner clock."""
    p = Image.new("RGBA", (w, h))
    p.alpha_composite(vertical_gradient((w, h), [(0.0, (18, 38, 92, 255)), (0.65, (34, 70, 150, 255)),
                                                 (1.0, (14, 26, 66, 255))]))
    d = ImageDraw.Draw(p)
    # The big window behind the desk: a morning sky over the city.
    wx0, wy0, wx1, wy1 = int(w * 0.16), int(h * 0.12), int(w * 0.92), int(h * 0.64)
    sky = vertical_gradient((wx1 - wx0, wy1 - wy0), [(0.0, (70, 146, 230, 255)), (0.5, (150, 202, 246, 255)),
                                                     (1.0, (255, 206, 150, 255))])
    p.alpha_composite(sky, (wx0, wy0))
    p.alpha_composite(soft_glow((w, h), (int(w * 0.70), int(h * 0.36)), int(h * 0.16), (255, 226, 170, 230),
                                h * 0.08))
    p.alpha_composite(soft_glow((w, h), (int(w * 0.70), int(h * 0.32)), int(h * 0.045), (255, 252, 236, 255),
                                h * 0.012))
    # Skyline: two rows of towers, the far one paler.
    import random
    rnd = random.Random(815)
    for depth, colour, base_h in ((0, (168, 188, 222, 255), 0.34), (1, (74, 104, 164, 255), 0.20)):
        x = wx0
        while x < wx1:
            bw = rnd.randint(int(w * 0.03), int(w * 0.07))
            bh = int((wy1 - wy0) * (base_h + rnd.random() * 0.28))
            d.rectangle([x, wy1 - bh, min(x + bw, wx1), wy1], fill=colour)
            if depth == 1:
                # Lit windows, a few per tower.
                for wy in range(wy1 - bh + h // 60, wy1 - h // 50, max(2, h // 28)):
                    for wx in range(x + w // 200 + 1, min(x + bw, wx1) - w // 200, max(2, w // 90)):
                        if rnd.random() < 0.35:
                            d.rectangle([wx, wy, wx + max(1, w // 300), wy + max(1, h // 150)],
                                        fill=(236, 236, 200, 255))
            x += bw + rnd.randint(0, int(w * 0.01))
    # Window mullions.
    for i in range(1, 4):
        x = wx0 + (wx1 - wx0) * i // 4
        d.rectangle([x - w // 320, wy0, x + w // 320, wy1], fill=(30, 52, 104, 255))
    d.rectangle([wx0, wy0, wx1, wy1], outline=(30, 52, 104, 255), width=max(2, w // 160))
    # Studio floor and the curved anchor desk with its light strip.
    d.rectangle([0, int(h * 0.64), w, h], fill=(20, 34, 80, 255))
    desk_top = int(h * 0.70)
    d.ellipse([int(-w * 0.1), desk_top, int(w * 1.1), int(h * 1.45)], fill=(236, 242, 252, 255))
    d.ellipse([int(-w * 0.1), desk_top + h // 22, int(w * 1.1), int(h * 1.45)], fill=(40, 96, 196, 255))
    d.ellipse([int(-w * 0.1), desk_top + h // 12, int(w * 1.1), int(h * 1.45)], fill=(18, 44, 110, 255))
    # Spotlights along the top of the set.
    for i in range(6):
        x = int(w * (0.08 + i * 0.17))
        p.alpha_composite(soft_glow((w, h), (x, int(h * 0.05)), int(h * 0.03), (200, 224, 255, 200), h * 0.02))
    # A lower-third caption bar, as the morning shows run it.
    bar_y = int(h * 0.80)
    d.rectangle([int(w * 0.05), bar_y, int(w * 0.78), bar_y + int(h * 0.10)], fill=(250, 250, 252, 235))
    d.rectangle([int(w * 0.05), bar_y, int(w * 0.07), bar_y + int(h * 0.10)], fill=(230, 64, 60, 255))
    for i, length in enumerate((0.46, 0.30)):
        y = bar_y + int(h * (0.028 + i * 0.04))
        d.rectangle([int(w * 0.10), y, int(w * (0.10 + length)), y + max(1, int(h * 0.016))],
                    fill=(60, 72, 96, 255))
    # The station clock in the top-left corner: white, heavy, with a black rim.
    font = ImageFont.truetype(BLACK_FONT, int(h * 0.20))
    rim = max(2, int(h * 0.022))
    d.text((int(w * 0.035), int(h * 0.02)), "8:15", font=font, fill=(255, 255, 255, 255),
           stroke_width=rim, stroke_fill=(0, 0, 0, 255))
    return p


def television(image: Image.Image) -> None:
    x0, y0, x1, y1 = 14, 34, 178, 130
    # Shadow on the wall.
    shadow = layer()
    ImageDraw.Draw(shadow).rounded_rectangle(box(x0 + 3, y0 + 5, x1 + 3, y1 + 5), s(4), fill=(40, 50, 70, 90))
    image.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(s(4))))
    d = ImageDraw.Draw(image)
    # Neck and foot, behind the panel.
    d.rounded_rectangle(box(88, y1 - 4, 104, 146), s(1.5), fill=(70, 74, 82, 255))
    d.rounded_rectangle(box(62, 144, 130, 149), s(2), fill=(48, 52, 60, 255))
    d.line([(s(64), s(144.5)), (s(128), s(144.5))], fill=(130, 136, 146, 255), width=s(0.7))
    # The panel: a thin dark bezel with a lighter rim.
    d.rounded_rectangle(box(x0, y0, x1, y1), s(3), fill=(26, 28, 34, 255), outline=(96, 100, 110, 255), width=s(0.8))
    sx0, sy0, sx1, sy1 = x0 + 4, y0 + 4, x1 - 4, y1 - 6
    picture = studio_picture(s(sx1 - sx0), s(sy1 - sy0))
    image.alpha_composite(picture, (s(sx0), s(sy0)))
    # Glass sheen across the upper left of the screen.
    sheen = layer()
    ImageDraw.Draw(sheen).polygon([(s(sx0), s(sy0)), (s(sx0 + 70), s(sy0)), (s(sx0 + 22), s(sy1)),
                                   (s(sx0), s(sy1))], fill=(255, 255, 255, 26))
    mask = Image.new("L", sheen.size, 0)
    ImageDraw.Draw(mask).rectangle(box(sx0, sy0, sx1, sy1), fill=255)
    sheen.putalpha(ImageChops.multiply(sheen.getchannel("A"), mask))
    image.alpha_composite(sheen)
    # Maker's badge and power light on the lower bezel.
    d.rounded_rectangle(box(90, y1 - 4.5, 102, y1 - 2.5), s(1), fill=(120, 124, 134, 255))
    d.ellipse(box(168, y1 - 4.2, 170, y1 - 2.2), fill=(90, 200, 255, 255))


def glass_rack(image: Image.Image) -> None:
    left, right = 10, 182
    glass = layer()
    g = ImageDraw.Draw(glass)
    # Reflection of the rack on the glossy floor, fading out well above the text band.
    refl = layer()
    ImageDraw.Draw(refl).rectangle(box(left + 4, 178, right - 4, 190), fill=(150, 190, 210, 60))
    fade = Image.linear_gradient("L").resize((W * S, s(12)))
    alpha = Image.new("L", refl.size, 0)
    alpha.paste(ImageChops.invert(fade), (0, s(178)))
    refl.putalpha(ImageChops.multiply(refl.getchannel("A"), alpha))
    image.alpha_composite(refl.filter(ImageFilter.GaussianBlur(s(1.5))))
    # Chrome posts at the four corners (two seen in front, two behind).
    d = ImageDraw.Draw(image)
    for x in (left + 6, right - 8):
        d.rectangle(box(x, 152, x + 2, 176), fill=(168, 174, 184, 255))
        d.line([(s(x + 0.6), s(152)), (s(x + 0.6), s(176))], fill=(240, 244, 250, 255), width=s(0.6))
    for x in (left + 12, right - 14):
        d.rectangle(box(x, 152, x + 1.5, 170), fill=(190, 196, 204, 255))
    # Two glass shelves: a faint blue-green body with bright front edges.
    for top, thick in ((149, 4), (166, 3)):
        g.polygon([(s(left + 8), s(top - 3)), (s(right - 8), s(top - 3)), (s(right), s(top)), (s(left), s(top))],
                  fill=(176, 220, 226, 110))
        g.rectangle(box(left, top, right, top + thick), fill=(120, 186, 196, 170))
        g.line([(s(left), s(top + 0.4)), (s(right), s(top + 0.4))], fill=(240, 255, 255, 230), width=s(0.7))
        g.line([(s(left), s(top + thick)), (s(right), s(top + thick))], fill=(70, 130, 144, 200), width=s(0.5))
    image.alpha_composite(glass)
    # A small set-top box on the lower shelf.
    d.rounded_rectangle(box(40, 158, 92, 166), s(1), fill=(44, 48, 56, 255))
    d.line([(s(42), s(159)), (s(90), s(159))], fill=(96, 102, 112, 255), width=s(0.5))
    d.ellipse(box(84, 161, 86, 163), fill=(90, 230, 140, 255))
    # Contact shadow where the posts meet the floor.
    shade = layer()
    ImageDraw.Draw(shade).ellipse(box(left, 174, right, 180), fill=(60, 70, 90, 50))
    image.alpha_composite(shade.filter(ImageFilter.GaussianBlur(s(2))))


def title(image: Image.Image) -> None:
    font = ImageFont.truetype(BLACK_FONT, s(44))
    text = "Lumora"
    right, top = 383, 14
    probe = ImageDraw.Draw(image).textbbox((0, 0), text, font=font)
    tw = probe[2] - probe[0]
    x = s(right) - tw - probe[0]
    y = s(top) - probe[1]
    mask = Image.new("L", image.size, 0)
    ImageDraw.Draw(mask).text((x, y), text, font=font, fill=255)
    # Soft shadow, then a deep-blue to azure fill, then a light upper sheen.
    shadow = Image.new("RGBA", image.size, (20, 40, 90, 0))
    shadow.putalpha(mask.point(lambda v: v * 70 // 255).filter(ImageFilter.GaussianBlur(s(2))))
    image.alpha_composite(shadow, (s(1), s(2)))
    bb = mask.getbbox()
    fill = vertical_gradient((W * S, bb[3] - bb[1]), [(0.0, (40, 120, 220, 255)), (1.0, (16, 40, 120, 255))])
    coloured = Image.new("RGBA", image.size, (0, 0, 0, 0))
    coloured.paste(fill, (0, bb[1]))
    coloured.putalpha(mask)
    image.alpha_composite(coloured)
    sheen_mask = ImageChops.multiply(mask, Image.new("L", image.size, 0))
    ImageDraw.Draw(sheen_mask).rectangle([bb[0], bb[1], bb[2], bb[1] + (bb[3] - bb[1]) * 2 // 5], fill=60)
    sheen_mask = ImageChops.multiply(sheen_mask, mask)
    sheen = Image.new("RGBA", image.size, (255, 255, 255, 0))
    sheen.putalpha(sheen_mask)
    image.alpha_composite(sheen)
    # Colour bars beneath the name, the first thing every station sends.
    colours = [(206, 206, 206), (236, 226, 40), (40, 214, 226), (40, 200, 60), (216, 50, 200), (226, 40, 40),
               (40, 60, 220)]
    bar_y = bb[3] / S + 5
    bar_x0 = bb[0] / S + 2
    bar_w = (right - bar_x0) / len(colours)
    d = ImageDraw.Draw(image)
    for i, c in enumerate(colours):
        d.rectangle(box(bar_x0 + i * bar_w, bar_y, bar_x0 + (i + 1) * bar_w - 0.6, bar_y + 3), fill=c + (255,))
    # Subtitle.
    sub_font = ImageFont.truetype(GOTHIC_FONT, s(10))
    sub = "テレビ風デスクトップ時計"
    sb = d.textbbox((0, 0), sub, font=sub_font)
    d.text((s(right) - (sb[2] - sb[0]) - sb[0], s(bar_y + 7) - sb[1]), sub, font=sub_font, fill=(84, 96, 120, 255))


def draw() -> Image.Image:
    image = Image.new("RGBA", (W * S, H * S))
    room(image)
    glass_rack(image)
    television(image)
    title(image)
    return image.resize((W, H), Image.LANCZOS).convert("RGB")


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/resources/Splash.bmp"
    draw().save(out, format="BMP")


if __name__ == "__main__":
    main()
