"""The settings file as the running program reads and writes it."""
import random
import re
import time

import pytest

from ids import IDCANCEL, IDNO, IDRETRY, IDYES, WM_ENDSESSION
from kit import FolderEvents
from lumora import DRIVER_EXE, MASTER_CLASS, wait_until


# Sections in the order a new file gets them, with the number of keys each one holds.
WRITTEN_SECTIONS = [("View", 19), ("Operation", 11), ("WorldClock", 5), ("Animation", 5), ("Format", 9),
                    ("Design", 34), ("CuckooClock", 34), ("AdjustClock", 20), ("Timer", 4), ("Telop", 10),
                    ("Omake", 14), ("Boot", 5)]

UNREADABLE = ("設定ファイルからデータを読み出せません。\r\n他のプログラムが設定ファイルをロックしている可能性があります。"
              "\r\n\r\n既定の設定で起動しますか?")
UNWRITABLE_START = "設定ファイルへデータを書き込めません。\r\n"


def sections(text: str) -> dict[str, dict[str, str]]:
    """The file as sections of keys, in file order; asserts every line is well formed."""
    result: dict[str, dict[str, str]] = {}
    current = None
    for line in text.split("\r\n"):
        if not line or line.startswith(";"):
            continue
        header = re.fullmatch(r"\[(.+)\]", line)
        if header:
            current = result.setdefault(header[1], {})
            continue
        assert current is not None and "=" in line, f"stray line {line[:60]!r}"
        key, _, value = line.partition("=")
        current[key] = value
    return result


def run_once(lumora, env=None) -> None:
    """Starts the program, lets it come up and closes it as the exit command would."""
    lumora.start(env=env)
    lumora.wait_window(MASTER_CLASS, timeout=15)
    lumora.close()
    assert lumora.wait_exit(15) == 0


def wine_path(path) -> str:
    return "Z:" + str(path).replace("/", "\\")


@pytest.fixture(scope="module")
def default_file(tmp_path_factory, wine_session):
    """The file a first run writes, to compare bad-input runs against."""
    from lumora import LumoraApp
    app = LumoraApp(wine_session, tmp_path_factory.mktemp("defaults"))
    try:
        run_once(app)
        return sections(app.read_settings())
    finally:
        app.end()


def test_first_run_writes_every_key_in_the_order_of_the_write(lumora, default_file):
    assert [(name, len(keys)) for name, keys in default_file.items()] == WRITTEN_SECTIONS
    assert list(default_file["View"])[:5] == ["Placement", "OptionSelectedTab", "OpenDialogAutoPlay",
                                              "HideTaskTrayClock", "CustomColors"]
    assert default_file["View"]["VisibleHours"] == "1" * 10080
    assert default_file["Design"]["DigitColor"] == "clWhite"
    assert default_file["Timer"]["Time"].startswith("0.00208333333333333")
    assert not lumora.appdata_settings_path.exists()


def test_japanese_text_round_trips_byte_for_byte_as_shift_jis(lumora):
    title = "ニュース速報・テロップ".encode("cp932")
    lumora.write_settings(b"[Telop]\r\nTitle=" + title + b"\r\n[Hand]\r\nMine=\x83\x65\x83\x58\x83\x67\r\n")
    run_once(lumora)
    written = lumora.read_settings_bytes()
    assert b"\r\nTitle=" + title + b"\r\n" in written
    assert b"[Hand]\r\nMine=\x83\x65\x83\x58\x83\x67\r\n" in written


def test_application_data_file_wins_and_local_file_is_left_alone(lumora):
    local = lumora.write_settings("[View]\nAlphaBlend=100\n")
    appdata = lumora.write_settings("[View]\nAlphaBlend=200\n", path=lumora.appdata_settings_path)
    before = local.read_bytes()
    run_once(lumora)
    assert local.read_bytes() == before
    assert sections(lumora.read_settings(path=appdata))["View"]["AlphaBlend"] == "200"


def test_a_file_named_for_another_user_is_not_read(lumora):
    other = lumora.write_settings("[View]\nAlphaBlend=100\n", path=lumora.folder / "Lumora_someoneelse.ini")
    run_once(lumora)
    assert sections(lumora.read_settings())["View"]["AlphaBlend"] == "255"
    assert other.read_bytes() == b"[View]\r\nAlphaBlend=100\r\n"


# A class the options offer is applied; any other value runs idle and is written back as idle.
@pytest.mark.parametrize("written, running, kept", [("16384", "below_normal", "16384"), ("12345", "idle", "64")],
                         ids=["offered", "not-offered"])
def test_priority_class_is_applied_and_written_back(lumora, written, running, kept):
    lumora.write_settings(f"[Boot]\nPriority={written}\n")
    lumora.start()
    lumora.wait_window(MASTER_CLASS, timeout=15)
    assert lumora.priority() == running
    lumora.close()
    assert lumora.wait_exit(15) == 0
    assert sections(lumora.read_settings())["Boot"]["Priority"] == kept


def test_settings_are_written_when_the_session_ends(lumora):
    lumora.write_settings("[Boot]\nPriority=32\n")
    lumora.start()
    master = lumora.wait_window(MASTER_CLASS, timeout=15)
    lumora.post(master, WM_ENDSESSION, 1, 0)
    wait_until(lambda: "[Omake]" in lumora.read_settings(), timeout=10)
    assert lumora.running  # Windows, not the program, ends the process after this message


def test_locked_file_asks_and_no_ends_the_program(lumora):
    settings = lumora.write_settings("[View]\nAlphaBlend=1\n")
    marker = lumora.folder / "locked"
    lumora.spawn([str(DRIVER_EXE), "hold", wine_path(settings), "20000", wine_path(marker)])
    wait_until(marker.exists, timeout=15)
    lumora.start()
    box = lumora.msgbox(timeout=15)
    assert (box.title, box.text) == ("Lumora", UNREADABLE)
    assert set(box.buttons) == {IDYES, IDNO}
    lumora.press(box, IDNO)
    assert lumora.wait_exit(15) == 0
    assert lumora.find_window(MASTER_CLASS) is None


def test_read_only_file_at_exit_asks_and_retry_writes_it(lumora):
    settings = lumora.write_settings("[View]\nAlphaBlend=1\n")
    settings.chmod(0o444)
    lumora.start()
    lumora.wait_window(MASTER_CLASS, timeout=15)
    lumora.close()
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora" and box.text.startswith(UNWRITABLE_START)
    assert set(box.buttons) == {IDRETRY, IDCANCEL}
    assert settings.read_bytes() == b"[View]\r\nAlphaBlend=1\r\n"
    settings.chmod(0o644)
    lumora.press(box, IDRETRY)
    assert lumora.wait_exit(15) == 0
    assert sections(lumora.read_settings())["View"]["AlphaBlend"] == "1"
    assert "[Boot]" in lumora.read_settings()


def garbage_files() -> dict[str, bytes]:
    rng = random.Random(20261207)
    ten_mb_line = b"[View]\r\nVisibleHours=" + b"x" * (10 * 1024 * 1024) + b"\r\n"
    return {
        "random bytes": bytes(rng.randrange(256) for _ in range(64 * 1024)),
        "10 MB": ten_mb_line,
        "lines without equals": b"[View]\r\nAlphaBlend\r\nPlacement 2,3,4\r\n[Design\r\nDigitColor\r\n",
        "NUL bytes": b"[View]\r\nAlphaBlend=1\x0023\r\nToolTipFormat=a\x00b\r\n[Boot]\r\nPriority=\x00",
        "bad names and letters": b"[Design]\r\nDigitColor=clNotAColour\r\n[View]\r\nVisibleHours=abcdef\r\n",
    }


@pytest.mark.parametrize("name", list(garbage_files()))
def test_bad_files_start_on_defaults_and_are_rewritten_clean(lumora, default_file, name):
    lumora.write_settings(garbage_files()[name])
    started = time.monotonic()
    run_once(lumora)
    assert time.monotonic() - started < 30
    written = sections(lumora.read_settings_bytes().decode("cp932", errors="replace"))
    for section, keys in default_file.items():
        for key, value in keys.items():
            assert written[section][key] == value, f"{name}: {section}/{key}"


@pytest.mark.parametrize("existing", [True, False], ids=["replaced", "new"])
def test_the_file_is_written_beside_and_then_swapped_in_whole(lumora, existing):
    """The settings file is never written in place: a crash or a full disk half-way would leave a
    torn file. The new text goes to a file beside it, which then takes the settings file's name."""
    name = lumora.settings_path.name
    lumora.write_settings("[Boot]\nShowSplash=0\n[Animation]\nTiming=7\n")
    lumora.start()
    lumora.wait_window(MASTER_CLASS, timeout=15)
    if not existing:
        lumora.settings_path.unlink()
    events = FolderEvents(lumora.folder)
    try:
        written = lumora.exit_and_read_settings()
        seen = [(event, file) for event, file in events.read() if file.startswith(name)]
    finally:
        events.close()
    assert "\r\nTiming=7\r\n" in written
    # The old file passes through a backup name on the way out; that name's events are its own.
    seen = [(event, file) for event, file in seen if file != name + ".bak"]
    assert ("close-write", name + ".new") in seen and seen[-2:] == [("moved-from", name + ".new"), ("moved-to", name)], seen
    assert not any(file == name and event in ("modify", "close-write") for event, file in seen), seen
    assert not (lumora.folder / (name + ".new")).exists()
    assert not (lumora.folder / (name + ".bak")).exists()


def leftovers(lumora) -> list[str]:
    name = lumora.settings_path.name
    return sorted(path.name for path in lumora.folder.iterdir() if path.name.startswith(name + "."))


# A scanner or the indexer holding a file makes the swap fail on Windows: 1176 taking the old file
# away, 1177 leaving it under the backup name, a sharing violation for a moment. The new settings
# end up under the settings name, and neither the new file nor the backup stays behind.
@pytest.mark.parametrize("fault", ["replace-1176", "replace-1177", "replace-busy"])
def test_a_swap_that_fails_half_way_still_ends_with_the_new_file(lumora, fault):
    lumora.write_settings("[View]\nAlphaBlend=1\n")
    lumora.start(env={"LUMORA_FAULT": fault})
    lumora.wait_window(MASTER_CLASS, timeout=15)
    written = lumora.exit_and_read_settings()
    assert sections(written)["View"]["AlphaBlend"] == "1" and "[Boot]" in written
    assert leftovers(lumora) == []


def test_a_file_held_for_good_keeps_the_old_settings_and_asks(lumora):
    settings = lumora.write_settings("[View]\nAlphaBlend=1\n")
    lumora.start(env={"LUMORA_FAULT": "replace-held"})
    lumora.wait_window(MASTER_CLASS, timeout=15)
    lumora.close()
    box = lumora.msgbox(timeout=15)
    assert box.text.startswith(UNWRITABLE_START) and set(box.buttons) == {IDRETRY, IDCANCEL}
    assert settings.read_bytes() == b"[View]\r\nAlphaBlend=1\r\n"
    assert leftovers(lumora) == []
    lumora.press(box, IDCANCEL)
    assert lumora.wait_exit(15) == 0
    assert settings.read_bytes() == b"[View]\r\nAlphaBlend=1\r\n"
