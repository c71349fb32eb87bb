"""The options dialog: one at a time, the tree's navigation, Apply reaching the clock at once,
OK and Cancel, the settings file's folder, the priority warning, bad input and DPI."""
import pytest

from face_kit import grab
from ids import (CBN_SELCHANGE, CB_GETCURSEL, CB_SETCURSEL, COMMAND, IDCANCEL, IDC_ADJ_NTP, IDC_BOOT_LOCATION,
                 IDC_BOOT_PRIORITY, IDC_DIGIT_STYLE, IDC_OPTION_APPLY, IDC_OPTION_TREE, IDNO, IDOK, IDYES, TVGN_CARET,
                 TVGN_NEXTVISIBLE, TVGN_ROOT, TVM_GETNEXTITEM, TVM_SELECTITEM, VK_DOWN, VK_UP, WM_CHAR, WM_COMMAND,
                 WM_NEXTDLGCTL)
from kit import stays
from lumora import MASTER_CLASS, wait_until

CLOCK, DIALOG = "TLumoraForm", "TOptionForm"
PAGES, PAGE_ID = 16, 100  # a page's child dialog has the id PAGE_ID + its index


def start(lumora, ini: str = "", env: dict | None = None) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env=env)
    lumora.wait_window(CLOCK, timeout=15)


def open_options(lumora) -> int:
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Option)
    dialog = lumora.wait_window(DIALOG)
    wait_until(lambda: lumora.info(dialog).visible, timeout=10)
    return dialog


def child(lumora, window: int, control_id: int) -> int:
    return next(int(c["hwnd"]) for c in lumora.driver.children(window) if int(c["id"]) == control_id)


def page(lumora, dialog: int, index: int) -> int:
    """The page's child dialog; the dialog makes it when it is first shown."""
    return wait_until(lambda: next((int(c["hwnd"]) for c in lumora.driver.children(dialog)
                                    if int(c["id"]) == PAGE_ID + index and c["class"] == "#32770"), None))


def shown_page(lumora, dialog: int) -> int:
    shown = [int(c["id"]) - PAGE_ID for c in lumora.driver.children(dialog)
             if c["class"] == "#32770" and c["visible"] == "1"]
    assert len(shown) == 1, shown
    return shown[0]


def choose(lumora, window: int, control_id: int, entry: int) -> None:
    """Selects a drop-down entry as the user does: the box reports the change to its page."""
    box = child(lumora, window, control_id)
    lumora.send(box, CB_SETCURSEL, entry)
    lumora.post(window, WM_COMMAND, (CBN_SELCHANGE << 16) | control_id, box)


def apply_enabled(lumora, dialog: int) -> bool:
    return lumora.info(child(lumora, dialog, IDC_OPTION_APPLY)).enabled


def test_a_second_start_opens_the_dialog_and_a_third_brings_it_forward(lumora):
    start(lumora)
    assert lumora.spawn([str(lumora.exe)]).wait(timeout=15) == 0
    dialog = lumora.wait_window(DIALOG)
    wait_until(lambda: lumora.info(dialog).visible, timeout=10)
    assert lumora.spawn([str(lumora.exe)]).wait(timeout=15) == 0
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.Option)  # handled when the send returns
    assert stays(lambda: len(lumora.all_windows(DIALOG)) == 1, 1.5)


def test_the_tree_never_leaves_a_group_selected_and_ok_keeps_the_page(lumora):
    start(lumora, "[View]\nOptionSelectedTab=3\n")
    dialog = open_options(lumora)
    assert shown_page(lumora, dialog) == 3
    lumora.send(dialog, WM_NEXTDLGCTL, child(lumora, dialog, IDC_OPTION_TREE), 1)
    # Down from the last design page lands on the group "表示" and walks on to its first page;
    # Up from there lands on the group again and, the key being held, walks back up.
    for key, expected in ((VK_DOWN, 4), (VK_UP, 3), (VK_DOWN, 4), (VK_UP, 3), (VK_UP, 2)):
        lumora.press_key(key)
        wait_until(lambda: shown_page(lumora, dialog) == expected, timeout=10)
    assert not apply_enabled(lumora, dialog)
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(DIALOG)
    assert "OptionSelectedTab=2" in lumora.exit_and_read_settings()


def test_apply_changes_the_digit_style_at_once(lumora):
    start(lumora, "[View]\nOptionSelectedTab=0\n[Design]\nDigitType=0\nDigitStyle=0\n")
    clock = lumora.info(CLOCK)
    before = grab(lumora, clock.rect, "before.png")
    dialog = open_options(lumora)
    lumora.driver.move(dialog, 300, 200)  # clear of the clock
    choose(lumora, page(lumora, dialog, 0), IDC_DIGIT_STYLE, 2)
    wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
    wait_until(lambda: not apply_enabled(lumora, dialog), timeout=10)
    clock = lumora.info(CLOCK)
    after = wait_until(lambda: (lambda shot: shot if shot.tobytes() != before.tobytes() else None)(
        grab(lumora, clock.rect, "after.png")), timeout=10)
    assert after.size != before.size or after.tobytes() != before.tobytes()
    assert "DigitStyle=2" in lumora.exit_and_read_settings()


def test_cancel_after_typing_another_ntp_server_still_forgets_the_last_contact(lumora):
    start(lumora, "[View]\nOptionSelectedTab=13\n[AdjustClock]\nAdjustType=1\n"
                  "CurrentNTPServer=ntp.example\nLastConnectedTime=46000\n")
    dialog = open_options(lumora)
    combo = child(lumora, page(lumora, dialog, 13), IDC_ADJ_NTP)
    edit = next(int(c["hwnd"]) for c in lumora.driver.children(combo) if c["class"] == "Edit")
    lumora.send(edit, WM_CHAR, ord("x"))
    wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(DIALOG)
    written = lumora.exit_and_read_settings()
    assert "CurrentNTPServer=ntp.example\r\n" in written
    assert "LastConnectedTime=46000" not in written


def test_moving_the_settings_file_to_application_data_and_reading_it_there(lumora):
    start(lumora, "[View]\nOptionSelectedTab=14\nAlphaBlend=201\n")
    dialog = open_options(lumora)
    choose(lumora, page(lumora, dialog, 14), IDC_BOOT_LOCATION, 1)
    wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
    box = lumora.msgbox(timeout=15)
    assert set(box.buttons) == {IDYES, IDNO} and box.text.startswith("設定ファイルの保存場所が変更されました。")
    lumora.press(box, IDYES)
    wait_until(lumora.appdata_settings_path.exists, timeout=10)
    assert not lumora.settings_path.exists()
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.close()
    assert lumora.wait_exit(timeout=15) == 0
    assert "AlphaBlend=201" in lumora.read_settings(path=lumora.appdata_settings_path)

    lumora.start()  # no local file now: the one in the application-data folder is read
    lumora.wait_window(CLOCK, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    dialog = open_options(lumora)
    assert lumora.send(child(lumora, page(lumora, dialog, 14), IDC_BOOT_LOCATION), CB_GETCURSEL) == 1


@pytest.mark.parametrize("answer", [IDNO, IDYES])
def test_a_high_priority_is_confirmed_first(lumora, answer):
    start(lumora, "[View]\nOptionSelectedTab=14\n")
    dialog = open_options(lumora)
    boot = page(lumora, dialog, 14)
    before = lumora.send(child(lumora, boot, IDC_BOOT_PRIORITY), CB_GETCURSEL)
    assert lumora.priority() == "idle" and before == 0  # the default class and its entry
    choose(lumora, boot, IDC_BOOT_PRIORITY, 4)  # "高い"
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora" and "'高い'" in box.text
    lumora.press(box, answer)
    if answer == IDNO:
        wait_until(lambda: lumora.send(child(lumora, boot, IDC_BOOT_PRIORITY), CB_GETCURSEL) == before, timeout=10)
        assert lumora.priority() == "idle"
    else:
        lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
        wait_until(lambda: lumora.priority() == "high", timeout=10)


def tree_items(lumora, dialog: int) -> list[int]:
    """The tree's rows from the top (it is always fully expanded)."""
    tree = child(lumora, dialog, IDC_OPTION_TREE)
    items = [lumora.send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)]
    while following := lumora.send(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, items[-1]):
        items.append(following)
    return items


def select_page(lumora, dialog: int, index: int, items: list[int]) -> int:
    """Selects the page's row as a click would (the groups "デザイン" and "表示" sit above pages 0
    and 4) and returns the page's window once it shows."""
    lumora.send(child(lumora, dialog, IDC_OPTION_TREE), TVM_SELECTITEM, TVGN_CARET,
                items[index + (1 if index < 4 else 2)])

    def shown():
        return next((int(c["hwnd"]) for c in lumora.driver.children(dialog) if c["class"] == "#32770"
                     and c["visible"] == "1" and int(c["id"]) == PAGE_ID + index), None)
    return wait_until(shown, timeout=10)


def test_bad_numbers_fall_back_and_the_file_loads_back(lumora):
    start(lumora, "[View]\nOptionSelectedTab=0\n")
    dialog = open_options(lumora)
    items = tree_items(lumora, dialog)
    for index in range(PAGES):  # every page made
        select_page(lumora, dialog, index, items)
    for typed in ("-", "abc", "", "9" * 300):
        lumora.driver.set_text_all(dialog, typed)
        wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
        lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
        wait_until(lambda: not apply_enabled(lumora, dialog), timeout=15)
        assert lumora.running
    written = lumora.exit_and_read_settings()
    assert "OptionSelectedTab=15\r\n" in written  # the last page shown: a default would not bring it back
    lumora.start()  # the loader takes it without a word
    lumora.wait_window(CLOCK, timeout=15)
    lumora.expect_absent("#32770", 3)
    # Written again at this exit: the same keys and values (a list section the writer renumbers
    # moves to the end).
    assert sorted(lumora.exit_and_read_settings().splitlines()) == sorted(written.splitlines())


def rect_of(fields: dict[str, str]) -> tuple[int, ...]:
    return tuple(int(v) for v in fields["rect"].split(","))


def assert_page_fits(lumora, dialog: int, index: int, items: list[int], shots: str) -> None:
    """Every control of the page lies within the page; the dialog as it shows goes to a file."""
    holder = select_page(lumora, dialog, index, items)
    left, top, right, bottom = lumora.info(holder).rect
    for control in lumora.driver.children(holder):
        if control["visible"] == "1" and control["class"] != "ComboLBox":
            l, t, r, b = rect_of(control)
            assert left <= l and top <= t and r <= right and b <= bottom, (index, control)
    rect = lumora.info(dialog).rect
    grab(lumora, rect, f"{shots}-page{index:02d}.png")


# Settings that show most controls: the cuckoo's files and the NTP fields.
BUSY_PAGES = "[View]\nOptionSelectedTab=0\n[CuckooClock]\nCuckooClockMode=1\n[AdjustClock]\nAdjustType=1\n"


def test_every_page_fits_its_place(lumora):
    start(lumora, BUSY_PAGES)
    dialog = open_options(lumora)
    lumora.driver.move(dialog, 20, 20)
    items = tree_items(lumora, dialog)
    for index in range(PAGES):
        assert_page_fits(lumora, dialog, index, items, "96dpi")


@pytest.fixture
def dpi_144(wine_session):
    """Wine's screen at 144 DPI for the test, as the user's display setting makes it."""
    with wine_session.screen_dpi(144):
        yield


def test_pages_fit_at_144_dpi(lumora, dpi_144):
    start(lumora, BUSY_PAGES)
    dialog = open_options(lumora)
    lumora.driver.move(dialog, 0, 0)
    assert lumora.info(dialog).width > 700  # the dialog units follow the larger system font
    items = tree_items(lumora, dialog)
    for index in (0, 12, 13):
        assert_page_fits(lumora, dialog, index, items, "144dpi")


def test_a_move_to_a_monitor_of_another_dpi_scales_the_dialog(lumora):
    start(lumora, BUSY_PAGES)
    dialog = open_options(lumora)
    lumora.driver.move(dialog, 0, 0)
    before = lumora.info(dialog)
    # The system suggests the frame at the new DPI; the dialog takes that rectangle as it is.
    suggested = (10, 20, 10 + before.width * 3 // 2, 20 + before.height * 3 // 2)
    assert lumora.driver.dpi_changed(dialog, 144, suggested) == 0
    assert lumora.info(dialog).rect == suggested
    items = tree_items(lumora, dialog)
    for index in (0, 13):  # one made before the change, one after
        assert_page_fits(lumora, dialog, index, items, "moved-to-144dpi")
