#!/usr/bin/env python3
"""Draws the program icon (src/resources/Lumora.ico): a broadcast monitor with white,
black-rimmed clock digits in its corner, at 16, 24, 32, 48 and 256 pixels.

Font: IPA Gothic (Debian fonts-ipafont-gothic, IPA Font License)."""
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
SIZES = [16, 24, 32, 48, 256]


def draw(size: int) -> Image.Image:
    scale = 4  # draw large, then shrink for smooth edges
    s = size * scale
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    margin = s // 16
    radius = s // 6
    # The picture: a deep blue sky over a darker studio floor.
    d.rounded_rectangle([margin, margin * 2, s - margin, s - margin * 2], radius, fill=(20, 40, 110, 255),
                        outline=(200, 205, 215, 255), width=max(scale, s // 24))
    d.rectangle([margin * 2, s * 5 // 8, s - margin * 2, s - margin * 3], fill=(12, 24, 70, 255))
    # The corner clock.
    text = "9:00" if size >= 32 else "9"
    font = ImageFont.truetype(FONT, int(s * (0.26 if size >= 32 else 0.5)))
    box = d.textbbox((0, 0), text, font=font, stroke_width=max(scale, s // 40))
    x = s - margin * 2 - (box[2] - box[0]) - box[0]
    y = margin * 3 + s // 32 - box[1]
    d.text((x, y), text, font=font, fill=(255, 255, 255, 255), stroke_width=max(scale, s // 40),
           stroke_fill=(0, 0, 0, 255))
    return image.resize((size, size), Image.LANCZOS)


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/resources/Lumora.ico"
    images = [draw(size) for size in SIZES]
    images[-1].save(out, format="ICO", sizes=[(s, s) for s in SIZES], append_images=images[:-1])
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
