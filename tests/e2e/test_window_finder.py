"""The window finder of the exclusion list: dragging the remote control onto another program's
button picks that program's window and marks it, over our own dialog it picks nothing; a new entry
is checked against the list, appended, written at exit and loads back the same for editing; with
its OK not yet enabled, the snap to the default button puts the pointer on Cancel."""
import pytest

from face_kit import grab
from ids import (BN_CLICKED, COMMAND, IDCANCEL, IDC_IGNORE_ADD, IDC_IGNORE_EDIT, IDC_IGNORE_LIST, IDC_OPTION_APPLY,
                 IDC_WF_CLASS, IDC_WF_IMAGE, IDC_WF_TITLE, IDOK, LVM_GETITEMCOUNT, VK_HOME, WM_COMMAND, WM_NEXTDLGCTL)
from lumora import MASTER_CLASS, wait_until
from test_calendar import MOUSE_KEY, registry_value, set_registry_value
from test_options import CLOCK, apply_enabled, child, open_options, page, start

FINDER, HOST_CLASS = "TWindowFinderForm", "LumoraDriverButtonHost"
# A title longer than the finder keeps, with the quotes and commas of the file's own list syntax.
LONG_TITLE = '"Quoted", with, commas ' + "x" * 977


def centre(rect: tuple[int, int, int, int]) -> tuple[int, int]:
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def open_finder(lumora, holder: int, button_id: int) -> int:
    # Posted: the page runs the finder modally inside the click.
    lumora.post(holder, WM_COMMAND, (BN_CLICKED << 16) | button_id, child(lumora, holder, button_id))
    finder = lumora.wait_window(FINDER, timeout=20)
    wait_until(lambda: lumora.info(finder).visible, timeout=10)
    return finder


def edits(lumora, finder: int) -> tuple[str, str]:
    return (lumora.driver.get_text(child(lumora, finder, IDC_WF_TITLE)),
            lumora.driver.get_text(child(lumora, finder, IDC_WF_CLASS)))


def rows(lumora, holder: int) -> int:
    return lumora.send(child(lumora, holder, IDC_IGNORE_LIST), LVM_GETITEMCOUNT)


def test_dragging_the_remote_picks_the_other_window_which_is_kept_and_loads_back(lumora):
    start(lumora, "[View]\nOptionSelectedTab=8\n")
    host, button = lumora.button_window(LONG_TITLE)
    host_rect = lumora.info(host).rect
    dialog = open_options(lumora)
    holder = page(lumora, dialog, 8)
    finder = open_finder(lumora, holder, IDC_IGNORE_ADD)
    # A strip across the host's right edge, where the mark's three pixels lie, clear of our windows.
    mid = (host_rect[1] + host_rect[3]) // 2
    strip = (host_rect[2] - 3, mid - 2, host_rect[2], mid + 2)
    before = grab(lumora, strip, "before.png")

    lumora.cursor(*centre(lumora.info(child(lumora, finder, IDC_WF_IMAGE)).rect))
    lumora.driver.mouse(True)
    try:
        lumora.cursor(*centre(lumora.info(button).rect))
        picked = (LONG_TITLE[:255], HOST_CLASS)
        wait_until(lambda: edits(lumora, finder) == picked, timeout=15)
        marked = grab(lumora, strip, "mid-drag.png")
        assert all(tuple(255 - c for c in b) == m for b, m in zip(before.getdata(), marked.getdata()))

        lumora.cursor(*centre(lumora.info(finder).rect))  # our own dialog: nothing
        wait_until(lambda: edits(lumora, finder) == ("", ""), timeout=15)
        assert grab(lumora, strip).tobytes() == before.tobytes()
        lumora.cursor(*centre(lumora.info(button).rect))
        wait_until(lambda: edits(lumora, finder) == picked, timeout=15)
    finally:
        lumora.driver.mouse(False)
    wait_until(lambda: grab(lumora, strip).tobytes() == before.tobytes(), timeout=10)
    assert edits(lumora, finder) == picked  # the last window's texts stay

    lumora.post(finder, WM_COMMAND, IDOK)
    lumora.wait_gone(FINDER, timeout=15)
    assert rows(lumora, holder) == 1 and apply_enabled(lumora, dialog)
    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
    wait_until(lambda: not apply_enabled(lumora, dialog), timeout=10)
    quoted = LONG_TITLE[:255].replace('"', '""')
    assert f'Window1="{quoted}","{HOST_CLASS}"' in lumora.exit_and_read_settings()

    # Read back: editing the row shows the same texts; OK changes the row.
    lumora.start()
    lumora.wait_window(CLOCK, timeout=15)
    dialog = open_options(lumora)
    holder = page(lumora, dialog, 8)
    lumora.send(dialog, WM_NEXTDLGCTL, child(lumora, holder, IDC_IGNORE_LIST), 1)
    lumora.press_key(VK_HOME)
    wait_until(lambda: lumora.info(child(lumora, holder, IDC_IGNORE_EDIT)).enabled, timeout=10)
    finder = open_finder(lumora, holder, IDC_IGNORE_EDIT)
    assert edits(lumora, finder) == picked
    lumora.driver.set_text(child(lumora, finder, IDC_WF_CLASS), "Edited")
    lumora.post(finder, WM_COMMAND, IDOK)
    lumora.wait_gone(FINDER, timeout=15)
    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
    wait_until(lambda: not apply_enabled(lumora, dialog), timeout=10)
    assert f'Window1="{quoted}","Edited"' in lumora.exit_and_read_settings()


def test_a_duplicate_is_refused_and_the_finder_stays_open(lumora):
    start(lumora, '[View]\nOptionSelectedTab=8\n[IgnoreWindows]\nWindow1="Dup","DupClass"\n')
    dialog = open_options(lumora)
    holder = page(lumora, dialog, 8)
    finder = open_finder(lumora, holder, IDC_IGNORE_ADD)
    ok = child(lumora, finder, IDOK)
    assert not lumora.info(ok).enabled  # nothing named yet
    lumora.driver.set_text(child(lumora, finder, IDC_WF_TITLE), "dup")
    lumora.driver.set_text(child(lumora, finder, IDC_WF_CLASS), "DUPCLASS")
    wait_until(lambda: lumora.info(ok).enabled, timeout=10)
    lumora.post(finder, WM_COMMAND, IDOK)
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora"
    assert box.text == ('ウィンドウ タイトル "dup" と、クラス名 "DUPCLASS" の組み合わせは既に指定されています。'
                        "別の組み合わせを指定してください。")
    lumora.press(box, IDOK)
    wait_until(lambda: lumora.info(finder).enabled, timeout=10)  # back from the box, still open
    lumora.post(finder, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(FINDER, timeout=15)
    assert rows(lumora, holder) == 1 and not apply_enabled(lumora, dialog)


def test_the_program_ends_cleanly_with_the_finder_open(lumora):
    """The finder runs inside the page's click; the end of the program must not free the page
    while that click still runs (it crashed on the way out)."""
    start(lumora, "[View]\nOptionSelectedTab=8\n")
    dialog = open_options(lumora)
    open_finder(lumora, page(lumora, dialog, 8), IDC_IGNORE_ADD)
    before = lumora.settings_path.stat().st_mtime_ns
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Exit)
    assert lumora.wait_exit(timeout=20) == 0
    assert lumora.settings_path.stat().st_mtime_ns != before, "the settings file was not written at exit"
    assert "OptionSelectedTab=8" in lumora.read_settings()


@pytest.fixture
def snap_to_default_button(lumora):
    """The system's snap of the pointer to a new dialog's default button, on for the program the
    test starts and put back after it."""
    before = registry_value(lumora, MOUSE_KEY, "SnapToDefaultButton")
    set_registry_value(lumora, MOUSE_KEY, "SnapToDefaultButton", "1")
    try:
        yield
    finally:
        set_registry_value(lumora, MOUSE_KEY, "SnapToDefaultButton", before)


def test_with_ok_still_disabled_the_pointer_snaps_to_cancel(lumora, snap_to_default_button):
    start(lumora, "[View]\nOptionSelectedTab=8\n")
    dialog = open_options(lumora)
    holder = page(lumora, dialog, 8)
    lumora.cursor(5, 5)  # away from where the finder opens
    finder = open_finder(lumora, holder, IDC_IGNORE_ADD)
    assert not lumora.info(child(lumora, finder, IDOK)).enabled
    cancel = centre(lumora.info(child(lumora, finder, IDCANCEL)).rect)
    assert wait_until(lambda: lumora.cursor() == cancel, timeout=10)
    lumora.post(finder, WM_COMMAND, IDCANCEL)
    lumora.wait_gone(FINDER)
