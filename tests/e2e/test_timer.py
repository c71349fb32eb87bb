"""The countdown timer: its dialog (opened once, collapsed and expanded, the presets, edits that
reach the settings file), the countdown that goes on without the dialog, a user's stop, and the
firing: the box after the pass, the program it runs or cannot run, the balloon and the caption."""
import time

import pytest

from face_kit import wine_path
from ids import (BM_CLICK, CB_GETCOUNT, CB_SETCURSEL, CBN_SELCHANGE, COMMAND, IDC_TIMER_BROWSE, IDC_TIMER_DETAILS,
                 IDC_TIMER_FORCE, IDC_TIMER_MESSAGE, IDC_TIMER_NOTIFY, IDC_TIMER_OPERATION, IDC_TIMER_OPERATION_NOTE,
                 IDC_TIMER_PROGRAM, IDC_TIMER_REMAINING, IDC_TIMER_START, IDC_TIMER_TIME, IDC_TIMER_TIME_LABEL,
                 IDCANCEL, IDM_TIMER_PRESET_FIRST, IDOK, VK_ESCAPE, WM_COMMAND)
from kit import icon_texts, stays
from lumora import MASTER_CLASS, wait_until

CLOCK, TIMER, TELOP = "TLumoraForm", "TTimerForm", "TTelopForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
APPLY_SETTINGS = 6  # test hook: INI text whose keys replace the running settings
# The dialog's controls.
TIME, REMAINING, LABEL, START, DETAILS = (IDC_TIMER_TIME, IDC_TIMER_REMAINING, IDC_TIMER_TIME_LABEL, IDC_TIMER_START,
                                          IDC_TIMER_DETAILS)
NOTIFY, MESSAGE, OPERATION, PROGRAM, BROWSE, FORCE, NOTE = (IDC_TIMER_NOTIFY, IDC_TIMER_MESSAGE, IDC_TIMER_OPERATION,
                                                            IDC_TIMER_PROGRAM, IDC_TIMER_BROWSE, IDC_TIMER_FORCE,
                                                            IDC_TIMER_OPERATION_NOTE)
PRESET_90_MINUTES = IDM_TIMER_PRESET_FIRST + 9
BOX_TITLE = "Lumora - タイマー"
DEFAULT_MESSAGE = "タイマーで設定した時間になりました。"
SECOND = 1 / 86400


def start(lumora, timer_ini: str, other: str = "") -> int:
    """Lumora with a [Timer] section, and its timer dialog open."""
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nTaskTrayToolTipFormat=\"TIMER \"hh:nn:ss\n"
                          f"[Timer]\n{timer_ini}" + other)
    lumora.start(env=HOOKS)
    lumora.wait_window(CLOCK, timeout=15)
    return open_dialog(lumora)


def open_dialog(lumora) -> int:
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Timer)
    dialog = lumora.wait_window(TIMER, timeout=10)
    wait_until(lambda: lumora.info(dialog).visible, timeout=10)
    return dialog


def controls(lumora, dialog: int, *needed: int) -> dict[int, dict[str, str]]:
    """The dialog's controls by id, once those needed are there (a dialog just found may not
    have made them all yet)."""
    def found():
        shown = {int(c["id"]): c for c in lumora.driver.children(dialog)}
        return shown if shown and all(n in shown for n in needed) else None
    return wait_until(found, timeout=10)


def text(lumora, dialog: int, control: int) -> str:
    return controls(lumora, dialog, control)[control]["title"]


def choose(lumora, dialog: int, combo: int, index: int) -> None:
    """Picks a list entry as the user would: the selection, then the notification."""
    hwnd = int(controls(lumora, dialog, combo)[combo]["hwnd"])
    lumora.send(hwnd, CB_SETCURSEL, index)
    lumora.send(dialog, WM_COMMAND, CBN_SELCHANGE << 16 | combo, hwnd)


def timer_key(lumora, key: str) -> str:
    """A key of [Timer] as the program writes it at exit."""
    section = lumora.exit_and_read_settings().split("[Timer]")[1]
    return next(line.split("=", 1)[1] for line in section.splitlines() if line.startswith(key + "="))


def test_the_dialog_opens_once_keeps_its_edits_and_expands(lumora):
    dialog = start(lumora, "Time=0\nOption=0\n")
    info = lumora.info(dialog)
    assert info.title == "タイマー"
    assert text(lumora, dialog, TIME) == "00:00.00"
    start_button = int(controls(lumora, dialog, START)[START]["hwnd"])
    assert not lumora.info(start_button).enabled, "a duration of 00:00.00 cannot start"
    # Sent, so the command has been handled when the dialogs are counted.
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.Timer) == 0
    assert [int(w["hwnd"]) for w in lumora.all_windows(TIMER)] == [dialog]

    # The preset menu's "90 分 (1 時間半)".
    lumora.post(dialog, WM_COMMAND, PRESET_90_MINUTES)
    wait_until(lambda: text(lumora, dialog, TIME) == "01:30.00", timeout=10)
    assert lumora.info(start_button).enabled

    # Collapsed, the option group is cut off; expanded, it shows the rows its choices allow.
    assert controls(lumora, dialog, NOTIFY)[NOTIFY]["visible"] == "0"
    lumora.send(int(controls(lumora, dialog, DETAILS)[DETAILS]["hwnd"]), BM_CLICK)
    wait_until(lambda: lumora.info(dialog).height > info.height + 100, timeout=10)
    shown = controls(lumora, dialog, DETAILS, NOTIFY, MESSAGE, OPERATION, PROGRAM, FORCE)
    assert shown[DETAILS]["title"] == "<< 詳細設定(&V)"
    assert [shown[c]["visible"] for c in (NOTIFY, MESSAGE, OPERATION, PROGRAM, FORCE)] == ["1", "1", "1", "0", "0"]
    choose(lumora, dialog, OPERATION, 1)
    assert [controls(lumora, dialog, PROGRAM, BROWSE, FORCE)[c]["visible"] for c in (PROGRAM, BROWSE, FORCE)] == \
        ["1", "1", "0"]
    choose(lumora, dialog, NOTIFY, 0)
    assert lumora.info(int(controls(lumora, dialog, MESSAGE)[MESSAGE]["hwnd"])).enabled is False

    # The program picker with its own title and OK button.
    lumora.press(dialog, BROWSE)
    picker = wait_until(lambda: lumora.find_window("#32770", "実行するファイルの選択"), timeout=10)
    ok = next(c for c in lumora.driver.children(picker) if c["id"] == str(IDOK) and c["class"] == "Button")
    assert ok["title"] == "選択(&L)"
    lumora.press(picker, IDCANCEL)
    wait_until(lambda: lumora.find_window("#32770", "実行するファイルの選択") is None, timeout=10)

    # The message loop hands the dialog its keys: Esc hides it.
    lumora.press_key(VK_ESCAPE)
    lumora.wait_gone(TIMER, timeout=10)
    assert abs(float(timer_key(lumora, "Time")) - 90 / 1440) < SECOND / 10
    written = lumora.read_settings()
    assert "\nOption=1" in written and "\nNotifyType=0" in written, written


def test_a_countdown_without_its_dialog_runs_the_program_and_the_box_leaves_the_clock_ticking(lumora, tmp_path):
    marker = tmp_path / "fired.txt"
    script = tmp_path / "alarm.bat"
    script.write_bytes(f"@echo off\r\necho fired> \"{wine_path(marker)}\"\r\n".encode())
    dialog = start(lumora, f"Time={5 * SECOND}\nNotifyType=1\nProgram={wine_path(script)}\n")
    choose(lumora, dialog, OPERATION, 1)
    started = time.monotonic()
    lumora.press(dialog, START)
    wait_until(lambda: text(lumora, dialog, START) == "停止(&S)", timeout=10)
    shown = controls(lumora, dialog, LABEL, REMAINING)
    assert shown[LABEL]["title"] == "残り時間:" and shown[REMAINING]["visible"] == "1"
    assert 4 - (time.monotonic() - started) <= seconds(shown[REMAINING]["title"]) <= 5, shown[REMAINING]
    # The countdown belongs to the master: it goes on when the dialog is hidden.
    lumora.press(dialog, IDCANCEL)
    lumora.wait_gone(TIMER, timeout=10)

    box = lumora.msgbox(timeout=15, pid=lumora.pid())
    assert (box.title, box.text) == (BOX_TITLE, DEFAULT_MESSAGE)
    wait_until(marker.exists, timeout=10)  # the program was started; it writes in its own time
    first_tip = icon_texts(lumora, "TIMER ")[0]
    wait_until(lambda: icon_texts(lumora, "TIMER ")[0] != first_tip, timeout=10)
    lumora.press(box, IDOK)
    # Opened again, the dialog is back to editing with the duration it had.
    dialog = open_dialog(lumora)
    assert text(lumora, dialog, START) == "開始(&S)" and text(lumora, dialog, TIME) == "00:00.05"


def test_a_program_that_cannot_start_is_named_and_the_balloon_and_caption_follow(lumora, tmp_path):
    missing = wine_path(tmp_path / "missing.exe")
    dialog = start(lumora, f"Time={2 * SECOND}\nNotifyType=2\nProgram={missing}\n", "[Telop]\nChangeSpeed=500\n")
    choose(lumora, dialog, OPERATION, 1)
    choose(lumora, dialog, MESSAGE, 3)
    lumora.press(dialog, START)
    failure = lumora.msgbox(timeout=15, pid=lumora.pid())
    assert (failure.title, failure.text) == (BOX_TITLE, f"{missing} の起動に失敗しました。")
    lumora.press(failure, IDOK)
    # Wine shows no balloons: the notification falls back to a box with the same lines.
    balloon = lumora.msgbox(timeout=10, pid=lumora.pid())
    assert (balloon.title, balloon.text) == (BOX_TITLE, "風呂の水が沸きました。")
    lumora.press(balloon, IDOK)

    # The caption, with nothing else to do.
    wait_until(lambda: text(lumora, dialog, START) == "開始(&S)", timeout=10)
    choose(lumora, dialog, OPERATION, 0)
    choose(lumora, dialog, NOTIFY, 3)
    lumora.press(dialog, START)
    lumora.wait_window(TELOP, timeout=15)
    lumora.wait_gone(TELOP, timeout=15)
    lumora.expect_no_msgbox(1)


def test_a_stop_keeps_the_time_left_as_the_duration(lumora):
    dialog = start(lumora, f"Time={10 * 60 * SECOND}\n")
    lumora.press(dialog, START)
    wait_until(lambda: text(lumora, dialog, REMAINING) <= "00:09.58", timeout=10)
    lumora.press(dialog, START)
    wait_until(lambda: text(lumora, dialog, START) == "開始(&S)", timeout=10)
    left = text(lumora, dialog, TIME)
    assert "00:09.50" <= left <= "00:09.58", left
    # Started again, it counts down from there; the countdown itself is not saved.
    started = time.monotonic()
    lumora.press(dialog, START)
    wait_until(lambda: controls(lumora, dialog, REMAINING)[REMAINING]["visible"] == "1", timeout=10)
    remaining = seconds(text(lumora, dialog, REMAINING))
    assert seconds(left) - 1 - (time.monotonic() - started) <= remaining <= seconds(left), (left, remaining)
    # Opened again while it runs, the dialog shows the countdown.
    lumora.press(dialog, IDCANCEL)
    lumora.wait_gone(TIMER, timeout=10)
    dialog = open_dialog(lumora)
    shown = controls(lumora, dialog, LABEL, START, TIME)
    assert (shown[LABEL]["title"], shown[START]["title"], shown[TIME]["visible"]) == ("残り時間:", "停止(&S)", "0")
    assert round(float(timer_key(lumora, "Time")) / SECOND) == seconds(left)


def test_an_edit_keeps_what_the_section_got_while_the_dialog_was_open(lumora):
    """An edit hands the master the [Timer] section as it stands now, not as the dialog found it."""
    dialog = start(lumora, "Time=0\nNotifyType=0\nProgram=before.exe\n")
    assert lumora.copydata(APPLY_SETTINGS, "[Timer]\nNotifyType=2\nProgram=after.exe\n") == 1
    # There is no OK button: OK leaves the dialog as it is.
    lumora.send(dialog, WM_COMMAND, IDOK)
    lumora.post(dialog, WM_COMMAND, PRESET_90_MINUTES)
    wait_until(lambda: text(lumora, dialog, TIME) == "01:30.00", timeout=10)
    assert [int(w["hwnd"]) for w in lumora.all_windows(TIMER)] == [dialog]
    assert abs(float(timer_key(lumora, "Time")) - 90 / 1440) < SECOND / 10
    written = lumora.read_settings()
    assert "\nNotifyType=2" in written and "\nProgram=after.exe" in written, written


def seconds(shown: str) -> int:
    """Seconds of an "HH:mm.ss" text."""
    hours, rest = shown.split(":")
    minutes, secs = rest.split(".")
    return int(hours) * 3600 + int(minutes) * 60 + int(secs)


def test_the_collapsed_and_expanded_heights_follow_a_move_to_a_monitor_of_another_dpi(lumora):
    """Wine sends no WM_DPICHANGED: the test sends what Windows sends when the dialog reaches a
    monitor at 150 %. The heights were measured at 100 %."""
    dialog = start(lumora, "Time=0\nOption=0\n")
    details = int(controls(lumora, dialog, DETAILS)[DETAILS]["hwnd"])

    def settled() -> int | None:
        """The height once the dialog has stopped growing or shrinking."""
        height = lumora.info(dialog).height
        return height if stays(lambda: lumora.info(dialog).height == height, 0.5) else None

    collapsed = settled()
    lumora.send(details, BM_CLICK)
    expanded = wait_until(lambda: (h := settled()) and h > collapsed + 100 and h, timeout=10)
    lumora.send(details, BM_CLICK)
    wait_until(lambda: settled() == collapsed, timeout=10)

    rect = lumora.info(dialog).rect
    scaled = (rect[0], rect[1], rect[0] + (rect[2] - rect[0]) * 3 // 2, rect[1] + collapsed * 3 // 2)
    assert lumora.driver.dpi_changed(dialog, 144, scaled) == 0
    lumora.send(details, BM_CLICK)
    wait_until(lambda: settled() == (expanded * 3 + 1) // 2, timeout=10)
    lumora.send(details, BM_CLICK)
    wait_until(lambda: settled() == (collapsed * 3 + 1) // 2, timeout=10)


OPERATIONS = ["(なし)", "プログラムを実行する", "Windows をシャットダウンする", "Windows をスタンバイする",
              "Windows を休止する"]


def operation_list(lumora, dialog: int) -> list[str]:
    """The operation list's entries, read one selection at a time; the first is selected again."""
    combo = int(controls(lumora, dialog, OPERATION)[OPERATION]["hwnd"])
    entries = []
    for index in range(lumora.send(combo, CB_GETCOUNT)):
        lumora.send(combo, CB_SETCURSEL, index)
        entries.append(lumora.driver.get_text(combo))
    lumora.send(combo, CB_SETCURSEL, 0)
    return entries


# Wine reports sleep (S1) and hibernation; the faults make the computer one of modern standby,
# whose sleep no program can ask for, or one with hibernation switched off.
@pytest.mark.parametrize("faults, missing", [
    ("", []),
    ("modern-standby", ["Windows をスタンバイする"]),
    ("no-hibernate", ["Windows を休止する"]),
    ("modern-standby,no-hibernate", ["Windows をスタンバイする", "Windows を休止する"]),
], ids=["wine", "modern-standby", "no-hibernate", "neither"])
def test_the_operations_offered_are_those_the_computer_has(lumora, faults, missing):
    lumora.write_settings("[Boot]\nShowSplash=0\n[Timer]\nOption=1\n")
    lumora.start(env={**HOOKS, "LUMORA_FAULT": faults})
    lumora.wait_window(CLOCK, timeout=15)
    dialog = open_dialog(lumora)
    entries = operation_list(lumora, dialog)
    assert entries == [entry for entry in OPERATIONS if entry not in missing]
    # The last entry is the operation it names: the rows that operation shows, and no note that
    # the computer lacks it.
    choose(lumora, dialog, OPERATION, len(entries) - 1)
    shown = controls(lumora, dialog, PROGRAM, FORCE, NOTE)
    shutdown = entries[-1] == "Windows をシャットダウンする"
    assert [shown[c]["visible"] for c in (PROGRAM, FORCE, NOTE)] == ["0", "1" if shutdown else "0", "0"]
