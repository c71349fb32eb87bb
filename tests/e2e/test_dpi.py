"""High DPI: at 100, 150 and 200 % (Wine's screen at 96, 144 and 192 DPI) the calendar and the
popup menu's image column grow with the monitor; the screenshots go to each test's folder."""
import pytest

from face_kit import grab
from ids import IDC_CALENDAR_PAGE
from lumora import wait_until
from test_calendar import CLIENT as CLIENT_AT_96, calendars, open_calendar
from test_menu import MENU, menu_shown, right_click_clock

CLOCK = "TLumoraForm"
GUTTER_AT_96 = 26  # the modern menu's image column


def at(dpi: int, pixels: int) -> int:
    """pixels laid out for 96 DPI at dpi, rounded as the system rounds."""
    return (pixels * dpi + 48) // 96


@pytest.fixture(scope="module", params=[96, 144, 192], ids=["100%", "150%", "200%"])
def dpi(request, wine_session):
    """Wine's screen at that DPI, as the user's display setting makes it (a fresh Wine server
    reads it); put back after the module."""
    with wine_session.screen_dpi(request.param):
        yield request.param


def start(lumora, ini: str = "") -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nPlacement=1,400,300\n" + ini)
    lumora.start()
    lumora.wait_window(CLOCK, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    lumora.move_tray_aside()


def test_the_calendar_is_laid_out_for_the_monitors_dpi(lumora, dpi):
    start(lumora)
    calendar = open_calendar(lumora)
    assert (calendar.width, calendar.height) == (at(dpi, CLIENT_AT_96[0]) + 2, at(dpi, CLIENT_AT_96[1]) + 2)
    work, _ = lumora.work_area()
    assert calendar.rect[2:] == work[2:], "still in the corner of the work area"
    page = next(c for c in lumora.driver.children(calendar.hwnd) if int(c["id"]) == IDC_CALENDAR_PAGE)
    left, top, right, bottom = (int(v) for v in page["rect"].split(","))
    inside = (left - calendar.rect[0] - 1, top - calendar.rect[1] - 1, right - left, bottom - top)
    assert inside == (at(dpi, 228), at(dpi, 12), at(dpi, 365) - at(dpi, 228), at(dpi, 205) - at(dpi, 12))
    grab(lumora, calendar.rect, f"calendar-{dpi}dpi.png")
    assert calendars(lumora) == [calendar.hwnd]


def gutter_width(menu) -> int:
    """Columns from the menu's left edge, inside its frame, that are mostly the image column's
    colour (the images and a highlighted row cover only part of each)."""
    width, height = menu.size
    rows = range(4, height - 4)
    inner = next(x for x in range(width) if menu.getpixel((x, height // 2)) != menu.getpixel((0, height // 2)))
    inner += 2  # the frame's second line
    colour = menu.getpixel((inner, height // 2))

    def mostly(x):
        return sum(menu.getpixel((x, y)) == colour for y in rows) > len(rows) // 2
    return next(x for x in range(inner, width) if not mostly(x)) - inner


def test_the_menus_image_column_and_images_grow_with_the_dpi(lumora, dpi):
    start(lumora, "ShowMenuIcon=1\nUseModernMenu=1\n")
    right_click_clock(lumora)
    wait_until(lambda: menu_shown(lumora), timeout=10)
    menu = lumora.info(lumora.find_window(MENU))
    shot = grab(lumora, menu.rect, f"menu-{dpi}dpi.png")
    assert abs(gutter_width(shot) - at(dpi, GUTTER_AT_96)) <= 1, gutter_width(shot)
