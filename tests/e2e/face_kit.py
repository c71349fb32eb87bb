"""Showing the clock face with given design settings and reading its pixels off the screen.

Shared by the face tests and tools/screenshots.py. Pixels come from a screenshot of the whole
Xvfb display, cropped to the clock window's rectangle, so what is checked is what X shows.
"""
from __future__ import annotations

import contextlib
import shutil
import tempfile
import time
from pathlib import Path

from PIL import Image, ImageChops

from lumora import BUILD, LumoraApp, WindowInfo, WineSession

CLOCK_CLASS = "TLumoraForm"
DESKTOP = (0x3A, 0x6E, 0xA5)
DESKTOP_HEX = "#3a6ea5"
# A minute into an hour below ten: the face reads " 9:30", so its first cell is blank.
HALF_PAST_NINE = "@2026-01-05 09:30:00"


@contextlib.contextmanager
def screenshot_session(name: str):
    """A Wine session of its own on the review desktop colour, so screenshot commands can run
    beside the end-to-end tests; yields it with a scratch folder, both cleaned up after."""
    session = WineSession(root=BUILD / "screenshot-session")
    work = Path(tempfile.mkdtemp(prefix=f"lumora-{name}-"))
    try:
        session.start()
        set_desktop(session, DESKTOP_HEX)
        yield session, work
    finally:
        session.stop()
        shutil.rmtree(work, ignore_errors=True)


def set_desktop(session: WineSession, colour: str) -> None:
    """Paints the X root: Xvfb's black would hide black outlines and black fills alike."""
    session.paint_root(colour)


def wine_path(path: Path) -> str:
    return "Z:" + str(path).replace("/", "\\")


def design_ini(design: dict[str, object]) -> str:
    return "[Design]\n" + "".join(f"{key}={value}\n" for key, value in design.items())


def grab(app: LumoraApp, rect: tuple[int, int, int, int], name: str = "screen.png") -> Image.Image:
    """The screen inside rect (left, top, right, bottom), as RGB."""
    shot = app.screenshot(app.folder / name)
    with Image.open(shot) as image:
        return image.convert("RGB").crop(rect)


def wait_face(app: LumoraApp, timeout: float = 15) -> tuple[WindowInfo, Image.Image]:
    """Waits until the clock window is shown and its pixels have settled; returns both."""
    deadline = time.monotonic() + timeout
    app.wait_window(CLOCK_CLASS, timeout=timeout)
    last = None
    while True:
        if app.process is not None and app.process.poll() is not None:
            raise RuntimeError(f"Lumora ended with {app.process.returncode} before its face settled")
        try:
            info = app.info(CLOCK_CLASS)
        except LookupError:
            raise RuntimeError("the clock window went away while the program was starting") from None
        if info.visible and info.width > 0 and info.height > 0 and info.rect[0] > -1000:
            # The notification icon's window may come up while the face settles.
            app.move_tray_aside()
            image = grab(app, info.rect)
            # Two equal grabs of one size: the first push is on the screen.
            if last is not None and last.size == image.size and not ImageChops.difference(last, image).getbbox():
                return info, image
            last = image
        if time.monotonic() >= deadline:
            raise TimeoutError(f"clock face did not settle within {timeout} s")
        time.sleep(0.15)


def show_face(app: LumoraApp, design: dict[str, object], faketime: str = HALF_PAST_NINE,
              extra_ini: str = "") -> tuple[WindowInfo, Image.Image]:
    """Starts the program with these [Design] keys at a fixed instant and returns its face."""
    app.write_settings(design_ini(design) + extra_ini)
    app.start(faketime=faketime)
    return wait_face(app)


# --- pictures the program reads -------------------------------------------------------------

GLYPH_CELL = (20, 30)
GLYPH_GROUND = (0, 128, 0)
GLYPH_INK = (255, 128, 0)


def glyph_bar_rows(index: int) -> int:
    """Glyph i of the test strip is a bar 2(i + 1) rows high, so each cell tells its glyph."""
    return 2 * (index + 1)


def write_glyph_strip(path: Path, ink: tuple[int, int, int] = GLYPH_INK,
                      ground: tuple[int, int, int] = GLYPH_GROUND) -> Path:
    """A 24-bit strip of twelve 20 x 30 cells: bars at x 4..15 from row 2 down, on ground."""
    width, height = GLYPH_CELL
    image = Image.new("RGB", (12 * width, height), ground)
    for i in range(12):
        for y in range(2, 2 + glyph_bar_rows(i)):
            for x in range(4, 16):
                image.putpixel((i * width + x, y), ink)
    image.save(path, format="BMP")
    return path


def write_blank_bmp(path: Path, width: int, height: int, colour=(255, 255, 255), ink=(0, 0, 0)) -> Path:
    """A 24-bit bitmap of the given size with one dark mark per twelfth, a valid if dull strip."""
    image = Image.new("RGB", (width, height), colour)
    step = max(width // 12, 1)
    for i in range(12):
        x = i * step + step // 2
        for y in range(height // 4, height - height // 4):
            image.putpixel((min(x, width - 1), y), ink)
    image.save(path, format="BMP")
    return path
