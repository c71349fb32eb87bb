"""The visible-hours grid of the options dialog: box clicks, the space key and a preset reach the
settings file through OK, moving to another hour edits nothing, Cancel keeps the file's week,
and the three box states as they show at 96 and 144 DPI."""
from face_kit import grab
from ids import (IDCANCEL, IDC_AUTOHIDE_EDIT, IDC_HOURS_COMBO, IDC_MINUTE_LIST, IDOK, LB_GETITEMDATA, MK_LBUTTON,
                 VK_SPACE, WM_CHAR, WM_COMMAND, WM_CONTEXTMENU, WM_LBUTTONDOWN, WM_LBUTTONUP)
from lumora import wait_until
from test_options import (apply_enabled, assert_page_fits, child, choose, dpi_144, open_options, page,  # noqa: F401
                          start, tree_items)

MENU, TIME_PAGE, EDGE = "#32768", 4, 2  # the list's client area lies inside a 2-pixel edge


def at(day: int, hour: int, minute: int) -> int:
    return day * 1440 + hour * 60 + minute


def boxes(lumora, grid: int, count: int = 3) -> list[int]:
    return [lumora.send(grid, LB_GETITEMDATA, minute) for minute in range(count)]


def preset(lumora, grid: int, letter: str) -> None:
    """Chooses an item of the grid's popup menu, opened as the menu key opens it."""
    lumora.post(grid, WM_CONTEXTMENU, grid, -1)
    menu = wait_until(lambda: next((int(w["hwnd"]) for w in lumora.all_windows(MENU) if w["visible"] == "1"), None),
                      timeout=15)
    lumora.post(menu, WM_CHAR, ord(letter))


def click_box(lumora, grid: int, minute: int) -> None:
    """A click on the minute's box: six columns of ten minutes fill the list."""
    left, top, right, bottom = lumora.info(grid).rect
    column, row = (right - left - 2 * EDGE) // 6, (bottom - top - 2 * EDGE) // 10
    point = (minute // 10 * column + row // 2) | (minute % 10 * row + row // 2) << 16
    lumora.post(grid, WM_LBUTTONDOWN, MK_LBUTTON, point)
    lumora.post(grid, WM_LBUTTONUP, 0, point)


def three_states(lumora, dialog: int) -> tuple[int, int]:
    """The preset "おまかせ" (Monday 0 時 all hidden), then minute 1 shown and minute 2 for a
    while; returns the page and its grid."""
    holder = page(lumora, dialog, TIME_PAGE)
    grid, seconds = child(lumora, holder, IDC_MINUTE_LIST), child(lumora, holder, IDC_AUTOHIDE_EDIT)
    assert not lumora.info(seconds).enabled  # every minute shown, none for a while
    preset(lumora, grid, "A")
    wait_until(lambda: lumora.info(seconds).enabled, timeout=15)
    assert apply_enabled(lumora, dialog) and boxes(lumora, grid) == [0, 0, 0]
    click_box(lumora, grid, 1)
    click_box(lumora, grid, 2)
    wait_until(lambda: boxes(lumora, grid) == [0, 1, 1], timeout=10)
    lumora.press_key(VK_SPACE)  # the list has the focus and minute 2 the caret
    wait_until(lambda: boxes(lumora, grid) == [0, 1, 2], timeout=10)
    return holder, grid


def test_grid_edits_reach_the_file_on_ok_and_cancel_keeps_it(lumora):
    start(lumora, "[View]\nOptionSelectedTab=4\n")
    dialog = open_options(lumora)
    lumora.driver.move(dialog, 20, 20)
    holder, grid = three_states(lumora, dialog)
    left, top, right, bottom = lumora.info(holder).rect
    grab(lumora, (left, top, right, bottom), "grid-96dpi.png")
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone("TOptionForm", timeout=15)
    week = lumora.exit_and_read_settings().split("VisibleHours=")[1][:10080]
    assert week[:3] == "012" and week[3:60] == "0" * 57
    assert (week[at(5, 12, 0)], week[at(5, 12, 30)], week[at(2, 12, 30)]) == ("2", "0", "1")

    lumora.start()
    lumora.wait_window("TLumoraForm", timeout=15)
    dialog = open_options(lumora)
    holder = page(lumora, dialog, TIME_PAGE)
    grid = child(lumora, holder, IDC_MINUTE_LIST)
    choose(lumora, holder, IDC_HOURS_COMBO, 12)  # Monday noon: all shown
    wait_until(lambda: boxes(lumora, grid) == [1, 1, 1], timeout=10)
    assert not apply_enabled(lumora, dialog)
    preset(lumora, grid, "H")  # the whole week hidden
    wait_until(lambda: boxes(lumora, grid) == [0, 0, 0], timeout=10)
    assert not lumora.info(child(lumora, holder, IDC_AUTOHIDE_EDIT)).enabled
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone("TOptionForm", timeout=15)
    assert lumora.exit_and_read_settings().split("VisibleHours=")[1][:10080] == week


def test_grid_fits_at_144_dpi(lumora, dpi_144):
    start(lumora, "[View]\nOptionSelectedTab=4\n")
    dialog = open_options(lumora)
    lumora.driver.move(dialog, 0, 0)
    three_states(lumora, dialog)
    assert_page_fits(lumora, dialog, TIME_PAGE, tree_items(lumora, dialog), "grid-144dpi")
