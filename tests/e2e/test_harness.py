"""The harness checked against windows that exist without Lumora: Wine's notepad and msgbox-probe."""
import getpass

import pytest
from PIL import Image

import ids
from ids import IDNO, IDYES, WM_GETTEXTLENGTH
from lumora import (PROBE_EXE, DriverError, DriverNotRun, LumoraApp, WindowNotFound, parse_fields, parse_msgbox,
                    read_reply, wait_until)

PROBE_TEXT = "時刻を合わせますか？\n差は 12.5 秒です \\ 確認"


def test_notepad_is_found_described_and_closed(lumora):
    process = lumora.spawn(["notepad"])
    hwnd = lumora.wait_window("Notepad", timeout=15)
    assert lumora.find_window("Notepad") == hwnd

    info = lumora.info(hwnd)
    assert info.cls == "Notepad"
    assert info.visible and info.enabled
    assert info.width > 100 and info.height > 100
    assert info.title.endswith("メモ帳")  # the Japanese UI came through as UTF-8
    assert lumora.send(hwnd, WM_GETTEXTLENGTH) == len(info.title)

    assert hwnd in {int(w["hwnd"]) for w in lumora.windows(info.pid)}
    assert lumora.priority(info.pid) == "normal"

    lumora.close("Notepad")
    lumora.wait_gone("Notepad", timeout=5)
    assert lumora.wait_exit(5, process) == 0


@pytest.mark.parametrize("button", [IDYES, IDNO])
def test_message_box_is_read_and_pressed(lumora, button):
    process = lumora.spawn([str(PROBE_EXE), PROBE_TEXT])
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora"
    assert box.text == PROBE_TEXT
    assert box.caption(IDYES) == "はい(Y)" and box.caption(IDNO) == "いいえ(N)"
    assert box.hwnd in {int(w["hwnd"]) for w in lumora.windows(box.pid)}

    lumora.press(box, button)
    assert lumora.wait_exit(5, process) == button


def test_environment_can_be_changed_per_test(lumora):
    lumora.spawn([str(PROBE_EXE), "x"], env={"LANG": "C"})
    box = lumora.msgbox(timeout=15)
    assert box.caption(IDYES) == "Yes" and box.caption(IDNO) == "No"


def test_screenshot_shows_the_message_box(lumora):
    lumora.spawn([str(PROBE_EXE), "画面"])
    box = lumora.msgbox(timeout=15)
    shot = lumora.screenshot()
    left, top, right, bottom = lumora.info(box.hwnd).rect
    with Image.open(shot) as image:
        screen = image.convert("RGB")
    assert screen.size == (1280, 800)
    colours = screen.crop((left, top, right, bottom)).getcolors(maxcolors=1 << 20)
    face = max(colours)[1]
    # Text on a face, and a face unlike the bare root window: an empty or failed grab has neither.
    assert len(colours) > 1
    assert screen.getpixel((1279, 799)) != face


def test_waits_time_out_and_missing_windows_are_reported(wine_session, lumora):
    assert lumora.find_window("NoSuchLumoraClass") is None
    with pytest.raises(TimeoutError):
        lumora.wait_window("NoSuchLumoraClass", timeout=0.3)
    with pytest.raises(TimeoutError):
        lumora.msgbox(timeout=0.3)
    assert lumora.all_windows("NoSuchLumoraClass") == []
    assert not lumora.driver.try_post("NoSuchLumoraClass", "reg:OrvaneLumora")
    assert lumora.try_send("NoSuchLumoraClass", 0) is None
    # Everything else that finds no window fails loudly, naming the call.
    for call in (lambda: lumora.post("NoSuchLumoraClass", "reg:OrvaneLumora"),
                 lambda: lumora.send("NoSuchLumoraClass", 0), lambda: lumora.close("NoSuchLumoraClass"),
                 lambda: lumora.info("NoSuchLumoraClass"), lambda: lumora.driver.children("NoSuchLumoraClass"),
                 lambda: lumora.driver.get_text("NoSuchLumoraClass"), lambda: lumora.answers()):
        with pytest.raises(WindowNotFound, match="NoSuchLumoraClass|TMasterForm"):
            call()
    with pytest.raises(DriverError, match="usage"):
        lumora.driver.post("Notepad", "not-a-message")


def test_a_reply_without_the_drivers_closing_line_is_no_reply():
    args = ("send", "TMasterForm", 0, 0, 0)
    assert read_reply(args, 0, b"#run\n7\n#exit=0\n", b"").lines == ["7"]
    assert read_reply(args, 1, b"#run\n#exit=1\n", b"not found: window TMasterForm").code == 1
    # Wine failing to start the driver: nothing was done.
    for returncode, out in ((1, b""), (0, b"7\n#exit=0\n")):
        with pytest.raises(DriverNotRun):
            read_reply(args, returncode, out, b"wine: could not load")
    # The driver dying half-way, or a code that is not its own: no answer, and not asked again.
    for returncode, out in ((0, b"#run\n7\n"), (53, b"#run\n#exit=0\n"), (0, b"#run\n7\n#exit=0\nmore\n")):
        with pytest.raises(DriverError, match="half-way") as failure:
            read_reply(args, returncode, out, b"")
        assert not isinstance(failure.value, DriverNotRun)


def test_long_and_multi_line_texts_are_read_whole(lumora):
    lumora.spawn(["notepad"])
    hwnd = lumora.wait_window("Notepad", timeout=15)
    edit = next(int(c["hwnd"]) for c in lumora.driver.children(hwnd) if c["class"] == "Edit")
    text = "行\\" * 1500 + "\r\nend"
    lumora.driver.set_text(edit, text)
    assert lumora.driver.get_text(edit) == text


def test_end_kills_what_the_test_left_running(wine_session, tmp_path):
    app = LumoraApp(wine_session, tmp_path)
    process = app.spawn([str(PROBE_EXE), "放置"])
    app.msgbox(timeout=15)
    (wine_session.orvane_appdata / "Lumora").mkdir(parents=True)
    app.end()
    assert process.poll() is not None
    with pytest.raises(TimeoutError):
        app.msgbox(timeout=0.2)
    assert not wine_session.orvane_appdata.exists()


def test_settings_files_are_named_and_encoded_like_the_program_expects(wine_session, lumora):
    assert wine_session.user == getpass.getuser()
    assert lumora.settings_path.name == f"Lumora_{getpass.getuser()}.ini"
    assert lumora.settings_path.parent == lumora.folder
    assert wine_session.appdata.is_dir() and wine_session.appdata.name == "Roaming"
    assert lumora.appdata_settings_path == wine_session.appdata / "Orvane" / "Lumora" / "Lumora.ini"

    lumora.write_settings("[View]\nTitle=時計\n")
    assert lumora.read_settings_bytes() == "[View]\r\nTitle=時計\r\n".encode("cp932")
    lumora.write_settings(b"\xff\xfe raw")
    assert lumora.read_settings_bytes() == b"\xff\xfe raw"


def test_driver_replies_are_parsed():
    assert parse_fields("hwnd=5 class=A visible=1 title=a b = c") == {
        "hwnd": "5", "class": "A", "visible": "1", "title": "a b = c"}
    box = parse_msgbox(["hwnd=9", "pid=3", "title=T", r"text=a\nb\\n", "buttons=6:はい(&Y),7:いいえ(&N)"])
    assert box.text == "a\nb\\n"
    assert box.buttons == {6: "はい(&Y)", 7: "いいえ(&N)"}
    assert wait_until(lambda: 42, timeout=0.1) == 42


def test_ids_are_read_from_the_headers_and_an_unreadable_one_fails():
    assert ids.COMMAND.Option == 101 and ids.COMMAND.Calendar == 126
    assert ids.IDC_OPTION_TREE == 7501 and ids.IDD_TIMER == 7100
    with pytest.raises(AttributeError):
        ids.COMMAND.NoSuchCommand
    with pytest.raises(AttributeError):
        ids.IDC_NO_SUCH_CONTROL
    assert ids.parse_resource_ids("#define IDC_A 0x10 // a\n#define OTHER x\n", "A.h") == {"IDC_A": 16}
    with pytest.raises(ids.IdsError):
        ids.parse_resource_ids("#define IDC_A IDC_B + 1\n", "A.h")
    header = "enum class CommandId : uint16_t {\n    A = 1,\n    B = 2, // b\n};"
    assert ids.parse_command_ids(header) == {"A": 1, "B": 2}
    with pytest.raises(ids.IdsError):
        ids.parse_command_ids("enum class CommandId {\n    A = 1,\n    B,\n};")
    with pytest.raises(ids.IdsError):
        ids.parse_command_ids("enum class Other { A = 1 };")
