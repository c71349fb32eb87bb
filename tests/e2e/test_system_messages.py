"""What the system tells every program, sent the way the system sends it: the taskbar coming back,
a change of settings, a change of the display's colour depth, a resume, the clock set to another time (the
signal, the hidden minutes and an open calendar follow it)."""
from PIL import Image, ImageChops

from face_kit import grab, wine_path
from ids import (COMMAND, IDC_AB_TRACK, IDC_AB_WARNING, IDOK, PBT_APMPOWERSTATUSCHANGE, PBT_APMRESUMECRITICAL,
                 PBT_APMRESUMESTANDBY, PBT_APMRESUMESUSPEND, PBT_APMSUSPEND, VK_ESCAPE, VK_SPACE, WM_COMMAND,
                 WM_DISPLAYCHANGE, WM_KEYDOWN, WM_POWERBROADCAST, WM_SETTINGCHANGE, WM_TIMECHANGE)
from kit import MovableClock, icon_texts, minute_of_week, stays, week, write_sine
from lumora import MASTER_CLASS, wait_until
from test_calendar import CALENDAR, PAGE, open_calendar
from test_master import fake_taskbar_clock

CLOCK, ICON_WINDOW, OPACITY = "TLumoraForm", "TKZTaskTrayIconWindow", "TAlphaBlendForm"
HOOKS, FULL_REDRAWS = {"LUMORA_TEST_HOOKS": "1"}, 11


def start(lumora, ini: str = "") -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start()
    lumora.wait_window(CLOCK, timeout=20)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)


def test_every_kind_of_resume_redraws_the_whole_face_and_nothing_else_does(lumora):
    # A full redraw draws unchanged digits as they were: the program counts them for the tests.
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start(env=HOOKS)
    lumora.wait_window(CLOCK, timeout=20)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    before = lumora.copydata(FULL_REDRAWS)
    assert before >= 1  # the first pass
    for event in (PBT_APMSUSPEND, PBT_APMPOWERSTATUSCHANGE):
        assert lumora.send(MASTER_CLASS, WM_POWERBROADCAST, event) == 1
    assert stays(lambda: lumora.copydata(FULL_REDRAWS) == before, 1.0)
    for count, event in enumerate((PBT_APMRESUMECRITICAL, PBT_APMRESUMESUSPEND, PBT_APMRESUMESTANDBY), 1):
        assert lumora.send(MASTER_CLASS, WM_POWERBROADCAST, event) == 1
        assert lumora.copydata(FULL_REDRAWS) == before + count


def test_the_icon_comes_back_when_the_taskbar_is_made_again(lumora):
    start(lumora, "[View]\nTaskTrayToolTipFormat=\"SYS icon\"\n")
    lumora.tray_icon("SYS icon", timeout=15)
    icon_window = lumora.find_window(ICON_WINDOW)
    # A restarted taskbar has lost every icon; the icon's id is its window's handle.
    lumora.driver.remove_icon(icon_window, icon_window)
    wait_until(lambda: not icon_texts(lumora, "SYS icon"), timeout=10)
    lumora.answers()
    lumora.post(icon_window, "reg:TaskbarCreated")
    assert wait_until(lambda: icon_texts(lumora, "SYS icon"), timeout=10) == ["SYS icon"]


def test_a_settings_change_hides_a_taskbar_clock_that_came_back(lumora):
    taskbar_clock = fake_taskbar_clock(lumora)
    start(lumora, "[View]\nHideTaskTrayClock=1\n")
    wait_until(lambda: not lumora.info(taskbar_clock).visible, timeout=10)
    # Explorer shows its clock again after a change of its own settings, then tells everyone.
    lumora.driver.show(taskbar_clock, True)
    wait_until(lambda: lumora.info(taskbar_clock).visible, timeout=10)
    assert lumora.send(MASTER_CLASS, WM_SETTINGCHANGE) == 0
    wait_until(lambda: not lumora.info(taskbar_clock).visible, timeout=10)
    # At exit the taskbar's clock is given back.
    lumora.close()
    assert lumora.wait_exit(15) == 0
    assert lumora.info(taskbar_clock).visible


def test_a_change_of_colour_depth_takes_the_opacity_slider_away_and_gives_it_back(lumora):
    start(lumora)
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.AlphaBlend)
    dialog = lumora.wait_window(OPACITY, timeout=15)
    wait_until(lambda: lumora.info(dialog).visible, timeout=10)

    def controls() -> dict[int, dict[str, str]]:
        return {int(c["id"]): c for c in lumora.driver.children(dialog)}

    def usable() -> bool:
        shown = controls()
        return (shown[IDC_AB_TRACK]["visible"] == "1" and shown[IDC_AB_WARNING]["visible"] == "0"
                and lumora.info(int(shown[IDOK]["hwnd"])).enabled)

    assert usable()
    # The system sends the change to every top-level window: 256 colours, then true colour again.
    for window in (MASTER_CLASS, dialog):
        lumora.send(window, WM_DISPLAYCHANGE, 8, 800 << 16 | 1280)
    shown = controls()
    assert shown[IDC_AB_TRACK]["visible"] == "0" and shown[IDC_AB_WARNING]["visible"] == "1"
    assert not lumora.info(int(shown[IDOK]["hwnd"])).enabled
    for window in (MASTER_CLASS, dialog):
        lumora.send(window, WM_DISPLAYCHANGE, 32, 800 << 16 | 1280)
    assert usable()
    assert stays(lambda: lumora.info(CLOCK).visible, 0.5)


def test_after_the_clock_is_set_a_day_ahead_the_signal_and_the_hidden_minutes_follow_it(lumora, tmp_path, null_sound):
    sound = write_sine(tmp_path / "pip.wav", 0.2)
    tuesday_eleven = minute_of_week(1, 11, 0)
    lumora.write_settings(
        "[Boot]\nShowSplash=0\n[Animation]\nType=0\n"
        f"[View]\nTaskTrayToolTipFormat=\"JUMP \"yyyy/mm/dd hh:nn:ss\nVisibleHours={week('1', {tuesday_eleven: '0'})}\n"
        "[CuckooClock]\nCuckooClockMode=1\nNotifyType=1\n"
        f"FirstCuckooClockFile={wine_path(sound)}\nLastCuckooClockFile={wine_path(sound)}\n")
    # Monday 09:40: no hour is near before the clock is set.
    clock = MovableClock(tmp_path, "@2026-01-05 09:40:00")
    lumora.start(env={**clock.env(), **null_sound})
    lumora.wait_window(CLOCK, timeout=20)
    wait_until(lambda: icon_texts(lumora, "JUMP 2026/01/05 09:4"), timeout=15)

    # Tuesday 10:59:45, and the system's word that the time has changed.
    clock.set("@2026-01-06 10:59:45")
    lumora.send(MASTER_CLASS, WM_TIMECHANGE)
    wait_until(lambda: icon_texts(lumora, "JUMP 2026/01/06 1"), timeout=15)
    assert lumora.info(CLOCK).visible
    box = lumora.msgbox(timeout=60, pid=lumora.pid())
    assert box.text == "Lumora が 11 時 00 分をお知らせします。"
    assert icon_texts(lumora, "JUMP 2026/01/06 11:00")
    # Tuesday's 11:00 is hidden (Monday's is not): the clock goes for that minute.
    wait_until(lambda: not lumora.info(CLOCK).visible, timeout=10)
    lumora.press(box, IDOK)


def settled_grab(lumora, rect) -> Image.Image:
    """The screen inside rect once two looks in a row agree."""
    last = grab(lumora, rect)
    while True:
        image = grab(lumora, rect)
        if not ImageChops.difference(image, last).getbbox():
            return image
        last = image


def test_an_open_calendar_shows_the_new_day_when_the_clock_is_set(lumora, tmp_path):
    clock = MovableClock(tmp_path, "@2026-01-05 09:40:00")
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nShowCalendar=1\nPlacement=1,400,300\n")
    lumora.start(env=clock.env())
    lumora.wait_window(CLOCK, timeout=20)
    calendar = open_calendar(lumora)
    left, top = calendar.rect[0] + 1, calendar.rect[1] + 1  # inside the thin border
    month_title = (left + 10, top + 10, left + 215, top + 36)
    january_title = settled_grab(lumora, month_title)
    january_page = settled_grab(lumora, (left + PAGE[0], top + PAGE[1], left + PAGE[2], top + PAGE[3]))

    clock.set("@2026-02-03 09:40:00")
    lumora.send(MASTER_CLASS, WM_TIMECHANGE)
    # The tear-off page turns to the new day; the month shown stays until the user asks for today's.
    wait_until(lambda: ImageChops.difference(
        grab(lumora, (left + PAGE[0], top + PAGE[1], left + PAGE[2], top + PAGE[3])), january_page).getbbox(), timeout=10)
    assert not ImageChops.difference(settled_grab(lumora, month_title), january_title).getbbox()
    page = next(int(c["hwnd"]) for c in lumora.driver.children(calendar.hwnd)
                if tuple(map(int, c["rect"].split(",")))[:2] == (left + PAGE[0], top + PAGE[1]))
    lumora.send(page, WM_KEYDOWN, VK_SPACE)
    turned = settled_grab(lumora, calendar.rect)
    # The same as a calendar opened afresh on the new day.
    lumora.send(calendar.hwnd, WM_KEYDOWN, VK_ESCAPE)
    lumora.wait_gone(CALENDAR, timeout=10)
    reopened = open_calendar(lumora)
    assert reopened.rect == calendar.rect
    fresh = settled_grab(lumora, reopened.rect)
    assert not ImageChops.difference(fresh, turned).getbbox()
