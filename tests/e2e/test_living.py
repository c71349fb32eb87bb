"""The clock on a live desktop: placement and snapping, the visible hours, the visibility key and
the mouse, the notification icon, sound through MCI, and settings that make no sense.

Hooks (LUMORA_TEST_HOOKS=1) let the tests ask the master window to play a sound and to report
whether one plays; the corner actions are the menu's commands; everything else goes through window
messages, injected keys and the X pointer.
"""
import math
import os
import re
import subprocess
import time
from datetime import datetime, timedelta

import pytest

from face_kit import DESKTOP, grab, wine_path
from ids import (COMMAND, HTCAPTION, HTCLIENT, SC_CLOSE, VK_CONTROL, VK_F8, VK_F9, WM_CLOSE, WM_COMMAND,
                 WM_LBUTTONDOWN, WM_LBUTTONUP, WM_NCHITTEST, WM_SYSCOMMAND)
from kit import MovableClock, icon_texts, minute_of_week, stays, week, write_sine
from lumora import DRIVER_EXE, MASTER_CLASS, MessageBox, WindowInfo, wait_until

CLOCK = "TLumoraForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
# A Monday morning: minute 570 of the week.
MONDAY_0930 = "@2026-01-05 09:30:00"
PARKED = (640, 600)

CTRL_FLAG = 0x4000

PLAY = 1
RED = (255, 0, 0)
SOLID_RED = "[Design]\nBackGroundType=1\nColor=clRed\n"
MISSING_FILE_TEXT = "指定したサウンド ファイルは存在しません。正しいファイル名を指定してください。"


pytestmark = pytest.mark.usefixtures("coloured_desktop")


# --- helpers ------------------------------------------------------------------------------------

def start(lumora, ini: str = "", faketime: str | None = None, env: dict | None = None,
          shown: bool = True) -> WindowInfo | None:
    # The cursor stays where the last test left it; away from the clock, it hides nothing.
    lumora.cursor(*PARKED)
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env={**HOOKS, **(env or {})}, faketime=faketime)
    lumora.wait_window(CLOCK, timeout=15)
    if not shown:
        return None
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    lumora.move_tray_aside()
    return lumora.info(CLOCK)


def visible(lumora) -> bool:
    return lumora.info(CLOCK).visible


def visibility_trace(lumora, seconds: float, since: float, states: int | None = None) -> list[tuple[float, bool]]:
    """The clock's visibility changes over a while, each with its time from since; the trace ends
    early once it holds the given number of states."""
    changes: list[tuple[float, bool]] = []
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and len(changes) != states:
        now_visible = visible(lumora)
        if not changes or changes[-1][1] != now_visible:
            changes.append((time.monotonic() - since, now_visible))
        time.sleep(0.05)
    return changes


def xdotool(lumora, *args: object) -> None:
    subprocess.run(["xdotool", *(str(a) for a in args)], env=lumora.session.env, check=True, timeout=10)


def drag(lumora, to_x: int, to_y: int, steps: int = 8) -> None:
    """Drags the clock by its face with the X pointer towards its left top at to_x, to_y."""
    left, top, _, _ = lumora.info(CLOCK).rect
    grip_x, grip_y = left + 5, top + 5
    xdotool(lumora, "mousemove", grip_x, grip_y)
    wait_until(lambda: lumora.cursor() == (grip_x, grip_y), timeout=10)
    xdotool(lumora, "mousedown", 1)
    for i in range(1, steps + 1):
        xdotool(lumora, "mousemove", grip_x + (to_x - left) * i // steps, grip_y + (to_y - top) * i // steps)
    xdotool(lumora, "mouseup", 1)


def comes_to(lumora, spot: tuple[int, int]) -> bool:
    """Whether the clock's left top comes to spot and then stays there."""
    def there() -> bool:
        return lumora.info(CLOCK).rect[:2] == spot
    return seen(there, 10) and stays(there, 1.0)


def moved(lumora, x: int, y: int) -> tuple[int, int]:
    lumora.driver.move(CLOCK, x, y)
    return lumora.info(CLOCK).rect[:2]


def point(x: int, y: int) -> int:
    return (y & 0xFFFF) << 16 | (x & 0xFFFF)


def play(lumora, path, interactive: bool) -> None:
    assert lumora.copydata(PLAY, f"{int(interactive)}|{wine_path(path)}") == 1


def seen(predicate, timeout: float) -> bool:
    """Whether predicate comes true within the time."""
    try:
        wait_until(predicate, timeout=timeout)
    except TimeoutError:
        return False
    return True


def plays_to_its_end(lumora, path, what: str) -> None:
    """Plays a file and follows the player: seen playing first, then stopping by itself."""
    play(lumora, path, interactive=False)
    assert seen(lumora.playing, 10), f"{what}: never seen playing"
    assert seen(lambda: not lumora.playing(), 10), f"{what}: no end notification"


def msgbox_now(lumora, seconds: float = 0.2) -> MessageBox | None:
    """The program's message box if one comes up within the time."""
    try:
        return lumora.msgbox(seconds, pid=lumora.pid())
    except TimeoutError:
        return None


# --- placement ----------------------------------------------------------------------------------

def test_moves_snap_to_the_lines_ten_pixels_inside_and_ctrl_turns_snapping_off(lumora):
    clock = start(lumora)
    width = clock.width
    # Beyond the left edge: pushed back to the snap line.
    assert moved(lumora, -50, 300) == (10, 300)
    # Far from every line: where it was put.
    assert moved(lumora, 300, 300) == (300, 300)
    # Within 10 px of a line on both axes: on the lines.
    assert moved(lumora, 15, 5) == (10, 10)
    assert moved(lumora, 1280 - 10 - width + 7, 400) == (1280 - 10 - width, 400)
    assert moved(lumora, 1280 + 40, 800 + 40) == (1280 - 10 - width, 800 - 10 - clock.height)
    with lumora.holding(VK_CONTROL):
        assert moved(lumora, 16, 300) == (16, 300)
        assert moved(lumora, -50, 300) == (-50, 300)
    assert moved(lumora, 16, 300) == (10, 300)


def test_without_push_back_a_clock_past_the_edge_stays_there(lumora):
    start(lumora, "[Operation]\nNoProtrudeSnap=0\n")
    assert moved(lumora, -50, 300) == (-50, 300)
    # Within the snap distance of the line (10 +- 10) it still snaps; just past it, not.
    assert moved(lumora, 1, 300) == (10, 300)
    assert moved(lumora, -1, 300) == (-1, 300)
    assert moved(lumora, 300, -30) == (300, -30)


def test_with_snapping_off_only_ctrl_snaps(lumora):
    start(lumora, "[Operation]\nSnapWindow=0\n")
    assert moved(lumora, 15, 300) == (15, 300)
    assert moved(lumora, -50, 300) == (-50, 300)
    with lumora.holding(VK_CONTROL):
        assert moved(lumora, 15, 300) == (10, 300)


def test_a_drag_with_the_pointer_snaps_and_ctrl_held_in_the_drag_does_not(lumora):
    # A solid face: pixels the face leaves transparent let the pointer through to the desktop.
    start(lumora, SOLID_RED)
    moved(lumora, 300, 300)
    for to, spot in [((15, 300), (10, 300)), ((300, 300), (300, 300)), ((300, 4), (300, 10))]:
        drag(lumora, *to)
        assert comes_to(lumora, spot), (to, lumora.info(CLOCK).rect)
    # Injected keys do not survive X pointer events here; a key held through X does.
    moved(lumora, 300, 300)
    xdotool(lumora, "mousemove", 305, 305)
    xdotool(lumora, "keydown", "ctrl")
    try:
        drag(lumora, 15, 300)
        assert comes_to(lumora, (15, 300)), lumora.info(CLOCK).rect
    finally:
        xdotool(lumora, "keyup", "ctrl")


@pytest.mark.parametrize("snap, snap_point, inset", [
    (1, "10,10", (10, 10)),
    (1, "25,5", (25, 5)),
    (0, "25,5", (0, 0)),
])
def test_corner_actions_sit_inside_the_work_area(lumora, snap, snap_point, inset):
    clock = start(lumora, f"[Operation]\nSnapWindow={snap}\nSnapPoint={snap_point}\n")
    work, monitor = lumora.work_area(CLOCK)
    # No taskbar under Wine: the work area is the whole screen.
    assert work == monitor == (0, 0, 1280, 800)
    w, h = clock.width, clock.height
    sx, sy = inset
    expected = {
        0: (monitor[0] + sx, monitor[1] + sy),
        1: (work[2] - w - sx, monitor[1] + sy),
        2: (work[2] - w - sx, work[3] - h - sy),
        3: (monitor[0] + sx, work[3] - h - sy),
    }
    for corner in (2, 1, 3, 0):  # after the top-left come the top-right, bottom-right and bottom-left commands
        assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.LTArrange + corner) == 0
        assert lumora.info(CLOCK).rect == (*expected[corner], expected[corner][0] + w, expected[corner][1] + h), \
            f"corner {corner}"


def test_closing_the_clock_window_only_beeps(lumora):
    clock = start(lumora)
    lumora.post(CLOCK, WM_CLOSE)
    lumora.post(CLOCK, WM_SYSCOMMAND, SC_CLOSE, 0)  # what Alt+F4 turns into
    assert stays(lambda: lumora.running and visible(lumora), 1.0)
    after = lumora.info(CLOCK)
    assert (after.hwnd, after.rect) == (clock.hwnd, clock.rect)
    assert lumora.find_window(MASTER_CLASS)


@pytest.mark.parametrize("fixed, hit", [(0, HTCAPTION), (1, HTCLIENT)])
def test_the_face_is_a_caption_unless_the_position_is_fixed(lumora, fixed, hit):
    clock = start(lumora, f"[Operation]\nFixed={fixed}\n" + SOLID_RED)
    left, top, right, bottom = clock.rect
    for x, y in [(left + 1, top + 1), ((left + right) // 2, (top + bottom) // 2), (right - 2, bottom - 2)]:
        assert lumora.send(CLOCK, WM_NCHITTEST, 0, point(x, y)) == hit
    moved(lumora, 300, 300)
    drag(lumora, 500, 400)
    assert comes_to(lumora, (300, 300) if fixed else (500, 400)), lumora.info(CLOCK).rect


@pytest.mark.parametrize("ignored, clock_on_top", [(False, True), (True, False)])
def test_always_in_front_comes_back_over_a_new_topmost_window_unless_it_is_ignored(lumora, ignored,
                                                                                  clock_on_top):
    rule = '[IgnoreWindows]\nWindow1="Cover",""\n' if ignored else ""
    start(lumora, "[View]\nPlacement=2,10,10\n" + rule)
    lumora.spawn([str(DRIVER_EXE), "cover", "8000", "Cover"])

    def order() -> tuple[int, int] | None:
        classes = [w["class"] for w in lumora.driver.stack()]
        if "LumoraDriverCover" not in classes:
            return None
        return classes.index(CLOCK), classes.index("LumoraDriverCover")

    # The cover has taken the top once it reports its window; then the clock comes back over it,
    # or not.
    wait_until(lambda: "hwnd=" in lumora.log.read_text(errors="replace"), timeout=15)
    wait_until(lambda: order() and (order()[0] < order()[1]) == clock_on_top, timeout=15)
    assert stays(lambda: (order()[0] < order()[1]) == clock_on_top, 2.0), order()


# --- visibility ---------------------------------------------------------------------------------

def test_a_hidden_minute_hides_the_clock_and_the_next_shown_minute_brings_it_back(lumora, tmp_path):
    ten = minute_of_week(0, 10, 0)
    clock = MovableClock(tmp_path, MONDAY_0930)
    start(lumora, f"[Animation]\nType=0\n[View]\nVisibleHours={week('1', {ten: '0'})}\n", env=clock.env())
    # Once the clock shows, ten times real speed from 09:59:30: the hidden minute runs from 3 s
    # to 9 s.
    since = time.monotonic()
    clock.set("@2026-01-05 09:59:30 x10")
    changes = visibility_trace(lumora, 12.0, since, states=3)
    assert [v for _, v in changes] == [True, False, True], changes
    hidden_at, back_at = changes[1][0], changes[2][0]
    # Give or take a look at the window, which takes the driver up to half a second on a busy
    # machine.
    assert 2.6 <= hidden_at <= 4.5, changes
    assert 5.0 <= back_at - hidden_at <= 7.2, changes


def test_a_temporary_minute_shows_a_hidden_clock_from_second_57_for_its_display_time(lumora, tmp_path):
    ten = minute_of_week(0, 10, 0)
    clock = MovableClock(tmp_path, MONDAY_0930)
    start(lumora, f"[View]\nVisibleHours={week('0', {ten: '2'})}\nAutoHideTime=5\nAutoHideTiming=-3000\n",
          env=clock.env(), shown=False)
    lumora.answers()
    # Three seconds before the display, once the program runs.
    since = time.monotonic()
    clock.set("@2026-01-05 10:00:54")
    changes = visibility_trace(lumora, 12.0, since, states=3)
    assert [v for _, v in changes] == [False, True, False], changes
    shown_at, hidden_at = changes[1][0], changes[2][0]
    assert 2.6 <= shown_at <= 4.3, changes  # 10:00:57
    assert 4.0 <= hidden_at - shown_at <= 6.5, changes


def test_the_alternate_key_toggles_the_clock_and_needs_its_modifiers(lumora):
    start(lumora, f"[Operation]\nVisibleChangeKey={CTRL_FLAG | VK_F9}\n[View]\nVisibleChangeType=0\n")
    lumora.press_key(VK_F9)
    assert stays(lambda: visible(lumora), 0.5), "F9 without Ctrl acted"
    with lumora.holding(VK_CONTROL):
        lumora.press_key(VK_F9)
        wait_until(lambda: not visible(lumora), timeout=10)
        assert stays(lambda: not visible(lumora), 0.5)
        lumora.press_key(VK_F9)
        wait_until(lambda: visible(lumora), timeout=10)
    assert stays(lambda: visible(lumora), 0.5)


def test_the_alternate_key_shows_the_clock_outside_its_visible_hours(lumora):
    start(lumora, f"[Operation]\nVisibleChangeKey={VK_F9}\n[View]\nVisibleHours={week('0')}\n",
          faketime=MONDAY_0930, shown=False)
    assert stays(lambda: not visible(lumora), 1.0)
    lumora.press_key(VK_F9)
    wait_until(lambda: visible(lumora), timeout=10)
    assert stays(lambda: visible(lumora), 0.5)
    lumora.press_key(VK_F9)
    wait_until(lambda: not visible(lumora), timeout=10)


def test_the_momentary_key_shows_the_clock_only_while_held(lumora):
    start(lumora, f"[Operation]\nVisibleChangeKey={VK_F9}\n[View]\nVisibleChangeType=1\nVisibleHours={week('0')}\n",
          faketime=MONDAY_0930, shown=False)
    assert stays(lambda: not visible(lumora), 0.8)
    with lumora.holding(VK_F9):
        wait_until(lambda: visible(lumora), timeout=10)
        assert stays(lambda: visible(lumora), 0.5)
    wait_until(lambda: not visible(lumora), timeout=10)
    assert stays(lambda: not visible(lumora), 0.5)
    lumora.press_key(VK_F8)
    assert stays(lambda: not visible(lumora), 0.5), "another key showed the clock"


def test_the_hide_type_steps_aside_near_the_cursor_unless_ctrl_is_held(lumora):
    # The window is 10..160 x 10..46; 20 px around it count as near.
    start(lumora, "[Operation]\nOnMouseHideType=1\nOnMouseHideThreshold=20\n")
    lumora.cursor(600, 600)
    assert stays(lambda: visible(lumora), 0.3)
    lumora.cursor(175, 30)
    wait_until(lambda: not visible(lumora), timeout=10)
    lumora.cursor(185, 30)
    wait_until(lambda: visible(lumora), timeout=10)
    lumora.cursor(80, 60)
    wait_until(lambda: not visible(lumora), timeout=10)
    lumora.cursor(80, 70)
    wait_until(lambda: visible(lumora), timeout=10)
    lumora.cursor(80, 25)
    wait_until(lambda: not visible(lumora), timeout=10)
    with lumora.holding(VK_CONTROL):
        wait_until(lambda: visible(lumora), timeout=10)
        assert stays(lambda: visible(lumora), 0.5)
    wait_until(lambda: not visible(lumora), timeout=10)
    lumora.cursor(600, 600)
    wait_until(lambda: visible(lumora), timeout=10)


# --- notification icon --------------------------------------------------------------------------

def test_the_icon_tooltip_follows_its_format_every_second(lumora):
    def tip_time(text: str) -> datetime:
        match = re.fullmatch(r"LIVING (\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)", text)
        assert match, text
        return datetime.strptime(match[1], "%Y/%m/%d %H:%M:%S")

    def look() -> tuple[float, str, float]:
        before = time.monotonic()
        text = wait_until(lambda: icon_texts(lumora, "LIVING "), timeout=15)[0]
        return before, text, time.monotonic()

    started = time.monotonic()
    start(lumora, "[View]\nTaskTrayToolTipFormat=\"LIVING \"yyyy/mm/dd hh:nn:ss\n", faketime=MONDAY_0930)
    first_start, first, first_end = look()
    # The fake clock starts with the program: the tip is no later than the time since then.
    since_start = tip_time(first) - datetime(2026, 1, 5, 9, 30)
    assert timedelta(0) <= since_start <= timedelta(seconds=first_end - started), first
    # Every second a new text: the first change is one second on, or as many more as the looks
    # around it took.
    last_start = first_start
    while True:
        look_start, text, look_end = look()
        if text != first:
            break
        last_start = look_start
        assert look_end - first_end < 10, f"the tip stays {first!r}"
    step = (tip_time(text) - tip_time(first)).total_seconds()
    assert 1 <= step <= 1 + math.ceil(look_end - last_start), (first, text, look_end - last_start)


def test_a_click_on_the_icon_shows_a_hidden_clock_for_its_display_time(lumora):
    start(lumora, f"[View]\nVisibleHours={week('0')}\nAutoHideTime=2\nTaskTrayToolTipFormat=\"LIVING click\"\n",
          faketime=MONDAY_0930, shown=False)
    icon = lumora.tray_icon("LIVING click")
    assert stays(lambda: not visible(lumora), 0.5)
    since = time.monotonic()
    lumora.post(icon, WM_LBUTTONDOWN, 1, 0)
    lumora.post(icon, WM_LBUTTONUP, 0, 0)
    changes = visibility_trace(lumora, 6.0, since)
    if not changes[0][1]:
        changes.pop(0)
    assert [v for _, v in changes] == [True, False], changes
    assert changes[0][0] <= 2.0, changes
    assert 1.5 <= changes[1][0] - changes[0][0] <= 3.5, changes


# --- sound --------------------------------------------------------------------------------------

def test_a_wav_plays_through_mci_to_its_end_notification(lumora, tmp_path, null_sound):
    start(lumora, env=null_sound)
    assert not lumora.playing()
    # The null device runs faster than real time: 6 s of sound play for about two seconds, time
    # enough for a slow look to see them playing.
    for seconds in (6.0, 3.0):
        tone = write_sine(tmp_path / f"tone-{seconds}.wav", seconds)
        plays_to_its_end(lumora, tone, f"{seconds} s tone")
        assert stays(lambda: not lumora.playing(), 0.5)
    lumora.expect_no_msgbox(0.5)
    assert lumora.running


def test_a_missing_file_is_reported_only_for_interactive_plays(lumora, tmp_path, null_sound):
    start(lumora, env=null_sound)
    missing = tmp_path / "missing.wav"
    play(lumora, missing, interactive=False)
    lumora.expect_no_msgbox()
    assert not lumora.playing()

    play(lumora, missing, interactive=True)
    box = lumora.msgbox(15, pid=lumora.pid())  # the first report loads the sound drivers
    assert box.title == "Lumora"
    assert box.text == MISSING_FILE_TEXT
    assert list(box.buttons) == [1]
    lumora.press(box, 1)
    wait_until(lambda: msgbox_now(lumora) is None, timeout=10)
    assert not lumora.playing()
    assert lumora.running and visible(lumora)


def test_a_file_that_is_not_sound_fails_without_harm(lumora, tmp_path, null_sound):
    start(lumora, env=null_sound)
    noise = tmp_path / "noise.wav"
    noise.write_bytes(os.urandom(4096))
    play(lumora, noise, interactive=False)
    lumora.expect_no_msgbox()
    assert not lumora.playing()

    play(lumora, noise, interactive=True)
    box = lumora.msgbox(15, pid=lumora.pid())  # the first report loads the sound drivers
    assert box.title == "Lumora"
    assert box.text and box.text != MISSING_FILE_TEXT
    lumora.press(box, 1)
    wait_until(lambda: msgbox_now(lumora) is None, timeout=10)
    # The player is free again: a real sound still plays.
    plays_to_its_end(lumora, write_sine(tmp_path / "tone.wav", 6.0), "the tone after the failure")
    assert lumora.running and visible(lumora)


def test_without_a_wave_device_the_player_does_not_stay_playing(lumora, tmp_path):
    start(lumora, env={"ALSA_CONFIG_PATH": None})
    tone = write_sine(tmp_path / "tone.wav", 0.5)
    play(lumora, tone, interactive=False)
    wait_until(lambda: not lumora.playing(), timeout=10)
    assert stays(lambda: not lumora.playing(), 1.0)
    lumora.expect_no_msgbox(0.5)
    # Not wedged: the next play runs and reports as usual.
    play(lumora, tmp_path / "missing.wav", interactive=True)
    box = lumora.msgbox(15, pid=lumora.pid())  # the first report loads the sound drivers
    assert box.text == MISSING_FILE_TEXT
    lumora.press(box, 1)
    assert lumora.running


# --- settings that make no sense ----------------------------------------------------------------

NOW = minute_of_week(0, 9, 30)


@pytest.mark.parametrize("table, shown", [
    (week("0", {NOW: "x"}), True),           # not a number: shown
    (week("1", {NOW: "7"}), False),          # a digit other than 0, 1, 2: hidden
    (week("0")[:NOW], True),                 # too short to reach this minute: shown
    # Stray characters at the head take their own places: this minute still reads 0 (were they
    # dropped, the ones a few minutes on would slide into it).
    ("1;0,2 ab\t" + week("0", {NOW + k: "1" for k in range(1, 20)})[9:], False),
    (week("0", {NOW: " "}) + "trailing junk", True),
], ids=["letter", "seven", "short", "stray-head", "blank-and-tail"])
def test_stray_characters_in_the_visible_hours(lumora, table, shown):
    start(lumora, f"[View]\nVisibleHours={table}\n", faketime=MONDAY_0930, shown=False)
    if shown:
        wait_until(lambda: visible(lumora), timeout=10)
        assert stays(lambda: visible(lumora), 1.0)
    else:
        assert stays(lambda: not visible(lumora), 1.5)
    assert lumora.running


def test_a_visibility_key_of_65535_is_harmless(lumora):
    start(lumora, "[Operation]\nVisibleChangeKey=65535\n")
    lumora.press_key(VK_F9)
    assert stays(lambda: lumora.running and visible(lumora), 1.5)


@pytest.mark.parametrize("size", [0, 31, 200])
def test_the_mouse_hole_by_size(lumora, size):
    clock = start(lumora, f"[Operation]\nOnMouseHideType=2\nOnMouseHoleSize={size}\n" + SOLID_RED)
    left, top, right, bottom = clock.rect
    centre = ((left + right) // 2, (top + bottom) // 2)
    lumora.cursor(*centre)

    def face_shows(hole: bool, corner: bool) -> bool:
        face = grab(lumora, clock.rect)
        return ((face.getpixel((centre[0] - left, centre[1] - top)) == DESKTOP) == hole
                and (face.getpixel((0, 0)) == RED) == corner)

    if size == 0:
        # No hole comes, however long the cursor rests.
        lumora.answers()
        assert stays(lambda: face_shows(hole=False, corner=True), 1.0)
    elif size == 31:
        assert seen(lambda: face_shows(hole=True, corner=True), 10)
    else:
        # A 200 px circle around the centre covers the whole 150 x 36 face.
        assert seen(lambda: all(p == DESKTOP for p in grab(lumora, clock.rect).getdata()), 10)
    assert lumora.running and visible(lumora)


@pytest.mark.parametrize("threshold, near, far", [
    (-10, (85, 28), (14, 14)),     # a negative distance shrinks the area into the window
    (50, (205, 30), (215, 30)),
])
def test_odd_hide_thresholds(lumora, threshold, near, far):
    start(lumora, f"[Operation]\nOnMouseHideType=1\nOnMouseHideThreshold={threshold}\n")
    lumora.cursor(*far)
    assert stays(lambda: visible(lumora), 0.5)
    lumora.cursor(*near)
    wait_until(lambda: not visible(lumora), timeout=10)
    lumora.cursor(*far)
    wait_until(lambda: visible(lumora), timeout=10)
    assert lumora.running


def test_300_character_tooltip_formats(lumora):
    long_tray = "T" * 298
    long_clock = "C" * 298
    start(lumora, f"[View]\nTaskTrayToolTipFormat=\"{long_tray}\"\nToolTipFormat=\"{long_clock}\"\nToolTipStyle=1\n")
    # The icon's tip holds 127 characters with the balloon-era record, which needs the shell's
    # notification window; 63 without it.
    tray_window = lumora.find_window("Shell_TrayWnd")
    balloons = tray_window is not None and any(
        c["class"] == "TrayNotifyWnd" for c in lumora.driver.children(tray_window))
    limit = 127 if balloons else 63
    texts = wait_until(lambda: icon_texts(lumora, "TT"), timeout=15)
    assert texts == ["T" * limit]
    # The clock's own tooltip shows after a rest of the cursor on the face, uncut.
    clock = lumora.info(CLOCK)
    lumora.cursor(clock.rect[0] + 40, clock.rect[1] + 15)
    time.sleep(0.1)
    lumora.cursor(clock.rect[0] + 42, clock.rect[1] + 16)
    hint = wait_until(lambda: [t["text"] for t in lumora.driver.tooltip_texts(lumora.pid()) if t["text"]], timeout=15)
    assert hint == [long_clock]
    assert lumora.running and visible(lumora)


def test_a_pinned_clock_shows_its_tooltip_under_a_resting_pointer(lumora):
    # Pinned, the face is client area; the tooltip must still come. It stays up for a minute, so
    # a slow look still finds it shown.
    clock = start(lumora, "[Operation]\nFixed=1\n[View]\nToolTipStyle=1\nToolTipFormat=\"PINNED\"\nToolTipTime=60000\n")
    lumora.cursor(clock.rect[0] + 20, clock.rect[1] + 10)
    time.sleep(0.1)
    lumora.cursor(clock.rect[0] + 22, clock.rect[1] + 11)

    def shown_tip() -> bool:
        return any(t["text"] == "PINNED" and lumora.info(int(t["hwnd"])).visible
                   for t in lumora.driver.tooltip_texts(lumora.pid()))

    wait_until(shown_tip, timeout=15, interval=0.3)
    assert lumora.running and visible(lumora)
