#!/usr/bin/env python3
"""Screenshots of the clock face for a person to review.

Runs the built program under Wine on its own Xvfb, once per face: every built-in style and
size, a system font with full-width digits, a glyph file (recoloured and untouched) and each
background type. Each PNG is the clock window only, scaled 2x.

    python3 tools/screenshots.py [out_dir]      (default build/screenshots)
"""
from __future__ import annotations

import argparse
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from PIL import Image, ImageDraw, ImageFont  # noqa: E402

from face_kit import screenshot_session, show_face, wine_path  # noqa: E402
from lumora import BUILD, LumoraApp  # noqa: E402

# "10:28" uses every cell and several different digits.
SHOW_AT = "@2026-01-05 10:28:00"
STYLES = {0: "minpo", 1: "kyokai", 2: "digital"}
SIZES = {0: "small", 1: "medium", 2: "large"}
GOTHIC = Path("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf")


def glyph_strip(path: Path) -> Path:
    """Twelve 24 x 36 cells of orange digits on dark green, drawn from the IPA Gothic font."""
    cell_w, cell_h = 24, 36
    image = Image.new("RGB", (12 * cell_w, cell_h), (0, 80, 0))
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(str(GOTHIC), 32) if GOTHIC.exists() else ImageFont.load_default()
    for i, text in enumerate("0123456789:."):
        box = draw.textbbox((0, 0), text, font=font)
        x = i * cell_w + (cell_w - (box[2] - box[0])) // 2 - box[0]
        y = (cell_h - (box[3] - box[1])) // 2 - box[1]
        draw.text((x, y), text, font=font, fill=(255, 140, 0))
    image.save(path, format="BMP")
    return path


def picture(path: Path, width: int, height: int) -> Path:
    """A picture whose placement shows: a red-to-blue ramp across, a yellow frame, a green cross."""
    image = Image.new("RGB", (width, height))
    for x in range(width):
        t = x / max(width - 1, 1)
        for y in range(height):
            image.putpixel((x, y), (int(255 * (1 - t)), 40, int(255 * t)))
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, 0, width - 1, height - 1), outline=(255, 255, 0))
    draw.line((0, 0, width - 1, height - 1), fill=(0, 255, 0))
    draw.line((0, height - 1, width - 1, 0), fill=(0, 255, 0))
    image.save(path, format="BMP")
    return path


def faces(assets: Path) -> list[tuple[str, dict[str, object]]]:
    cases: list[tuple[str, dict[str, object]]] = []
    for style, style_name in STYLES.items():
        for size, size_name in SIZES.items():
            cases.append((f"builtin-{style}-{style_name}-{size}-{size_name}", {"DigitStyle": style, "DigitSize": size}))
    cases.append(("font-ipagothic-fullwidth-36", {"DigitType": 1, "DigitFontName": "IPAゴシック",
                                                  "DigitFontSize": 36, "DigitFontFullWidth": 1}))
    strip = wine_path(glyph_strip(assets / "glyphs.bmp"))
    cases.append(("glyphfile-recoloured", {"DigitType": 2, "DigitFile": strip, "DigitColor": "clYellow"}))
    cases.append(("glyphfile-untouched", {"DigitType": 2, "DigitFile": strip, "DigitUntouched": 1}))
    cases.append(("background-0-transparent", {}))
    cases.append(("background-1-colour", {"BackGroundType": 1, "Color": "clNavy"}))
    cases.append(("background-1-colour-alpha128", {"BackGroundType": 1, "Color": "clRed", "BackGroundAlpha": 128}))
    gradient = {"BackGroundType": 2, "GradationColor1": "clRed", "GradationColor2": "clBlue"}
    cases.append(("background-2-gradient-horizontal", {**gradient, "GradationStyle": 0}))
    cases.append(("background-2-gradient-vertical", {**gradient, "GradationStyle": 1}))
    small = wine_path(picture(assets / "small.bmp", 24, 16))
    wide = wine_path(picture(assets / "wide.bmp", 60, 20))
    for style, name, file in [(0, "centred", small), (1, "tiled", small), (2, "stretched", wide)]:
        cases.append((f"background-3-picture-{name}", {"BackGroundType": 3, "BackGroundFile": file,
                                                        "BackGroundStyle": style, "Color": "clGreen"}))
    return cases


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", nargs="?", type=Path, default=BUILD / "screenshots")
    out: Path = parser.parse_args().out.resolve()
    out.mkdir(parents=True, exist_ok=True)
    with screenshot_session("shots") as (session, work):
        assets = work / "assets"
        assets.mkdir()
        for name, design in faces(assets):
            folder = work / name
            folder.mkdir()
            app = LumoraApp(session, folder)
            try:
                info, face = show_face(app, design, faketime=SHOW_AT)
            finally:
                app.end()
            face.resize((face.width * 2, face.height * 2), Image.NEAREST).save(out / f"{name}.png")
            print(f"{name}.png  {info.width}x{info.height} at {info.rect[0]},{info.rect[1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
