"""Clicks and commands around the caption and the menu: a click on the clock or the icon and the
temporary display close an open caption; the commands that wait on Windows run one at a time;
another program's command runs only when the menu would offer it; the caption keeps itself on top
while it runs."""
import time

import pytest

from ids import COMMAND, WM_COMMAND, WM_DISPLAYCHANGE, WM_LBUTTONDOWN, WM_LBUTTONUP
from kit import MovableClock, minute_of_week, stays, week
from lumora import DRIVER_EXE, MASTER_CLASS, wait_until

CLOCK, TELOP, ALPHA, TEST_PATTERN = "TLumoraForm", "TTelopForm", "TAlphaBlendForm", "TTestPatternForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
SHOW_TELOP, FULL_REDRAWS = 7, 11
NEWS = "Lumora 時報\r\nLumora が 10 時 00 分をお知らせします。\r\nLumora 時報／終"
SCREEN = 800 << 16 | 1280

pytestmark = pytest.mark.usefixtures("coloured_desktop")


def start(lumora, ini: str = "", env: dict | None = None, shown: bool = True) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env={**HOOKS, **(env or {})})
    lumora.wait_window(CLOCK, timeout=15)
    if shown:
        wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    lumora.move_tray_aside()


def show_caption(lumora) -> None:
    assert lumora.copydata(SHOW_TELOP, f"0|{NEWS}") == 1
    lumora.wait_window(TELOP)
    wait_until(lambda: lumora.info(TELOP).visible, timeout=10)
    wait_until(lambda: not lumora.info(CLOCK).visible, timeout=10)


def boxes(lumora) -> int:
    return sum(1 for w in lumora.all_windows("#32770") if w["visible"] == "1")


def test_a_click_on_the_clock_or_the_icon_closes_the_caption_and_after_it_draws_only_what_changed(lumora):
    start(lumora, "[Telop]\nChangeSpeed=20000\n[View]\nTaskTrayToolTipFormat=\"CLICK icon\"\n")
    icon = lumora.tray_icon("CLICK icon", timeout=15)
    clicks = {
        "clock": lambda: lumora.post(CLOCK, WM_LBUTTONDOWN, 1, 10 << 16 | 10),
        "icon": lambda: (lumora.post(icon, WM_LBUTTONDOWN, 1, 0), lumora.post(icon, WM_LBUTTONUP, 0, 0)),
    }
    for name, click in clicks.items():
        show_caption(lumora)
        before = lumora.copydata(FULL_REDRAWS)
        click()
        lumora.wait_gone(TELOP, timeout=10)
        wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
        assert lumora.copydata(FULL_REDRAWS) == before, f"a click on the {name} over a caption redrew the face"
    # With no caption, the icon's click draws the whole face.
    before = lumora.copydata(FULL_REDRAWS)
    clicks["icon"]()
    wait_until(lambda: lumora.copydata(FULL_REDRAWS) == before + 1, timeout=10)


def test_the_temporary_display_closes_a_caption_that_stands_in_its_way(lumora, tmp_path):
    ten = minute_of_week(0, 10, 0)
    clock = MovableClock(tmp_path, "@2026-01-05 09:30:00")
    start(lumora, f"[View]\nVisibleHours={week('1', {ten: '2'})}\nAutoHideTime=30\nAutoHideTiming=-3000\n"
                  "[Telop]\nChangeSpeed=20000\n", env=clock.env())
    show_caption(lumora)
    # The temporary display falls at 10:00:57, three seconds early for the minute after.
    clock.set("@2026-01-05 10:00:54")
    lumora.wait_gone(TELOP, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)


def test_a_command_that_waits_on_windows_does_not_run_again_while_it_waits(lumora):
    start(lumora)
    for command in (COMMAND.ScreenSave, COMMAND.Help):
        lumora.post(MASTER_CLASS, WM_COMMAND, command)
        box = lumora.msgbox(timeout=15)
        lumora.post(MASTER_CLASS, WM_COMMAND, command)
        lumora.answers()
        assert stays(lambda: boxes(lumora) == 1, 1.5), "a second box over the first"
        lumora.press(box, 1)
        wait_until(lambda: boxes(lumora) == 0, timeout=10)
        # And it runs again once it has finished.
        lumora.post(MASTER_CLASS, WM_COMMAND, command)
        lumora.press(lumora.msgbox(timeout=15), 1)
        wait_until(lambda: boxes(lumora) == 0, timeout=10)


def test_another_programs_command_runs_only_when_the_menu_offers_it(lumora):
    start(lumora, "[Omake]\nShowTestPattern=0\n")
    # The test pattern's command is hidden.
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.TestPattern)
    lumora.expect_absent(TEST_PATTERN, 1.5)
    # Below 16 bits the opacity is not offered.
    assert lumora.send(MASTER_CLASS, WM_DISPLAYCHANGE, 8, SCREEN) == 0
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.AlphaBlend)
    lumora.expect_absent(ALPHA, 1.5)
    assert lumora.send(MASTER_CLASS, WM_DISPLAYCHANGE, 32, SCREEN) == 0
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.AlphaBlend)
    lumora.wait_window(ALPHA, timeout=10)


def test_the_caption_comes_back_on_top_at_its_next_flash(lumora):
    # The title shows for its first four flash steps, 2.5 s each, without a change of picture.
    start(lumora, "[Telop]\nFlash=1\nFlashSpeed=2500\n")

    def stack() -> list[str]:
        return [w["class"] for w in lumora.driver.stack()]

    assert lumora.copydata(SHOW_TELOP, f"0|{NEWS}") == 1
    shown_at = time.monotonic()
    lumora.wait_window(TELOP)
    # A top-most window of another program comes over the caption while its title stands.
    lumora.spawn([str(DRIVER_EXE), "cover", "60000", "Cover"])
    wait_until(lambda: "LumoraDriverCover" in stack(), timeout=15)
    wait_until(lambda: stack().index("LumoraDriverCover") < stack().index(TELOP), timeout=10)
    covered_at = time.monotonic() - shown_at
    assert covered_at < 9.5, "too slow to see the title covered"
    # The next flash step puts the caption on top again, long before the title first goes (12.5 s).
    wait_until(lambda: stack().index(TELOP) < stack().index("LumoraDriverCover"), timeout=10)
    assert time.monotonic() - shown_at < covered_at + 3.0
