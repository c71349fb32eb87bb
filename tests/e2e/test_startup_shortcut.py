"""The start-up box of the options dialog: the shortcut in the Startup folder is made, points at
Lumora.exe and is removed; another program's shortcut of the same name is kept unless the user
agrees; one that cannot be read is asked about; a folder that cannot be written is told."""
import shutil
from pathlib import Path

import pytest

from face_kit import wine_path
from ids import BM_CLICK, BM_GETCHECK, IDC_BOOT_STARTUP, IDC_OPTION_APPLY, IDNO, IDOK, IDYES, WM_COMMAND
from lumora import wait_until
from test_options import DIALOG, apply_enabled, child, open_options, page, start

BOOT = 14


@pytest.fixture
def startup_folder(wine_session):
    folder = wine_session.appdata / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "StartUp"
    (folder / "Lumora.lnk").unlink(missing_ok=True)
    yield folder
    if folder.is_file():
        folder.unlink()
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "Lumora.lnk").unlink(missing_ok=True)


def boot_page(lumora, program: Path | None = None) -> tuple[int, int]:
    """Starts the program (another copy when given) on the page "起動" with its dialog open."""
    ini = f"[View]\nOptionSelectedTab={BOOT}\n"
    if program is None:
        start(lumora, ini)
    else:
        lumora.write_settings("[Boot]\nShowSplash=0\n" + ini, path=program.parent / lumora.settings_path.name)
        lumora.process = lumora.spawn([str(program)])
        lumora.wait_window("TLumoraForm", timeout=15)
    dialog = open_options(lumora)
    return dialog, child(lumora, page(lumora, dialog, BOOT), IDC_BOOT_STARTUP)


def toggle_and_apply(lumora, dialog: int, box: int, clicks: int = 1) -> None:
    for _ in range(clicks):
        lumora.post(box, BM_CLICK)
    wait_until(lambda: apply_enabled(lumora, dialog), timeout=10)
    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)


def applied(lumora, dialog: int) -> None:
    wait_until(lambda: not apply_enabled(lumora, dialog), timeout=15)


def answer(lumora, starts: str, button: int) -> None:
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora" and box.text.startswith(starts), box.text
    lumora.press(box, button)


def points_at(link: Path, program: Path) -> bool:
    data, target = link.read_bytes(), wine_path(program)
    return target.encode("utf-16-le") in data or target.encode("ascii") in data


def test_made_kept_for_another_program_and_removed(lumora, startup_folder):
    link = startup_folder / "Lumora.lnk"
    dialog, box = boot_page(lumora)
    assert lumora.send(box, BM_GETCHECK) == 0
    toggle_and_apply(lumora, dialog, box)
    wait_until(link.exists, timeout=15)
    assert points_at(link, lumora.exe)
    applied(lumora, dialog)
    lumora.exit_and_read_settings()

    # The same program from another folder finds a shortcut that starts something else.
    other = lumora.folder / "other" / "Lumora.exe"
    other.parent.mkdir()
    shutil.copy2(lumora.exe, other)
    dialog, box = boot_page(lumora, other)
    assert lumora.send(box, BM_GETCHECK) == 1
    first = link.read_bytes()
    toggle_and_apply(lumora, dialog, box)  # unchecked: not ours, so kept and told
    answer(lumora, "リンク先が Lumora ではなかったため", IDOK)
    applied(lumora, dialog)
    toggle_and_apply(lumora, dialog, box)  # checked again: replacing is asked, No keeps it
    answer(lumora, "スタートアップに同じ名前でリンク先が別のプログラム", IDNO)
    applied(lumora, dialog)
    assert link.read_bytes() == first
    toggle_and_apply(lumora, dialog, box, clicks=2)  # clicked back and forth still counts
    answer(lumora, "スタートアップに同じ名前でリンク先が別のプログラム", IDYES)
    wait_until(lambda: points_at(link, other), timeout=15)
    applied(lumora, dialog)
    toggle_and_apply(lumora, dialog, box)  # now ours: removed
    wait_until(lambda: not link.exists(), timeout=15)


def test_an_unreadable_shortcut_is_asked_about_and_an_unwritable_folder_is_told(lumora, startup_folder):
    link = startup_folder / "Lumora.lnk"
    link.write_bytes(b"not a shell link")
    dialog, box = boot_page(lumora)
    assert lumora.send(box, BM_GETCHECK) == 1
    toggle_and_apply(lumora, dialog, box, clicks=2)
    answer(lumora, "スタートアップに同じ名前でリンク先が別のプログラム", IDYES)
    wait_until(lambda: points_at(link, lumora.exe), timeout=15)
    applied(lumora, dialog)
    toggle_and_apply(lumora, dialog, box)
    wait_until(lambda: not link.exists(), timeout=15)
    applied(lumora, dialog)

    # A file where the folder should be: nothing can be saved there.
    startup_folder.rmdir()
    startup_folder.write_bytes(b"")
    toggle_and_apply(lumora, dialog, box)
    answer(lumora, "スタートアップにショートカットを作成できませんでした。", IDOK)
    applied(lumora, dialog)
    assert lumora.send(box, BM_GETCHECK) == 1  # the user's choice stays
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(DIALOG)
    assert lumora.running
