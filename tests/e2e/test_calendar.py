"""The calendar: opened once by its command and by a single click on the icon, in the corner of
the work area beside the notification area; closed by Esc and by another window taking the
activation unless it is pinned; its tear-off page shows Saturday in blue and Sunday in red, and
follows new settings while it is open and turns to a new day when the options are applied."""
import re
import time

import pytest

from face_kit import grab
from ids import (COMMAND, HTCAPTION, HTCLIENT, IDC_CALENDAR_PAGE, IDC_CALENDAR_TOOLBAR, IDC_DIGIT_STYLE,
                 IDC_OPTION_APPLY, IDC_WC_TIME, IDOK, VK_ESCAPE, WM_CHAR, WM_COMMAND, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                 WM_LBUTTONUP, WM_NCHITTEST, WS_EX_TOOLWINDOW, WS_EX_TOPMOST)
from kit import icon_texts, stays
from lumora import DRIVER_EXE, MASTER_CLASS, WindowInfo, capture, wait_until
import test_options as options
from test_tool_dialogs import DIALOG as WORLD_CLOCK_DIALOG, child, open_dialog as open_world_clock

CLOCK, CALENDAR, COVER, OPTIONS = "TLumoraForm", "TCalendarForm", "LumoraDriverCover", "TOptionForm"
CLIENT = (379, 256)
PAGE = (228, 12, 365, 205)  # the tear-off page in the client area
TIP = "CALENDAR tip"
SATURDAY = "@2026-03-07 13:00:00"
BLUE, RED = (0, 0, 255), (255, 0, 0)
HOURS_DIGIT = (7, 8)  # in the world clock's shift picker, first of its fields (seen in a screenshot)
APPLY_SETTINGS = 6  # test hook: INI text whose keys replace the running settings
MOUSE_KEY = r"HKCU\Control Panel\Mouse"
# Long enough for the test to look before a single click may count, even on a busy machine.
DOUBLE_CLICK_TIME = 5.0


def start(lumora, env: dict | None = None) -> None:
    # The clock stays clear of the calendar's corner.
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nShowCalendar=1\nPlacement=1,400,300\n"
                          f"TaskTrayToolTipFormat=\"{TIP}\"\n")
    lumora.start(faketime=SATURDAY, env=env)
    lumora.wait_window(CLOCK, timeout=15)


def shown(lumora, timeout: float = 10) -> WindowInfo:
    calendar = lumora.wait_window(CALENDAR, timeout=timeout)
    wait_until(lambda: lumora.info(calendar).visible, timeout=10)
    return lumora.info(calendar)


def open_calendar(lumora) -> WindowInfo:
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Calendar)
    return shown(lumora)


def calendars(lumora) -> list[int]:
    return [int(w["hwnd"]) for w in lumora.all_windows(CALENDAR)]


def point(x: int, y: int) -> int:
    return (y & 0xFFFF) << 16 | (x & 0xFFFF)


def background(calendar: WindowInfo) -> int:
    """The bottom strip's corner, where an unpinned calendar drags."""
    return point(calendar.rect[0] + 5, calendar.rect[3] - 5)


def pin(lumora, calendar: WindowInfo) -> None:
    """Clicks the pin, the second button of the tool bar, and waits until the calendar holds."""
    tool_bar = next(int(c["hwnd"]) for c in lumora.driver.children(calendar.hwnd)
                    if int(c["id"]) == IDC_CALENDAR_TOOLBAR)
    lumora.post(tool_bar, WM_LBUTTONDOWN, 1, point(34, 11))
    lumora.post(tool_bar, WM_LBUTTONUP, 0, point(34, 11))
    wait_until(lambda: lumora.send(calendar.hwnd, WM_NCHITTEST, 0, background(calendar)) == HTCLIENT, timeout=10)


def test_the_command_opens_one_calendar_in_the_corner_of_the_work_area_and_esc_closes_it(lumora):
    start(lumora)
    calendar = open_calendar(lumora)
    work, _ = lumora.work_area()
    assert (calendar.width, calendar.height) == (CLIENT[0] + 2, CLIENT[1] + 2)  # a thin border
    # Wine has no taskbar: the corner next to where the notification area would be.
    assert calendar.rect[2:] == work[2:], (calendar.rect, work)
    assert calendar.exstyle & WS_EX_TOPMOST and calendar.exstyle & WS_EX_TOOLWINDOW
    hints = {t["text"] for t in lumora.driver.tooltip_texts(calendar.pid) if int(t["tool"]) == calendar.hwnd}
    assert {"前月へ移動", "次月へ移動", "今日へ移動"} <= hints
    # Sent, so the second command has been handled when the calendars are counted.
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.Calendar) == 0
    assert stays(lambda: calendars(lumora) == [calendar.hwnd], 1.0)

    lumora.press_key(VK_ESCAPE)
    lumora.wait_gone(CALENDAR, timeout=10)
    assert open_calendar(lumora).hwnd != calendar.hwnd, "the command is usable again"


def registry_value(lumora, key: str, name: str) -> str | None:
    result = capture(["wine", "reg", "query", key, "/v", name], lumora.session.env, 60)
    found = re.search(rf"^\s*{name}\s+REG_SZ\s+(.*?)\s*$", result.stdout.decode("utf-8", "replace"), re.M)
    return found.group(1) if found else None


def set_registry_value(lumora, key: str, name: str, value: str | None) -> None:
    args = ["add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"] if value is not None else \
           ["delete", key, "/v", name, "/f"]
    result = capture(["wine", "reg", *args], lumora.session.env, 60)
    assert result.returncode == 0, result.stderr


@pytest.fixture
def long_double_click(lumora):
    """The system's double-click time, which a program reads once, raised for the program the test
    starts and put back after it."""
    before = registry_value(lumora, MOUSE_KEY, "DoubleClickSpeed")
    set_registry_value(lumora, MOUSE_KEY, "DoubleClickSpeed", str(int(DOUBLE_CLICK_TIME * 1000)))
    try:
        yield
    finally:
        set_registry_value(lumora, MOUSE_KEY, "DoubleClickSpeed", before)


def click(lumora, icon: int, *messages: tuple[int, int]) -> float:
    """Mouse messages to the icon, each sent, and the program's word that it has seen them (Wine's
    icon passes them on without waiting); returns when the last one was sent."""
    for message, keys in messages:
        sent = time.monotonic()
        lumora.send(icon, message, keys, 0)
    lumora.answers()
    return sent


def test_a_single_click_on_the_icon_opens_the_calendar_and_a_double_click_does_not(lumora, long_double_click):
    start(lumora)
    icon = lumora.tray_icon(TIP)
    released = click(lumora, icon, (WM_LBUTTONDOWN, 1), (WM_LBUTTONUP, 0))
    assert lumora.find_window(CALENDAR) is None, "the click did not wait for a second one"
    assert time.monotonic() - released < DOUBLE_CLICK_TIME, "looked too late to tell"
    shown(lumora, timeout=DOUBLE_CLICK_TIME + 10)
    assert time.monotonic() - released > DOUBLE_CLICK_TIME - 0.5, "the click counted before the double-click time"
    lumora.press_key(VK_ESCAPE)
    lumora.wait_gone(CALENDAR, timeout=10)

    # The double click runs the options command instead, and the click before it never counts.
    released = click(lumora, icon, (WM_LBUTTONDOWN, 1), (WM_LBUTTONUP, 0))
    click(lumora, icon, (WM_LBUTTONDBLCLK, 1), (WM_LBUTTONUP, 0))
    assert time.monotonic() - released < DOUBLE_CLICK_TIME, "clicked too slowly for a double click"
    lumora.wait_window(OPTIONS, timeout=20)
    lumora.expect_absent(CALENDAR, max(released + DOUBLE_CLICK_TIME + 1 - time.monotonic(), 1.0))


@pytest.mark.parametrize("pinned", [False, True])
def test_another_window_taking_the_activation_closes_the_calendar_unless_it_is_pinned(lumora, pinned):
    start(lumora)
    calendar = open_calendar(lumora)
    assert lumora.send(calendar.hwnd, WM_NCHITTEST, 0, background(calendar)) == HTCAPTION, "unpinned, it drags"
    if pinned:
        pin(lumora, calendar)
        lumora.press_key(VK_ESCAPE)
        assert stays(lambda: calendars(lumora) == [calendar.hwnd], 1.0), "Esc does not close a pinned calendar"

    lumora.spawn([str(DRIVER_EXE), "cover", "8000", "Cover"])
    wait_until(lambda: COVER in [w["class"] for w in lumora.driver.stack()], timeout=15)
    if pinned:
        assert stays(lambda: calendars(lumora) == [calendar.hwnd], 1.5)
    else:
        lumora.wait_gone(CALENDAR, timeout=10)


def weekday_colours(lumora, calendar: WindowInfo) -> tuple[int, int, bool]:
    """Pure blue and pure red pixels on the page's weekday line, and whether the day's number
    above it has either colour."""
    left, top = calendar.rect[0] + 1, calendar.rect[1] + 1
    page = grab(lumora, (left + PAGE[0], top + PAGE[1], left + PAGE[2], top + PAGE[3]))
    line = {rgb: n for n, rgb in page.crop((0, page.height - 45, page.width, page.height - 5)).getcolors(1 << 20)}
    middle = {rgb for _, rgb in page.crop((0, 40, page.width, page.height - 50)).getcolors(1 << 20)}
    return line.get(BLUE, 0), line.get(RED, 0), bool(middle & {BLUE, RED})


def test_saturday_is_blue_and_a_world_clock_a_day_ahead_turns_the_page_to_a_red_sunday(lumora):
    start(lumora)
    calendar = open_calendar(lumora)
    # Once the page is painted: a coloured weekday name.
    blue, red, number_coloured = wait_until(lambda: (c := weekday_colours(lumora, calendar))[0] + c[1] > 40 and c,
                                            timeout=10, interval=0.3)
    assert blue > 40 and red == 0 and not number_coloured, (blue, red)

    # Pinned, it stays open beside the world clock's dialog, where twelve hours ahead are typed
    # into the hours of the shift (ahead is chosen): at 13:00 the open calendar turns to Sunday.
    pin(lumora, calendar)
    dialog = open_world_clock(lumora)
    picker = child(lumora, dialog, IDC_WC_TIME)
    # Sent, as the keys after it are: a click selects the field the digits go to.
    lumora.send(picker, WM_LBUTTONDOWN, 1, point(*HOURS_DIGIT))
    lumora.send(picker, WM_LBUTTONUP, 0, point(*HOURS_DIGIT))
    for typed in "12":
        lumora.send(picker, WM_CHAR, ord(typed))
    blue, red, number_coloured = wait_until(lambda: (c := weekday_colours(lumora, calendar))[1] > 40 and c,
                                            timeout=10, interval=0.3)
    assert blue == 0 and not number_coloured, (blue, red)
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(WORLD_CLOCK_DIALOG)
    assert "TimeDiffTime=0.5\r\n" in lumora.exit_and_read_settings()


def test_a_move_to_a_monitor_of_another_dpi_lays_the_calendar_out_again(lumora):
    """Wine sends no WM_DPICHANGED: the test sends what Windows sends when the calendar reaches a
    monitor at 150 %, and then back at 100 %."""
    start(lumora)
    calendar = open_calendar(lumora)
    for dpi, client, page in ((144, (569, 384), (342, 18, 548, 308)), (96, CLIENT, PAGE)):
        # The system's suggestion: where the window goes, its size roughly scaled.
        suggested = (100, 60, 100 + client[0], 60 + client[1])
        assert lumora.driver.dpi_changed(calendar.hwnd, dpi, suggested) == 0
        moved = lumora.info(calendar.hwnd)
        assert moved.rect == (100, 60, 102 + client[0], 62 + client[1]), (dpi, moved.rect)
        shown = next(c for c in lumora.driver.children(calendar.hwnd) if int(c["id"]) == IDC_CALENDAR_PAGE)
        left, top, right, bottom = (int(v) for v in shown["rect"].split(","))
        assert (left - 101, top - 61, right - 101, bottom - 61) == page, (dpi, shown["rect"])
        grab(lumora, moved.rect, f"moved-to-{dpi}dpi.png")
    assert calendars(lumora) == [calendar.hwnd]


def test_an_apply_of_the_options_turns_an_open_calendar_to_the_day_it_is_now(lumora):
    """The calendar does not turn its page at midnight on its own; an Apply that touches none of
    its settings still looks at the date again."""
    # A font of the dialog's list, so that the Apply hands back the calendar's font unchanged.
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nPlacement=1,400,300\nOptionSelectedTab=0\n"
                          "CalendarFontName=IPAゴシック\nTaskTrayToolTipFormat=\"CALDAY \"d\n"
                          "[Design]\nDigitType=0\nDigitStyle=0\n")
    lumora.start(faketime="@2026-03-07 23:59:25")  # a Saturday, shortly before midnight
    lumora.wait_window(CLOCK, timeout=15)
    calendar = open_calendar(lumora)
    pin(lumora, calendar)
    blue, red, _ = wait_until(lambda: (c := weekday_colours(lumora, calendar))[0] + c[1] > 40 and c,
                              timeout=10, interval=0.3)
    assert blue > 40 and red == 0, (blue, red)
    assert icon_texts(lumora, "CALDAY ") == ["CALDAY 7"], "the test must see Saturday before midnight"

    dialog = options.open_options(lumora)
    wait_until(lambda: icon_texts(lumora, "CALDAY ") == ["CALDAY 8"], timeout=60, interval=0.5)
    assert weekday_colours(lumora, calendar)[:2] == (blue, 0), "still Saturday before the Apply"
    options.choose(lumora, options.page(lumora, dialog, 0), IDC_DIGIT_STYLE, 2)
    wait_until(lambda: options.apply_enabled(lumora, dialog), timeout=10)
    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
    wait_until(lambda: not options.apply_enabled(lumora, dialog), timeout=10)
    blue, red, _ = wait_until(lambda: (c := weekday_colours(lumora, calendar))[1] > 40 and c,
                              timeout=10, interval=0.3)
    assert blue == 0, (blue, red)


def test_a_new_calendar_font_reaches_an_open_calendar(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nPlacement=1,400,300\nCalendarFontName=IPAゴシック\n")
    lumora.start(faketime=SATURDAY, env={"LUMORA_TEST_HOOKS": "1"})
    lumora.wait_window(CLOCK, timeout=15)
    calendar = open_calendar(lumora)
    pin(lumora, calendar)
    look = lambda: grab(lumora, calendar.rect, "calendar.png").tobytes()  # noqa: E731
    gothic = wait_until(lambda: (first := look()) == look() and first, timeout=10, interval=0.3)
    assert lumora.copydata(APPLY_SETTINGS, "[View]\nCalendarFontName=IPA明朝\n") == 1
    wait_until(lambda: look() != gothic, timeout=10, interval=0.3)
