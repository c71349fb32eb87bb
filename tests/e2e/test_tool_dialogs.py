"""The world clock and the opacity: each dialog exists once, its changes reach the clock at once,
and Cancel or the close box puts them back; a zone of the system's list, found again by its name,
in a list of twelve rows; the about box and its size."""
import pytest

from face_kit import grab, wine_path
from ids import (BM_CLICK, CB_GETCOUNT, CB_GETITEMHEIGHT, CB_SHOWDROPDOWN, COMMAND, HTCLIENT, IDCANCEL, IDC_AB_TRACK,
                 IDC_WC_BACK, IDC_WC_ZONES, IDOK, VK_END, VK_ESCAPE, WM_CLOSE, WM_COMMAND, WM_KEYDOWN,
                 WM_NCHITTEST, WM_RBUTTONDOWN, WM_RBUTTONUP)
from kit import icon_texts
from lumora import MASTER_CLASS, wait_until

CLOCK, DIALOG = "TLumoraForm", "TWorldClockForm"
DESCRIBE_MENU = 9
NOON = "@2026-01-05 12:00:00"


def start(lumora, ini: str) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nTaskTrayToolTipFormat=\"WC \"hh\n" + ini)
    lumora.start(faketime=NOON)
    lumora.wait_window(CLOCK, timeout=15)


def shown_hour(lumora) -> int:
    """The displayed hour, as the icon's tooltip tells it once a second."""
    texts = wait_until(lambda: icon_texts(lumora, "WC "), timeout=10)
    return int(texts[0][3:])


def open_dialog(lumora, command: int = COMMAND.WorldClock, cls: str = DIALOG) -> int:
    lumora.post(MASTER_CLASS, WM_COMMAND, command)
    dialog = lumora.wait_window(cls)
    wait_until(lambda: lumora.info(dialog).visible, timeout=10)
    return dialog


def child(lumora, dialog: int, control_id: int) -> int:
    return next(int(c["hwnd"]) for c in lumora.driver.children(dialog) if int(c["id"]) == control_id)


@pytest.mark.parametrize("close", [IDCANCEL, IDOK], ids=["cancel", "ok"])
def test_a_change_reaches_the_clock_at_once_and_cancel_takes_it_back(lumora, close):
    start(lumora, "[WorldClock]\nTimeDiffTime=0.125\n")  # three hours ahead
    wait_until(lambda: shown_hour(lumora) == 15, timeout=10)
    dialog = open_dialog(lumora)
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.WorldClock) == 0  # a second one only comes forward
    assert [int(w["hwnd"]) for w in lumora.all_windows(DIALOG)] == [dialog]
    lumora.post(child(lumora, dialog, IDC_WC_BACK), BM_CLICK)
    wait_until(lambda: shown_hour(lumora) == 9, timeout=10)  # three hours behind

    lumora.post(dialog, WM_COMMAND, close)
    lumora.wait_gone(DIALOG)
    wait_until(lambda: shown_hour(lumora) == (15 if close == IDCANCEL else 9), timeout=10)
    expected = "TimeDiffTime=0.125" if close == IDCANCEL else "TimeDiffTime=-0.125"
    assert expected in lumora.exit_and_read_settings()


def test_the_close_box_takes_a_change_back_as_cancel_does(lumora):
    start(lumora, "[WorldClock]\nTimeDiffTime=0.125\n")
    dialog = open_dialog(lumora)
    lumora.post(child(lumora, dialog, IDC_WC_BACK), BM_CLICK)
    wait_until(lambda: shown_hour(lumora) == 9, timeout=10)
    lumora.post(dialog, WM_CLOSE)
    lumora.wait_gone(DIALOG)
    wait_until(lambda: shown_hour(lumora) == 15, timeout=10)
    assert "TimeDiffTime=0.125" in lumora.exit_and_read_settings()


def test_a_zone_is_found_again_by_its_name(lumora):
    # A stale position, and the name of the zone at UTC: the name wins.
    start(lumora, "[WorldClock]\nWorldClockMode=1\nTimeZone=1\nTimeZoneName=UTC\nWorldClockTime=0\n")
    dialog = open_dialog(lumora)
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(DIALOG)
    written = lumora.exit_and_read_settings()
    assert "TimeZoneName=UTC" in written and "\nTimeZone=1\n" not in written


@pytest.mark.parametrize("close", [IDCANCEL, IDOK], ids=["cancel", "ok"])
def test_the_opacity_slider_acts_at_once_and_cancel_restores_it(lumora, close):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start()
    lumora.wait_window(CLOCK, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    lumora.move_tray_aside()
    face = lambda: set(grab(lumora, lumora.info(CLOCK).rect, "face.png").getdata())  # noqa: E731
    assert (255, 255, 255) in face()
    dialog = open_dialog(lumora, COMMAND.AlphaBlend, "TAlphaBlendForm")
    lumora.post(child(lumora, dialog, IDC_AB_TRACK), WM_KEYDOWN, VK_END)  # far right: clear
    wait_until(lambda: (255, 255, 255) not in face(), timeout=10)
    lumora.post(dialog, WM_COMMAND, close)
    lumora.wait_gone("TAlphaBlendForm")
    if close == IDCANCEL:
        wait_until(lambda: (255, 255, 255) in face(), timeout=10)
    written = lumora.exit_and_read_settings()
    assert ("\nAlphaBlend=255" if close == IDCANCEL else "\nAlphaBlend=0") in written


def test_the_about_box_exists_once(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start()
    lumora.wait_window(CLOCK, timeout=15)
    about = open_dialog(lumora, COMMAND.About, "TAboutForm")
    # Sent, so the second command has been handled when the boxes are counted.
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.About) == 0
    assert [int(w["hwnd"]) for w in lumora.all_windows("TAboutForm")] == [about]
    texts = [c["title"] for c in lumora.driver.children(about)]
    assert "Lumora バージョン 1.13" in texts
    lumora.post(about, WM_COMMAND, IDOK)
    lumora.wait_gone("TAboutForm")
    lumora.answers()


def test_a_dialog_greys_its_command_while_it_is_open(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nTaskTrayToolTipFormat=\"WC menu\"\n")
    lumora.start(env={"LUMORA_TEST_HOOKS": "1"})
    lumora.wait_window(CLOCK, timeout=15)
    icon = lumora.tray_icon("WC menu")

    def world_clock_item() -> str:
        lumora.post(icon, WM_RBUTTONDOWN, 2, 0)
        lumora.post(icon, WM_RBUTTONUP, 0, 0)
        wait_until(lambda: any(lumora.info(int(w["hwnd"])).visible for w in lumora.all_windows("#32768")), timeout=10)
        described = lumora.folder / "menu.txt"
        assert wait_until(lambda: lumora.copydata(DESCRIBE_MENU, wine_path(described)) == 1, timeout=10)
        lumora.press_key(VK_ESCAPE)
        wait_until(lambda: not any(lumora.info(int(w["hwnd"])).visible for w in lumora.all_windows("#32768")),
                   timeout=10)
        return next(line for line in described.read_text(encoding="utf-8").splitlines() if "id=105 " in line)

    assert not world_clock_item().endswith("disabled")
    dialog = open_dialog(lumora)
    assert world_clock_item().endswith("disabled")
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(DIALOG)
    assert not world_clock_item().endswith("disabled")


def test_the_zone_list_opens_twelve_rows_high(lumora):
    start(lumora, "[WorldClock]\nWorldClockMode=1\n")
    dialog = open_dialog(lumora)
    combo = child(lumora, dialog, IDC_WC_ZONES)
    assert lumora.send(combo, CB_GETCOUNT) > 12, "the system lists more zones than the rows shown"
    row = lumora.send(combo, CB_GETITEMHEIGHT, 0)
    lumora.post(combo, CB_SHOWDROPDOWN, 1)
    drop_down = wait_until(lambda: next((lumora.info(int(w["hwnd"])) for w in lumora.all_windows("ComboLBox")
                                         if lumora.info(int(w["hwnd"])).visible), None), timeout=10)
    assert drop_down.height == 12 * row + 2, (drop_down.rect, row)  # a row's height each, and a border
    lumora.post(combo, CB_SHOWDROPDOWN, 0)
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(DIALOG)


def client_size(lumora, window: int) -> tuple[int, int]:
    """The client area's size, found by asking the window which of its points are client points:
    the frame is as wide on the left, the right and the bottom, the caption is above."""
    left, top, right, bottom = lumora.info(window).rect
    middle = (left + right) // 2, (top + bottom) // 2

    def first_client(low: int, high: int, at) -> int:  # the points from low to high turn client once
        while low < high:
            probe = (low + high) // 2
            if lumora.send(window, WM_NCHITTEST, 0, at(probe)) == HTCLIENT:
                high = probe
            else:
                low = probe + 1
        return low

    client_left = first_client(left, middle[0], lambda x: (middle[1] & 0xFFFF) << 16 | (x & 0xFFFF))
    client_top = first_client(top, middle[1], lambda y: (y & 0xFFFF) << 16 | (middle[0] & 0xFFFF))
    frame = client_left - left
    return right - left - 2 * frame, bottom - frame - client_top


def test_the_about_box_has_its_size(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start()
    lumora.wait_window(CLOCK, timeout=15)
    about = open_dialog(lumora, COMMAND.About, "TAboutForm")
    assert client_size(lumora, about) == (322, 153)
    ok = next(c for c in lumora.driver.children(about) if int(c["id"]) == IDOK)
    ok_right, ok_bottom = (int(v) for v in ok["rect"].split(",")[2:])
    right, bottom = lumora.info(about).rect[2:]
    assert ok_right < right and ok_bottom < bottom, "OK lies inside the box"
    lumora.post(about, WM_COMMAND, IDOK)
    lumora.wait_gone("TAboutForm")
