"""The options dialog's sound picker: its preview button and automatic preview through the
player, a file that is not sound, and several sounds handed to several wild-bird hours."""
import os
import shutil

from face_kit import wine_path
from ids import (BM_CLICK, BM_GETCHECK, BN_CLICKED, IDCANCEL, IDC_CK_FIRST_BROWSE, IDC_CK_WILD_BROWSE,
                 IDC_CK_WILD_FILE, IDC_CK_WILD_LIST, IDOK, VK_DOWN, VK_SHIFT, VK_UP, WM_COMMAND, WM_NEXTDLGCTL)
from kit import stays, write_sine
from lumora import wait_until
from test_options import child, open_options, page, start

CUCKOO = 12
PREVIEW, AUTO_PLAY, TYPE_BOX, HELP, FILE_NAME = 2000, 2001, 1136, 1038, 1148
IDLE, PLAYING = "試聴(&S)", "停止(&S)"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
SHOTS = os.environ.get("LUMORA_SHOTS")  # a folder that keeps the screenshots for a look


def click(lumora, holder: int, control_id: int) -> None:
    lumora.post(holder, WM_COMMAND, (BN_CLICKED << 16) | control_id, child(lumora, holder, control_id))


def control(lumora, dialog: int, control_id: int, cls: str) -> int:
    """A control of the open dialog; its parts (list, toolbars) reuse the small ids."""
    return next(int(c["hwnd"]) for c in lumora.driver.children(dialog)
                if int(c["id"]) == control_id and c["class"] == cls)


def sound_dialog(lumora) -> int:
    dialog = wait_until(lambda: lumora.find_window("#32770", "サウンドの選択"), timeout=20)
    wait_until(lambda: lumora.info(dialog).visible, timeout=10)
    return dialog


def shot(lumora, name: str) -> None:
    path = lumora.screenshot(lumora.folder / name)
    if SHOTS:
        shutil.copy(path, SHOTS)


def sounds_folder(tmp_path):
    folder = tmp_path / "sounds"
    folder.mkdir()
    write_sine(folder / "a.wav", 6.0)   # plays for about two seconds on the null device
    write_sine(folder / "b.wav", 40.0)  # long enough to be stopped by hand
    (folder / "noise.wav").write_bytes(os.urandom(4096))
    return folder


def assert_added_row(lumora, dialog: int) -> None:
    """The added row lies below the buttons: the box in line with the file-type box, the button
    under the help button."""
    box = lumora.info(control(lumora, dialog, AUTO_PLAY, "Button"))
    button = lumora.info(control(lumora, dialog, PREVIEW, "Button"))
    help_button = lumora.info(control(lumora, dialog, HELP, "Button"))
    types = lumora.info(control(lumora, dialog, TYPE_BOX, "ComboBox"))
    assert button.rect[0] == help_button.rect[0] and button.rect[1] >= help_button.rect[3]
    assert box.rect[0] == types.rect[0] and box.rect[1] == button.rect[1] and box.rect[2] < button.rect[0]
    assert button.rect[3] <= lumora.info(dialog).rect[3]


def focus_file_list(lumora, dialog: int) -> None:
    files = next(int(c["hwnd"]) for c in lumora.driver.children(dialog) if c["class"] == "SysListView32")
    lumora.send(dialog, WM_NEXTDLGCTL, files, 1)


def test_the_sound_picker_previews_through_the_player(lumora, tmp_path, null_sound):
    sounds = sounds_folder(tmp_path)
    start(lumora, f"[View]\nOptionSelectedTab={CUCKOO}\nOpenDialogAutoPlay=1\n[CuckooClock]\nCuckooClockMode=1\n"
                  f"FirstCuckooClockFile={wine_path(sounds / 'a.wav')}\n", env={**HOOKS, **null_sound})
    options = open_options(lumora)
    click(lumora, page(lumora, options, CUCKOO), IDC_CK_FIRST_BROWSE)
    dialog = sound_dialog(lumora)
    preview = control(lumora, dialog, PREVIEW, "Button")
    caption = lambda: lumora.driver.get_text(preview)  # noqa: E731
    file_name = lambda: lumora.driver.get_text(control(lumora, dialog, FILE_NAME, "Edit"))  # noqa: E731
    assert lumora.driver.get_text(control(lumora, dialog, IDOK, "Button")) == "選択(&L)"
    assert file_name() == "a.wav"  # in the field's folder
    assert lumora.send(control(lumora, dialog, AUTO_PLAY, "Button"), BM_GETCHECK) == 1
    assert_added_row(lumora, dialog)
    frame = lumora.info(dialog)
    lumora.driver.resize(dialog, frame.width + 160, frame.height + 90)
    wait_until(lambda: lumora.info(dialog).height == frame.height + 90, timeout=10)
    assert_added_row(lumora, dialog)
    # The selection the dialog makes as it opens does not play; the user's next ones do.
    assert lumora.info(preview).enabled and stays(lambda: caption() == IDLE, 1.5)
    shot(lumora, "sound-dialog.png")
    focus_file_list(lumora, dialog)
    lumora.press_key(VK_DOWN)  # a.wav
    wait_until(lambda: caption() == PLAYING, timeout=10)
    wait_until(lambda: caption() == IDLE, timeout=15)  # its end restores the caption
    lumora.press_key(VK_DOWN)  # b.wav
    wait_until(lambda: caption() == PLAYING, timeout=10)
    click(lumora, dialog, PREVIEW)  # a press while it plays stops it
    wait_until(lambda: caption() == IDLE, timeout=10)
    assert stays(lambda: caption() == IDLE, 1.0)

    # Not sound at all: browsing to it stays silent, a press reports it and leaves all working.
    lumora.press_key(VK_DOWN)  # noise.wav
    wait_until(lambda: file_name() == "noise.wav", timeout=10)
    assert stays(lambda: caption() == IDLE and not lumora.find_window("#32770", "Lumora"), 1.0)
    click(lumora, dialog, PREVIEW)
    report = lumora.msgbox(timeout=15, pid=lumora.pid())
    assert report.title == "Lumora" and report.text.startswith("指定したサウンド ファイルは")
    assert "存在しません" not in report.text  # it is there, only not sound
    lumora.press(report, 1)
    wait_until(lambda: caption() == IDLE and lumora.info(preview).enabled, timeout=10)

    # Closing stops a preview of the dialog; the box is kept at once, whatever the dialog ends with.
    focus_file_list(lumora, dialog)
    lumora.press_key(VK_UP)  # b.wav
    wait_until(lambda: caption() == PLAYING, timeout=10)
    assert lumora.playing()
    lumora.send(control(lumora, dialog, AUTO_PLAY, "Button"), BM_CLICK)
    lumora.post(dialog, WM_COMMAND, IDCANCEL)
    wait_until(lambda: not lumora.find_window("#32770", "サウンドの選択"), timeout=10)
    wait_until(lambda: not lumora.playing(), timeout=3)  # it had many seconds to go
    lumora.post(options, WM_COMMAND, IDCANCEL)
    lumora.wait_gone("TOptionForm")
    written = lumora.exit_and_read_settings()
    assert "OpenDialogAutoPlay=0\r\n" in written
    assert f"FirstCuckooClockFile={wine_path(sounds / 'a.wav')}\r\n" in written


def test_several_sounds_go_to_the_selected_wild_bird_hours_in_order(lumora, tmp_path):
    sounds = sounds_folder(tmp_path)
    owl = wine_path(sounds / "owl.wav")  # not there, but its folder is: the dialog opens there
    start(lumora, f"[View]\nOptionSelectedTab={CUCKOO}\n[CuckooClock]\nCuckooClockMode=2\nWildBirdSound6={owl}\n")
    options = open_options(lumora)
    cuckoo = page(lumora, options, CUCKOO)
    hours = child(lumora, cuckoo, IDC_CK_WILD_LIST)
    lumora.send(options, WM_NEXTDLGCTL, hours, 1)
    for _ in range(4):  # down to "3 時"
        lumora.press_key(VK_DOWN)
    with lumora.holding(VK_SHIFT):
        for _ in range(2):  # "3 時", "4 時" and "5 時", the focus on 5
            lumora.press_key(VK_DOWN)
    field = child(lumora, cuckoo, IDC_CK_WILD_FILE)
    wait_until(lambda: lumora.driver.get_text(field) == owl, timeout=10)
    click(lumora, cuckoo, IDC_CK_WILD_BROWSE)
    dialog = sound_dialog(lumora)
    lumora.driver.set_text(control(lumora, dialog, FILE_NAME, "Edit"), '"a.wav" "b.wav"')
    lumora.press(dialog, IDOK)
    wait_until(lambda: not lumora.find_window("#32770", "サウンドの選択"), timeout=10)
    first, second = wine_path(sounds / "a.wav"), wine_path(sounds / "b.wav")
    wait_until(lambda: lumora.driver.get_text(field) == first, timeout=10)  # the first chosen file
    shot(lumora, "wild-bird-hours.png")
    lumora.post(options, WM_COMMAND, IDOK)
    lumora.wait_gone("TOptionForm")
    written = lumora.exit_and_read_settings()
    for line in (f"WildBirdSound4={first}", f"WildBirdSound5={second}", f"WildBirdSound6={owl}"):
        assert f"{line}\r\n" in written
