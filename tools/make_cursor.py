#!/usr/bin/env python3
"""Draws the remote-control cursor of the window finder (src/resources/Remote.cur): a 32 x 32
television remote control held at a slant, its infrared window at the top left where the hot
spot (5, 5) is, so the user points the remote at the window to pick.

The body is drawn eight times larger, turned by 45 degrees and reduced, so its edges come out
smooth in the alpha channel; a one-pixel light rim then keeps the dark body visible on dark
windows. The file holds one 32-bit image with alpha and its AND mask. No font is used; the
output depends on nothing but this script.

Usage: make_cursor.py [output file]
"""
import struct
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter

N = 32
SCALE = 8
HOT_SPOT = (5, 5)

BODY = (38, 40, 48, 255)
BODY_EDGE = (92, 96, 110, 255)
EMITTER = (150, 20, 30, 255)
POWER = (225, 40, 40, 255)
KEYS = (200, 204, 212, 255)
COLOUR_KEYS = [(40, 90, 230, 255), (225, 40, 40, 255), (40, 170, 60, 255), (240, 200, 30, 255)]
RIM = (255, 255, 255, 255)


def upright_remote() -> Image.Image:
    """The remote standing upright, infrared window at the top, in SCALE-fold pixels."""
    width, length = 10 * SCALE, 31 * SCALE
    image = Image.new("RGBA", (width, length), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([0, 0, width - 1, length - 1], radius=4 * SCALE, fill=BODY_EDGE)
    d.rounded_rectangle([SCALE, SCALE, width - 1 - SCALE, length - 1 - SCALE], radius=3 * SCALE, fill=BODY)
    # The infrared window across the top end.
    d.rounded_rectangle([2 * SCALE, SCALE, width - 1 - 2 * SCALE, 3 * SCALE], radius=SCALE, fill=EMITTER)
    # The power button, then the four coloured keys of a broadcast remote, then the number keys.
    d.ellipse([width // 2 - 3 * SCALE // 2, 5 * SCALE, width // 2 + 3 * SCALE // 2, 8 * SCALE], fill=POWER)
    key = 2 * SCALE
    left = (width - 4 * key) // 2
    for i, colour in enumerate(COLOUR_KEYS):
        x = left + i * key
        d.rectangle([x, 10 * SCALE, x + key - 1, 12 * SCALE - 1], fill=colour)
    for row in range(4):
        for column in range(3):
            x = 3 * SCALE // 2 + column * 5 * SCALE // 2
            y = 14 * SCALE + row * 3 * SCALE
            d.rectangle([x, y, x + key - 1, y + key - 1], fill=KEYS)
    return image


def draw() -> Image.Image:
    remote = upright_remote()
    side = N * SCALE * 2
    canvas = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    centre = side // 2
    canvas.paste(remote, (centre - remote.width // 2, centre - remote.height // 2))
    # Counter-clockwise by 45 degrees: the top end turns to the upper left.
    turned = canvas.rotate(45, resample=Image.BICUBIC, center=(centre, centre))
    # The middle of the infrared end lands one pixel beyond the hot spot, inside the body.
    tip = centre - (remote.height // 2 - 2 * SCALE) * 0.7071
    left = round(tip - (HOT_SPOT[0] + 1) * SCALE)
    top = round(tip - (HOT_SPOT[1] + 1) * SCALE)
    body = turned.crop((left, top, left + N * SCALE, top + N * SCALE)).resize((N, N), Image.LANCZOS)
    # A light rim one pixel wide around whatever the body covers.
    covered = body.getchannel("A").point(lambda a: 255 if a >= 96 else 0)
    rim_mask = ImageChops.subtract(covered.filter(ImageFilter.MaxFilter(3)), covered)
    image = Image.new("RGBA", (N, N), (0, 0, 0, 0))
    image.paste(RIM, (0, 0), rim_mask)
    image.alpha_composite(body)
    return image


def cursor_file(image: Image.Image, hot_spot: tuple[int, int]) -> bytes:
    """A .cur file with one 32-bit image: BGRA rows bottom-up, then the 1-bit AND mask (set where
    the image is clear)."""
    pixels = image.load()
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((N + 31) // 32) * 4
    for y in range(N - 1, -1, -1):
        row_mask = bytearray(mask_stride)
        for x in range(N):
            r, g, b, a = pixels[x, y]
            xor += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    header = struct.pack("<IiiHHIIiiII", 40, N, N * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    data = header + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", N, N, 0, 0, hot_spot[0], hot_spot[1], len(data), 6 + 16)
    return directory + entry + data


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/resources/Remote.cur"
    out.write_bytes(cursor_file(draw(), HOT_SPOT))
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
