"""The clock face as it appears on the screen: digits, outlines, backgrounds, fonts, glyph files."""
import os
import time

import pytest
from PIL import Image, ImageChops

from face_kit import (CLOCK_CLASS, DESKTOP, GLYPH_CELL, GLYPH_GROUND, GLYPH_INK,
                      glyph_bar_rows, grab, show_face, wine_path, write_blank_bmp,
                      write_glyph_strip)

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
RED, BLUE, LIME, YELLOW = (255, 0, 0), (0, 0, 255), (0, 255, 0), (255, 255, 0)

# Built-in glyph cells with the default 2-pixel outer outline on each side, and the window of
# five cells with the default spacing of 10.
BUILT_IN_CELLS = {0: (22, 36), 1: (31, 52), 2: (40, 68)}


def window_size(cell_width: int, cell_height: int, spacing: int = 10) -> tuple[int, int]:
    return 5 * (cell_width + spacing) - spacing, cell_height


def cell_x(k: int, cell_width: int, spacing: int = 10) -> int:
    """Left edge of cell k (1-based) inside the window."""
    return (k - 1) * (cell_width + spacing)


def near(pixel, colour, tolerance: int = 6) -> bool:
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


def count(image: Image.Image, colour, tolerance: int = 6) -> int:
    return sum(1 for p in image.getdata() if near(p, colour, tolerance))


def region(image: Image.Image, x0: int, y0: int, x1: int, y1: int) -> Image.Image:
    """Columns x0..x1-1 and rows y0..y1-1."""
    return image.crop((x0, y0, x1, y1))


def all_near(image: Image.Image, colour, tolerance: int = 6) -> bool:
    return count(image, colour, tolerance) == image.width * image.height


def assert_digits(image: Image.Image, ink=WHITE, outline=BLACK, minimum: int = 40) -> None:
    assert count(image, ink) >= minimum, "no digit pixels"
    if outline is not None:
        assert count(image, outline) >= minimum, "no outline pixels"


pytestmark = pytest.mark.usefixtures("coloured_desktop")


# --- the default face ---------------------------------------------------------------------------

# The program's clock starts half a minute before ten and runs at twice the real pace: the minute
# turns 15 s after the program starts, long after Wine has brought its face up.
TEN_O_CLOCK_LEAD = "@2026-01-05 09:59:30 x2"
SECONDS_TO_TEN = 15.0


def test_default_face_is_outlined_white_on_the_desktop_and_turns_at_the_minute(lumora):
    started = time.monotonic()
    before_info, before = show_face(lumora, {}, faketime=TEN_O_CLOCK_LEAD)
    up = time.monotonic()
    # The program's clock started between these two instants: its face is still " 9:59".
    assert up < started + SECONDS_TO_TEN, "the face came up too late to be seen before ten"
    assert before_info.rect == (10, 10, 160, 46)
    assert_digits(before)
    # " 9:59": the blank first cell and the gaps between cells show the desktop.
    assert all_near(region(before, 0, 0, 22, 36), DESKTOP)
    for k in range(1, 5):
        gap = cell_x(k, 22) + 22
        assert all_near(region(before, gap, 0, gap + 10, 36), DESKTOP), f"gap after cell {k}"
    # Nothing drawn outside the window.
    around = grab(lumora, (0, 0, 200, 60))
    assert all_near(region(around, 0, 0, 200, 10), DESKTOP)
    assert all_near(region(around, 160, 0, 200, 60), DESKTOP)

    # The program reads 10:00 between started + 15 s and up + 15 s; the face must turn then.
    deadline = up + SECONDS_TO_TEN + 15
    unchanged_at = up  # the start of the last grab that still showed " 9:59"
    after = before
    while True:
        assert time.monotonic() < deadline, "the face did not change at 10:00"
        time.sleep(0.3)
        look = time.monotonic()
        after = grab(lumora, before_info.rect)
        if ImageChops.difference(before, after).getbbox():
            break
        unchanged_at = look
    assert time.monotonic() >= started + SECONDS_TO_TEN, "the face turned before 10:00"
    assert unchanged_at <= up + SECONDS_TO_TEN + 3, "the face turned late"
    # "10:00" fills the first cell; the window keeps its place and size.
    assert lumora.info(CLOCK_CLASS).rect == (10, 10, 160, 46)
    assert_digits(region(after, 0, 0, 22, 36), minimum=10)
    # Both minutes end in the same cell layout: the colon cell has not moved.
    colon = (cell_x(3, 22), 0, cell_x(3, 22) + 22, 36)
    assert not ImageChops.difference(before.crop(colon), after.crop(colon)).getbbox()


# --- built-in glyphs ----------------------------------------------------------------------------

@pytest.mark.parametrize("size", [0, 1, 2])
@pytest.mark.parametrize("style", [0, 1, 2])
def test_built_in_style_and_size(lumora, style, size):
    info, face = show_face(lumora, {"DigitStyle": style, "DigitSize": size})
    cw, ch = BUILT_IN_CELLS[size]
    assert (info.width, info.height) == window_size(cw, ch)
    assert info.rect[:2] == (10, 10)
    assert_digits(face)
    assert all_near(region(face, 0, 0, cw, ch), DESKTOP), "the blank first cell is not transparent"
    # The hour digit sits in cell 2 and keeps to it.
    assert_digits(region(face, cell_x(2, cw), 0, cell_x(2, cw) + cw, ch), minimum=10)
    assert all_near(region(face, cell_x(2, cw) + cw, 0, cell_x(3, cw), ch), DESKTOP)


def test_built_in_styles_draw_different_digits(lumora):
    faces = []
    for style in range(3):
        _, face = show_face(lumora, {"DigitStyle": style})
        faces.append(face)
        lumora.end()
    for a in range(3):
        for b in range(a + 1, 3):
            assert ImageChops.difference(faces[a], faces[b]).getbbox(), f"styles {a} and {b} look the same"


# --- backgrounds --------------------------------------------------------------------------------

def test_colour_background_fills_a_rectangular_window(lumora):
    info, face = show_face(lumora, {"BackGroundType": 1, "Color": "clRed"})
    assert (info.width, info.height) == (150, 36)
    assert_digits(face)
    assert all_near(region(face, 0, 0, 22, 36), RED)
    # Rectangular: no pixel of the window lets the desktop through.
    assert count(face, DESKTOP, tolerance=20) == 0
    # And every pixel is the fill or part of a digit.
    assert count(face, RED) + count(face, WHITE) + count(face, BLACK) == 150 * 36


# Red to blue over the 150 columns (or the 36 rows) of the window, worked out by hand: line k of
# n mixes the two colours as k : n - 1 - k, rounded down.
HORIZONTAL_RED_TO_BLUE = {0: (255, 0, 0), 1: (253, 0, 1), 10: (237, 0, 17), 21: (219, 0, 35),
                          118: (53, 0, 201), 122: (46, 0, 208), 127: (37, 0, 217)}
VERTICAL_RED_TO_BLUE = {0: (255, 0, 0), 1: (247, 0, 7), 17: (131, 0, 123), 18: (123, 0, 131),
                        34: (7, 0, 247), 35: (0, 0, 255)}


def runs_from_red_to_blue(lines: list) -> bool:
    """Red never rises and blue never falls from one line to the next."""
    return all(b[0] <= a[0] and b[2] >= a[2] for a, b in zip(lines, lines[1:]))


def test_horizontal_gradient_runs_from_the_first_colour_to_the_second(lumora):
    info, face = show_face(lumora, {"BackGroundType": 2, "GradationColor1": "clRed",
                                    "GradationColor2": "clBlue", "GradationStyle": 0})
    w, h = info.width, info.height
    assert (w, h) == (150, 36)
    # Columns clear of digits: the blank first cell and the gap before the last.
    for x, colour in HORIZONTAL_RED_TO_BLUE.items():
        assert all_near(region(face, x, 0, x + 1, h), colour, tolerance=2), f"column {x}"
    free = list(range(0, 22)) + list(range(cell_x(4, 22) + 22, cell_x(5, 22)))
    assert runs_from_red_to_blue([face.getpixel((x, 0)) for x in free])
    # The last column is blue wherever the last digit's outline leaves it free.
    last = [p for p in region(face, w - 1, 0, w, h).getdata() if p not in (WHITE, BLACK)]
    assert last and all(near(p, BLUE, tolerance=2) for p in last)


def test_vertical_gradient_runs_down_the_rows(lumora):
    info, face = show_face(lumora, {"BackGroundType": 2, "GradationColor1": "clRed",
                                    "GradationColor2": "clBlue", "GradationStyle": 1})
    assert info.height == 36
    for y, colour in VERTICAL_RED_TO_BLUE.items():
        assert all_near(region(face, 0, y, 22, y + 1), colour, tolerance=2), f"row {y}"
    assert runs_from_red_to_blue([face.getpixel((0, y)) for y in range(36)])


def write_quadrants(path, width, height, colours):
    """A 24-bit picture in four quadrants: top-left, top-right, bottom-left, bottom-right."""
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            image.putpixel((x, y), colours[(y >= height // 2) * 2 + (x >= width // 2)])
    image.save(path, format="BMP")
    return path


QUADRANTS = [RED, LIME, BLUE, YELLOW]


def picture_design(path, style, **more):
    return {"BackGroundType": 3, "BackGroundFile": wine_path(path), "BackGroundStyle": style, **more}


def test_tiled_picture_repeats_from_the_top_left_corner(lumora, tmp_path):
    picture = write_quadrants(tmp_path / "tile.bmp", 8, 8, QUADRANTS)
    info, face = show_face(lumora, picture_design(picture, 1))
    assert (info.width, info.height) == (150, 36)
    assert_digits(face)
    gaps = list(range(0, 22)) + [x for k in range(1, 5) for x in range(cell_x(k, 22) + 22, cell_x(k + 1, 22))]
    for x in gaps:
        for y in range(36):
            expected = QUADRANTS[((y % 8) >= 4) * 2 + ((x % 8) >= 4)]
            assert near(face.getpixel((x, y)), expected, tolerance=2), f"pixel {x},{y}"


def test_centred_picture_sits_in_the_middle_on_the_fill_colour(lumora, tmp_path):
    # 40 x 20 in a 150 x 36 window: columns 55..94, rows 8..27; the left half red, the right blue.
    picture = write_quadrants(tmp_path / "centre.bmp", 40, 20, [RED, BLUE, RED, BLUE])
    info, face = show_face(lumora, picture_design(picture, 0, Color="clLime"))
    assert (info.width, info.height) == (150, 36)
    assert all_near(region(face, 0, 0, 22, 36), LIME)
    assert all_near(region(face, 55, 8, 64, 28), RED)       # gap after cell 2
    assert all_near(region(face, 54, 0, 55, 36), LIME)
    assert all_near(region(face, 55, 0, 64, 8), LIME)
    assert all_near(region(face, 55, 28, 64, 36), LIME)
    assert all_near(region(face, 86, 8, 95, 28), BLUE)      # gap after cell 3
    assert all_near(region(face, 95, 0, 96, 36), LIME)


def test_stretched_picture_covers_the_whole_window(lumora, tmp_path):
    # 30 x 6, left half red, right half blue: stretched, red reaches past column 21 and blue
    # fills the gap before the last cell; tiled or centred it would not.
    picture = write_quadrants(tmp_path / "stretch.bmp", 30, 6, [RED, BLUE, RED, BLUE])
    info, face = show_face(lumora, picture_design(picture, 2, Color="clLime"))
    assert (info.width, info.height) == (150, 36)
    assert all_near(region(face, 0, 0, 22, 36), RED, tolerance=12)
    assert all_near(region(face, 118, 0, 128, 36), BLUE, tolerance=12)
    assert count(face, LIME, tolerance=40) == 0


def test_half_opaque_colour_background(lumora):
    _, face = show_face(lumora, {"BackGroundType": 1, "Color": "clRed", "BackGroundAlpha": 128})
    alpha = 128 / 255
    blended = tuple(round(alpha * c + (1 - alpha) * d) for c, d in zip(RED, DESKTOP))
    # Wine on a display without a compositing manager puts the premultiplied pixels on the
    # screen as they are, so there half of red over black is what shows, not the blend.
    premultiplied = (128, 0, 0)
    ground = region(face, 0, 0, 22, 36)
    assert all_near(ground, blended, tolerance=3) or all_near(ground, premultiplied, tolerance=3), \
        ground.getpixel((0, 0))
    # The digits stay fully opaque.
    assert_digits(face)


# --- system font --------------------------------------------------------------------------------

def font_design(name, points, full_width=1):
    return {"DigitType": 1, "DigitFontName": name, "DigitFontSize": points, "DigitFontFullWidth": full_width}


def test_system_font_full_width_digits_follow_the_point_size(lumora):
    small_info, small = show_face(lumora, font_design("IPAGothic", 24))
    lumora.end()
    large_info, large = show_face(lumora, font_design("IPAGothic", 48))
    assert_digits(small, minimum=20)
    assert_digits(large)
    # The cell is the glyphs' ink plus the outline: about twice as tall at twice the size.
    assert 1.6 < (large_info.height - 4) / (small_info.height - 4) < 2.4
    assert large_info.width > small_info.width


def test_full_width_digits_are_wider_than_half_width(lumora):
    full_info, _ = show_face(lumora, font_design("IPAGothic", 24, 1))
    lumora.end()
    half_info, half = show_face(lumora, font_design("IPAGothic", 24, 0))
    assert_digits(half, minimum=20)
    assert full_info.width > half_info.width


def test_font_face_is_taken_by_name(lumora):
    # The Japanese name in the settings file's code page finds the same face as the English one.
    _, gothic = show_face(lumora, font_design("IPAGothic", 36))
    lumora.end()
    _, gothic_ja = show_face(lumora, font_design("IPAゴシック", 36))
    lumora.end()
    _, mincho = show_face(lumora, font_design("IPAMincho", 36))
    assert gothic.size == gothic_ja.size and not ImageChops.difference(gothic, gothic_ja).getbbox()
    assert gothic.size != mincho.size or ImageChops.difference(gothic, mincho).getbbox()


# --- glyph image files --------------------------------------------------------------------------

def bar_rows(face: Image.Image, x: int, colour) -> int:
    return sum(1 for y in range(face.height) if near(face.getpixel((x, y)), colour))


def test_glyph_file_is_recoloured_and_outlined(lumora, tmp_path):
    strip = write_glyph_strip(tmp_path / "glyphs.bmp")
    info, face = show_face(lumora, {"DigitType": 2, "DigitFile": wine_path(strip), "DigitColor": "clYellow"})
    cw, ch = GLYPH_CELL[0] + 4, GLYPH_CELL[1] + 4
    assert (info.width, info.height) == window_size(cw, ch)
    assert count(face, GLYPH_INK) == 0 and count(face, GLYPH_GROUND) == 0
    assert_digits(face, ink=YELLOW)
    assert all_near(region(face, 0, 0, cw, ch), DESKTOP)
    # " 9:30": each cell holds the bar of its glyph, drawn 2 pixels in from the outline.
    for k, glyph in [(2, 9), (3, 10), (4, 3), (5, 0)]:
        assert bar_rows(face, cell_x(k, cw) + 2 + 10, YELLOW) == glyph_bar_rows(glyph), f"cell {k}"


def test_untouched_glyph_file_keeps_its_colours(lumora, tmp_path):
    strip = write_glyph_strip(tmp_path / "glyphs.bmp")
    info, face = show_face(lumora, {"DigitType": 2, "DigitFile": wine_path(strip), "DigitUntouched": 1,
                                    "DigitColor": "clYellow"})
    cw, ch = GLYPH_CELL
    assert (info.width, info.height) == window_size(cw, ch)
    assert count(face, YELLOW) == 0
    for k, glyph in [(2, 9), (3, 10), (4, 3), (5, 0)]:
        x = cell_x(k, cw)
        assert bar_rows(face, x + 10, GLYPH_INK) == glyph_bar_rows(glyph), f"cell {k}"
        # The cell's own ground comes along unchanged, with no outline around it.
        assert all_near(region(face, x, 0, x + 4, ch), GLYPH_GROUND), f"cell {k}"
    assert all_near(region(face, cell_x(2, cw) + cw, 0, cell_x(3, cw), ch), DESKTOP)


def test_largest_glyph_file_is_accepted(lumora, tmp_path):
    strip = write_blank_bmp(tmp_path / "big.bmp", 1056, 192)
    info, face = show_face(lumora, {"DigitType": 2, "DigitFile": wine_path(strip)})
    assert (info.width, info.height) == window_size(88 + 4, 192 + 4)
    assert_digits(face)


def write_random(path):
    path.write_bytes(os.urandom(4096))
    return path


def write_truncated(path):
    full = write_blank_bmp(path, 240, 30)
    data = full.read_bytes()
    path.write_bytes(data[: len(data) // 2])
    return path


def write_too_wide(path):
    return write_blank_bmp(path, 1057, 192)


def write_too_high(path):
    return write_blank_bmp(path, 1056, 193)


@pytest.mark.parametrize("make", [write_random, write_truncated, write_too_wide, write_too_high, None],
                         ids=["random-bytes", "truncated", "1057-wide", "193-high", "missing"])
def test_bad_glyph_file_falls_back_to_the_built_in_small_digits(lumora, tmp_path, make):
    path = tmp_path / "glyphs.bmp"
    if make:
        make(path)
    info, face = show_face(lumora, {"DigitType": 2, "DigitFile": wine_path(path)})
    assert (info.width, info.height) == (150, 36)
    assert_digits(face)
    # The same face as the default built-in digits.
    lumora.end()
    _, default = show_face(lumora, {})
    assert not ImageChops.difference(face, default).getbbox()


@pytest.mark.parametrize("style", [0, 1, 2])
@pytest.mark.parametrize("content", [b"BM" + b"\xff" * 60, None], ids=["corrupt", "missing"])
def test_bad_background_picture_leaves_the_background_undrawn(lumora, tmp_path, content, style):
    path = tmp_path / "picture.bmp"
    if content is not None:
        path.write_bytes(content)
    info, face = show_face(lumora, picture_design(path, style, Color="clLime"))
    assert info.visible and (info.width, info.height) == (150, 36) and info.rect[:2] == (10, 10)
    assert lumora.running
    assert_digits(face)
    # Not even the centred style's fill colour: the background bitmap stays as created, black.
    assert all_near(region(face, 0, 0, 22, 36), BLACK)
