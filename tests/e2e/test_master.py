"""The master window: the menu's commands, new settings taking effect, the taskbar's own clock,
notifications, and start-up failures that must be reported rather than swallowed."""
import time

from ids import (COMMAND, HTCAPTION, HTCLIENT, IDCANCEL, IDC_ANIMATION_COMBO, IDC_ANIMATION_TIMING_EDIT,
                 IDC_DIGIT_SIZE, IDC_TRAY_ICON_CHECK, IDOK, WM_COMMAND, WM_NCHITTEST)
from lumora import DRIVER_EXE, MASTER_CLASS, WINE_TRAY_CLASS, wait_until
from face_kit import wine_path
from kit import MovableClock, icon_texts
from options_kit import click, press_apply, show_page, type_over
from test_options import choose, open_options

CLOCK = "TLumoraForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
NOTIFY = 5
DIGIT_PAGE, EFFECTS_PAGE, TRAY_PAGE = 0, 5, 7
MINUTES_OF_WEEK = 7 * 24 * 60


def start(lumora, ini: str = "", env: dict | None = None, faketime: str | None = None):
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env={**HOOKS, **(env or {})}, faketime=faketime)
    lumora.wait_window(CLOCK, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    return lumora.info(CLOCK)


def hit(lumora, clock) -> int:
    left, top, right, bottom = clock.rect
    return lumora.send(CLOCK, WM_NCHITTEST, 0, ((top + bottom) // 2) << 16 | (left + right) // 2)


def fake_taskbar_clock(lumora) -> int:
    """A taskbar with a clock, as Explorer's, held up by the driver for the test; its clock's window."""
    lumora.spawn([str(DRIVER_EXE), "taskbar", "60000"])
    lumora.wait_window("Shell_TrayWnd", timeout=15)
    return wait_until(lambda: next((int(c["hwnd"]) for c in lumora.driver.children("Shell_TrayWnd")
                                    if c["class"] == "TrayClockWClass"), None), timeout=15)


def test_menu_commands_change_the_clock_and_reach_the_settings_file(lumora):
    clock = start(lumora)
    assert hit(lumora, clock) == HTCAPTION
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.Fixed) == 0
    assert hit(lumora, clock) == HTCLIENT
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.BottomMost) == 0
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Exit)
    assert lumora.wait_exit(15) == 0
    written = lumora.read_settings()
    assert "\nFixed=1" in written and "Placement=3," in written, written


def test_options_applied_rebuild_the_face_and_remove_the_icon(lumora):
    clock = start(lumora, "[View]\nTaskTrayToolTipFormat=\"MASTER apply\"\n")
    lumora.tray_icon("MASTER apply")
    assert (clock.width, clock.height) == (150, 36)
    dialog = open_options(lumora)
    choose(lumora, show_page(lumora, dialog, DIGIT_PAGE), IDC_DIGIT_SIZE, 2)  # "大"
    click(lumora, show_page(lumora, dialog, TRAY_PAGE), IDC_TRAY_ICON_CHECK)  # no icon
    press_apply(lumora, dialog)
    wait_until(lambda: (lumora.info(CLOCK).width, lumora.info(CLOCK).height) == (240, 68), timeout=10)

    def icon_shown() -> bool:
        # The tray that showed the icon stays; without it, an empty list would prove nothing.
        assert lumora.all_windows(WINE_TRAY_CLASS), "the notification area went away"
        return "MASTER apply" in icon_texts(lumora, "MASTER apply")

    wait_until(lambda: not icon_shown(), timeout=10)
    lumora.answers()
    assert lumora.info(CLOCK).rect[:2] == clock.rect[:2]
    # A value that rebuilds nothing is still taken, and written at exit (the timing counts only
    # with an effect chosen).
    effects = show_page(lumora, dialog, EFFECTS_PAGE)
    choose(lumora, effects, IDC_ANIMATION_COMBO, 1)
    type_over(lumora, effects, IDC_ANIMATION_TIMING_EDIT, "123")
    press_apply(lumora, dialog)
    written = lumora.exit_and_read_settings()
    assert "\nType=1" in written and "\nTiming=123" in written, written


def test_the_taskbar_clock_is_hidden_after_every_hidden_minute_and_given_back_at_exit(lumora, tmp_path):
    taskbar_clock = fake_taskbar_clock(lumora)
    ten = 10 * 60  # Monday 10:00
    week = ["1"] * MINUTES_OF_WEEK
    week[ten] = "0"
    clock = MovableClock(tmp_path, "@2026-01-05 09:30:00")
    start(lumora, f"[Animation]\nType=0\n[View]\nHideTaskTrayClock=1\nVisibleHours={''.join(week)}\n",
          env=clock.env())
    shown = lambda: lumora.info(taskbar_clock).visible
    # Once ours shows, ten times real speed from 09:59:30: the hidden minute from 3 s to 9 s.
    clock.set("@2026-01-05 09:59:30 x10")
    trace, deadline = [], time.monotonic() + 12
    while time.monotonic() < deadline and len(trace) < 3:
        state = shown()
        if not trace or trace[-1] != state:
            trace.append(state)
        time.sleep(0.1)
    # Hidden while ours shows, back for the hidden minute, and hidden again when ours returns.
    assert trace == [False, True, False], trace
    assert lumora.info(CLOCK).visible
    lumora.close()
    assert lumora.wait_exit(15) == 0
    assert shown()


def test_an_error_that_ends_the_program_gives_the_taskbar_clock_back(lumora):
    taskbar_clock = fake_taskbar_clock(lumora)
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nHideTaskTrayClock=1\n")
    lumora.start(env={"LUMORA_FAULT": "tick"})
    dialog = lumora.wait_window("TFatalErrorForm", timeout=15)
    assert not lumora.info(taskbar_clock).visible
    lumora.press(dialog, IDCANCEL)
    assert lumora.wait_exit(10) != 0
    assert lumora.info(taskbar_clock).visible


def test_a_notification_without_balloons_is_a_box_with_both_lines(lumora):
    start(lumora)
    assert lumora.copydata(NOTIFY, "00|時報|一行目\r\n二行目") == 1
    box = lumora.msgbox(timeout=10, pid=lumora.pid())
    assert (box.title, box.text) == ("Lumora - 時報", "一行目\r\n二行目")
    lumora.press(box, IDOK)


def test_a_tick_that_cannot_start_is_reported_and_ends_the_run(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start(env={"LUMORA_FAULT": "tick-start"})
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora" and box.text.startswith("時計を動かすタイマーを開始できないため"), box.text
    lumora.press(box, IDOK)
    assert lumora.wait_exit(15) == 0
    assert "[View]" in lumora.read_settings()


def test_a_mutex_that_cannot_be_created_is_reported(lumora, tmp_path):
    marker = tmp_path / "event-held"
    lumora.spawn([str(DRIVER_EXE), "event", "OrvaneLumora", "20000", wine_path(marker)])
    wait_until(marker.exists, timeout=15)
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start()
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora" and box.text.startswith("Lumora を起動できません。"), box.text
    lumora.press(box, IDOK)
    assert lumora.wait_exit(15) == 1
    assert lumora.find_window(MASTER_CLASS) is None
