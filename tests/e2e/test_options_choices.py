"""Choices made in the options dialog as the user makes them: a server taken from its list by the
keyboard, choices the dialog refuses, the caption page's sound picker and preview, an Apply that ends a
temporary display, a delay field emptied after its arrows moved it, and the font that stands in for
a missing one."""
import re
import struct

import pytest

from face_kit import wine_path
from ids import (CB_GETCURSEL, CB_GETDROPPEDSTATE, IDCANCEL, IDC_ADJ_METHOD, IDC_ADJ_NTP, IDC_ADJ_NTP_ADD,
                 IDC_ADJ_NTP_DELETE, IDC_BOOT_DELAY_VALUE, IDC_BOOT_PRIORITY, IDC_MENU_ICON_CHECK,
                 IDC_TELOP_FONT_COMBO, IDC_TELOP_SOUND_BROWSE, IDC_TELOP_SOUND_PREVIEW, IDNO, IDOK, VK_DOWN, VK_F4,
                 VK_RETURN, VK_UP, WM_COMMAND, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_NEXTDLGCTL)
from kit import week, write_sine
from lumora import capture, wait_until
from options_kit import click as click_box, post_click, press_apply, show_page
from test_options import CLOCK, DIALOG, apply_enabled, child, choose, open_options, page, start
from test_options_pickers import sound_dialog

ADJUST, BOOT, TELOP, MENU = 13, 14, 9, 10
METRICS_KEY = r"HKCU\Control Panel\Desktop\WindowMetrics"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}


def test_a_server_chosen_from_the_list_counts_at_once(lumora):
    start(lumora, f"[View]\nOptionSelectedTab={ADJUST}\n[AdjustClock]\nAdjustType=1\nCurrentNTPServer=z.example\n"
                  "LastConnectedTime=46000\n[NTPServer]\nServer1=b.example\nServer2=c.example\n")
    dialog = open_options(lumora)
    adjust = page(lumora, dialog, ADJUST)
    combo = child(lumora, adjust, IDC_ADJ_NTP)
    add, delete = child(lumora, adjust, IDC_ADJ_NTP_ADD), child(lumora, adjust, IDC_ADJ_NTP_DELETE)
    assert lumora.info(add).enabled and not lumora.info(delete).enabled  # a name not on the list
    # The list opened with F4, an entry taken with the arrow key and Enter, as the user does.
    lumora.send(dialog, WM_NEXTDLGCTL, combo, 1)
    lumora.press_key(VK_F4)
    wait_until(lambda: lumora.send(combo, CB_GETDROPPEDSTATE) == 1, timeout=10)
    lumora.press_key(VK_DOWN)
    lumora.press_key(VK_RETURN)
    wait_until(lambda: lumora.send(combo, CB_GETDROPPEDSTATE) == 0, timeout=10)
    chosen = lumora.driver.get_text(combo)
    assert chosen in ("b.example", "c.example")
    # On the list now: 追加 goes off and 削除 on with nothing more typed.
    wait_until(lambda: not lumora.info(add).enabled and lumora.info(delete).enabled, timeout=10)
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(DIALOG)
    written = lumora.exit_and_read_settings()
    assert "CurrentNTPServer=z.example\r\n" in written
    assert "LastConnectedTime=46000" not in written  # another server was chosen, even if cancelled


def test_refused_choices_leave_apply_as_it_was(lumora):
    start(lumora, f"[View]\nOptionSelectedTab={ADJUST}\n[AdjustClock]\nAdjustType=1\n")
    dialog = open_options(lumora)
    adjust = page(lumora, dialog, ADJUST)
    assert not apply_enabled(lumora, dialog)
    choose(lumora, adjust, IDC_ADJ_METHOD, 3)  # "電波時計", and the prefix has no serial port
    box = lumora.msgbox(timeout=15)
    assert box.text.startswith("システムにシリアル ポートがないため")
    lumora.press(box, IDOK)
    wait_until(lambda: lumora.send(child(lumora, adjust, IDC_ADJ_METHOD), CB_GETCURSEL) == 1, timeout=10)
    assert not apply_enabled(lumora, dialog)

    boot = show_page(lumora, dialog, BOOT)
    choose(lumora, boot, IDC_BOOT_PRIORITY, 4)  # "高い", answered No
    box = lumora.msgbox(timeout=15)
    lumora.press(box, IDNO)
    wait_until(lambda: lumora.send(child(lumora, boot, IDC_BOOT_PRIORITY), CB_GETCURSEL) == 0, timeout=10)
    assert not apply_enabled(lumora, dialog)
    lumora.post(dialog, WM_COMMAND, IDOK)  # nothing to apply: OK closes at once
    lumora.wait_gone(DIALOG)


def test_the_caption_sound_picker_belongs_to_the_dialog(lumora, tmp_path, null_sound):
    sound = tmp_path / "long.wav"
    write_sine(sound, 40.0)
    start(lumora, f"[View]\nOptionSelectedTab={TELOP}\n[Telop]\nSound=1\nSoundFile={wine_path(sound)}\n",
          env={**HOOKS, **null_sound})
    dialog = open_options(lumora)
    telop = page(lumora, dialog, TELOP)
    post_click(lumora, telop, IDC_TELOP_SOUND_PREVIEW)
    wait_until(lumora.playing, timeout=10)
    # Opening the picker stops the page's preview, as the dialog's own pickers do.
    post_click(lumora, telop, IDC_TELOP_SOUND_BROWSE)
    picker = sound_dialog(lumora)
    wait_until(lambda: not lumora.playing(), timeout=5)  # it had many seconds to go
    lumora.post(picker, WM_COMMAND, IDCANCEL)
    wait_until(lambda: not lumora.find_window("#32770", "サウンドの選択"), timeout=10)
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(DIALOG)


def test_a_preview_stopped_by_a_click_on_the_icon_says_so_on_its_button(lumora, tmp_path, null_sound):
    sound = tmp_path / "long.wav"
    write_sine(sound, 40.0)
    start(lumora, f"[View]\nOptionSelectedTab={TELOP}\nTaskTrayToolTipFormat=\"CHOICES stop\"\nShowCalendar=0\n"
                  f"[Telop]\nSound=1\nSoundFile={wine_path(sound)}\n", env={**HOOKS, **null_sound})
    dialog = open_options(lumora)
    button = child(lumora, page(lumora, dialog, TELOP), IDC_TELOP_SOUND_PREVIEW)
    post_click(lumora, page(lumora, dialog, TELOP), IDC_TELOP_SOUND_PREVIEW)
    wait_until(lumora.playing, timeout=10)
    wait_until(lambda: lumora.driver.get_text(button) == "停止", timeout=10)
    # A click on the icon stops every sound; the preview's button reads 試聴 again at once.
    icon = lumora.tray_icon("CHOICES stop")
    lumora.post(icon, WM_LBUTTONDOWN, 1, 0)
    lumora.post(icon, WM_LBUTTONUP, 0, 0)
    wait_until(lambda: not lumora.playing(), timeout=10)
    wait_until(lambda: lumora.driver.get_text(button) == "試聴", timeout=10)
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(DIALOG)


def test_an_apply_ends_a_temporary_display(lumora):
    start(lumora, f"[View]\nVisibleHours={week('0')}\nAutoHideTime=60\nTaskTrayToolTipFormat=\"CHOICES click\"\n"
                  f"ShowCalendar=0\nOptionSelectedTab={MENU}\n")
    icon = lumora.tray_icon("CHOICES click")
    assert not lumora.info(CLOCK).visible
    lumora.post(icon, WM_LBUTTONDOWN, 1, 0)
    lumora.post(icon, WM_LBUTTONUP, 0, 0)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)  # shown for a minute
    dialog = open_options(lumora)
    # A change that has nothing to do with showing or hiding.
    click_box(lumora, page(lumora, dialog, MENU), IDC_MENU_ICON_CHECK)
    wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
    press_apply(lumora, dialog)
    wait_until(lambda: not lumora.info(CLOCK).visible, timeout=15)


def test_an_emptied_delay_takes_the_position_its_arrows_reached(lumora):
    start(lumora, f"[View]\nOptionSelectedTab={BOOT}\n[Boot]\nBootDelay=1\nBootDelayValue=500\n")
    dialog = open_options(lumora)
    boot = page(lumora, dialog, BOOT)
    field = child(lumora, boot, IDC_BOOT_DELAY_VALUE)
    lumora.send(dialog, WM_NEXTDLGCTL, field, 1)
    lumora.press_key(VK_UP)  # the arrow key steps the up-down by 100
    wait_until(lambda: lumora.driver.get_text(field) == "600", timeout=10)
    lumora.driver.set_text(field, "")
    wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
    press_apply(lumora, dialog)
    assert lumora.driver.get_text(field) == "600"
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(DIALOG)
    assert "BootDelayValue=600\r\n" in lumora.exit_and_read_settings()


def reg(lumora, *args: str) -> None:
    result = capture(["wine", "reg", *args], lumora.session.env, 60)
    assert result.returncode == 0, result.stderr


@pytest.fixture
def other_message_font(lumora):
    """The system's message font set to a face the dialog font does not use, for the program the
    test starts (a program reads it once), and taken away again after it."""
    face = "DejaVu Sans"
    logfont = struct.pack("<5l8B64s", -12, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0,
                          face.encode("utf-16-le").ljust(64, b"\0"))
    query = capture(["wine", "reg", "query", METRICS_KEY, "/v", "MessageFont"], lumora.session.env, 60)
    found = re.search(r"MessageFont\s+REG_BINARY\s+([0-9A-Fa-f]+)", query.stdout.decode("utf-8", "replace"))
    reg(lumora, "add", METRICS_KEY, "/v", "MessageFont", "/t", "REG_BINARY", "/d", logfont.hex(), "/f")
    try:
        yield face
    finally:
        if found:
            reg(lumora, "add", METRICS_KEY, "/v", "MessageFont", "/t", "REG_BINARY", "/d", found.group(1), "/f")
        else:
            reg(lumora, "delete", METRICS_KEY, "/v", "MessageFont", "/f")


def test_a_missing_font_shows_as_the_lists_own_font(lumora, other_message_font):
    start(lumora, f"[View]\nOptionSelectedTab={TELOP}\n[Telop]\nFontName=No Such Font Anywhere\n")
    box = child(lumora, page(lumora, open_options(lumora), TELOP), IDC_TELOP_FONT_COMBO)
    assert lumora.send(box, CB_GETCURSEL) >= 0
    assert lumora.driver.get_text(box) not in ("", other_message_font)
