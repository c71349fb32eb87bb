"""The notification area as Windows makes it and Wine does not: adds the shell refuses are tried
again, an icon never taken counts as not shown (notifications then come as boxes) and comes with
the next taskbar, which also decides again whether balloons can be shown; the icon's size at the
DPI; a taskbar without a clock window (Windows 11's) offers no clock to hide."""
import pytest

from ids import BM_GETCHECK, IDC_TRAY_HIDE_CLOCK_CHECK, IDC_TRAY_HIDE_CLOCK_NOTE, IDOK, WM_COMMAND, WM_SETTINGCHANGE
from kit import icon_texts, stays
from face_kit import grab
from lumora import MASTER_CLASS, WINE_TRAY_CLASS, wait_until
from test_master import fake_taskbar_clock
from test_menu import close_menu, menu_shown, right_click_clock
from test_options import DIALOG, child, open_options, page

CLOCK, ICON_WINDOW = "TLumoraForm", "TKZTaskTrayIconWindow"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
NOTIFY, ICON_STATE, ICON_WIDTH = 5, 18, 19
NOT_SHOWN, SHOWN, ADD_PENDING = 0, 1, 2
TRAY_PAGE = 7
# Refused adds are tried again after 1, 2, 4, 8 and 16 s: six tries in a round.
TRIES_IN_A_ROUND = 6


def start(lumora, tip: str, faults: str = "") -> None:
    lumora.write_settings(f"[Boot]\nShowSplash=0\n[View]\nTaskTrayToolTipFormat=\"{tip}\"\n")
    lumora.start(env={**HOOKS, **({"LUMORA_FAULT": faults} if faults else {})})
    lumora.wait_window(CLOCK, timeout=20)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)


def icon_state(lumora) -> int:
    return lumora.copydata(ICON_STATE)


def notify(lumora, title: str, body: str) -> None:
    assert lumora.copydata(NOTIFY, f"10|{title}|{body}") == 1


def expect_box(lumora, title: str, body: str) -> None:
    """The notification comes as a message box, and the box is closed."""
    notify(lumora, title, body)
    box = lumora.msgbox(timeout=10, pid=lumora.pid())
    assert (box.title, box.text) == (f"Lumora - {title}", body)
    lumora.press(box, IDOK)


def expect_balloon(lumora, title: str, body: str) -> None:
    """The notification comes as the icon's balloon (Wine shows it as a tooltip of its tray)."""
    notify(lumora, title, body)
    wait_until(lambda: icon_texts(lumora, body), timeout=10)
    lumora.expect_no_msgbox()


def test_an_icon_the_shell_refuses_at_first_is_added_by_a_later_try(lumora):
    start(lumora, "TRAY late", "tray-add-refused-3")
    # Refused three times: not shown, and not counted as shown, while the tries go on.
    assert icon_state(lumora) == ADD_PENDING
    assert not icon_texts(lumora, "TRAY late")
    # The fourth try, after 1 + 2 + 4 s, is taken.
    assert wait_until(lambda: icon_texts(lumora, "TRAY late"), timeout=20) == ["TRAY late"]
    assert icon_state(lumora) == SHOWN


def test_an_icon_never_taken_leaves_the_clock_usable_and_comes_with_the_next_taskbar(lumora):
    fake_taskbar_clock(lumora)  # a notification area that shows balloons
    start(lumora, "TRAY never", f"tray-add-refused-{TRIES_IN_A_ROUND}")
    assert icon_state(lumora) == ADD_PENDING
    # The round ends after half a minute; the program runs on without its icon.
    wait_until(lambda: icon_state(lumora) == NOT_SHOWN, timeout=45, interval=0.5)
    assert stays(lambda: icon_state(lumora) == NOT_SHOWN and not icon_texts(lumora, "TRAY never"), 2)
    # A notification needs an icon for its balloon: without one it comes as a box, not lost.
    expect_box(lumora, "アイコンなし", "箱で知らせる")
    # The clock's own menu is still there.
    lumora.move_tray_aside()
    right_click_clock(lumora)
    wait_until(lambda: menu_shown(lumora), timeout=10)
    close_menu(lumora)

    # Explorer started again: the icon comes, and its notifications are balloons again.
    lumora.post(ICON_WINDOW, "reg:TaskbarCreated")
    assert wait_until(lambda: icon_texts(lumora, "TRAY never"), timeout=15) == ["TRAY never"]
    assert icon_state(lumora) == SHOWN
    expect_balloon(lumora, "アイコンあり", "吹き出しで知らせる")


def test_a_new_taskbar_decides_again_whether_balloons_can_be_shown(lumora):
    # Wine's own tray has no notification window of Explorer's kind: no balloons at first.
    start(lumora, "TRAY balloons")
    wait_until(lambda: icon_texts(lumora, "TRAY balloons"), timeout=15)
    expect_box(lumora, "バルーンなし", "箱で知らせる")
    # A taskbar with a notification area comes, and tells every program.
    fake_taskbar_clock(lumora)
    lumora.post(ICON_WINDOW, "reg:TaskbarCreated")
    wait_until(lambda: icon_state(lumora) == SHOWN, timeout=10)
    assert icon_texts(lumora, "TRAY balloons") == ["TRAY balloons"]
    expect_balloon(lumora, "バルーンあり", "吹き出しで知らせる")


def test_the_icon_follows_the_dpi_of_its_monitor(lumora):
    start(lumora, "TRAY dpi")
    wait_until(lambda: icon_state(lumora) == SHOWN, timeout=15)
    assert lumora.copydata(ICON_WIDTH) == 16
    icon_window = lumora.find_window(ICON_WINDOW)
    for dpi, width in ((192, 32), (144, 24), (96, 16)):
        lumora.driver.dpi_changed(icon_window, dpi, (0, 0, 0, 0))
        assert lumora.copydata(ICON_WIDTH) == width, dpi
        assert icon_texts(lumora, "TRAY dpi") == ["TRAY dpi"]


@pytest.fixture(params=[144, 192])
def screen_dpi(request, wine_session):
    """Wine's screen at this DPI for the test, as the user's display setting makes it."""
    with wine_session.screen_dpi(request.param):
        yield request.param


def test_the_icon_has_the_size_of_the_screen_dpi(lumora, screen_dpi):
    start(lumora, "TRAY screen")
    wait_until(lambda: icon_texts(lumora, "TRAY screen"), timeout=15)
    assert lumora.copydata(ICON_WIDTH) == {144: 24, 192: 32}[screen_dpi]
    # Wine draws the icon into its tray's cell, which follows the screen's DPI as well.
    grab(lumora, lumora.info(WINE_TRAY_CLASS).rect).save(lumora.folder / f"tray-{screen_dpi}dpi.png")


@pytest.mark.parametrize("faults, found", [("", True), ("no-taskbar-clock", False)], ids=["classic", "no-clock"])
def test_a_taskbar_without_a_clock_window_greys_the_option_and_nothing_is_hidden(lumora, faults, found):
    taskbar_clock = fake_taskbar_clock(lumora)
    lumora.write_settings(f"[Boot]\nShowSplash=0\n[View]\nHideTaskTrayClock=1\nOptionSelectedTab={TRAY_PAGE}\n")
    lumora.start(env={"LUMORA_FAULT": faults} if faults else None)
    lumora.wait_window(CLOCK, timeout=20)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    if found:
        wait_until(lambda: not lumora.info(taskbar_clock).visible, timeout=10)
    else:
        # At start, and when a change of settings makes the program look again.
        assert stays(lambda: lumora.info(taskbar_clock).visible, 2)
        assert lumora.send(MASTER_CLASS, WM_SETTINGCHANGE) == 0
        assert stays(lambda: lumora.info(taskbar_clock).visible, 1)

    dialog = open_options(lumora)
    holder = page(lumora, dialog, TRAY_PAGE)
    box, note = child(lumora, holder, IDC_TRAY_HIDE_CLOCK_CHECK), child(lumora, holder, IDC_TRAY_HIDE_CLOCK_NOTE)
    assert lumora.send(box, BM_GETCHECK) == 1  # the user's choice, greyed or not
    assert lumora.info(box).enabled == found
    assert lumora.info(note).visible == (not found)
    assert lumora.driver.get_text(note) == "この Windows では使用できません。"
    grab(lumora, lumora.info(dialog).rect).save(lumora.folder / f"tray-page-{'classic' if found else 'no-clock'}.png")
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(DIALOG, timeout=10)
    assert lumora.info(taskbar_clock).visible == (not found)
    # The setting stays as the user chose it, for a taskbar that has the clock.
    assert "\nHideTaskTrayClock=1" in lumora.exit_and_read_settings()
    assert lumora.info(taskbar_clock).visible
