"""The hourly time signal on a faked clock: the cuckoo's chain of sounds, the announcement by box,
notification and caption, the silent hidden minute, and a click that stops the chain.

Which sounds play is seen from outside: inotify reports every file the program opens."""

import pytest

from face_kit import wine_path
from ids import IDOK, WM_LBUTTONDOWN, WM_LBUTTONUP
from kit import IN_CLOSE_NOWRITE, IN_OPEN, FolderEvents, MovableClock, icon_texts, icon_tips, local_instant, minute_of_week, stays, week, write_sine
from lumora import wait_until

CLOCK, TELOP = "TLumoraForm", "TTelopForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
# The program starts a minute before the hour, however long Wine takes; once its window is up,
# the clock moves on to eight seconds before the hour.
AT_START, ONCE_UP = "2026-01-05 09:59:00", "2026-01-05 09:59:52"
ANNOUNCEMENT = "Lumora が 10 時 00 分をお知らせします。"


class FileOpens(FolderEvents):
    """The names of the files opened in a folder, in order, without the extension. Closes are
    watched too: inotify merges an event with an unread one just like it, which would make two
    opens of a file in a row look like one."""

    def __init__(self, folder):
        super().__init__(folder, IN_OPEN | IN_CLOSE_NOWRITE)

    @property
    def names(self) -> list[str]:
        return [name.removesuffix(".wav") for event, name in self.events if event == "open" and name.endswith(".wav")]

    def read(self) -> list[str]:
        super().read()
        return self.names

    def runs(self) -> list[tuple[str, int]]:
        """Consecutive opens of one file as (name, count)."""
        result: list[tuple[str, int]] = []
        for name in self.read():
            if result and result[-1][0] == name:
                result[-1] = (name, result[-1][1] + 1)
            else:
                result.append((name, 1))
        return result


@pytest.fixture
def sounds(tmp_path):
    folder = tmp_path / "sounds"
    folder.mkdir()
    files = {name: write_sine(folder / f"{name}.wav", seconds)
             for name, seconds in (("first", 0.4), ("repeat", 0.2), ("last", 0.4), ("long", 2.0))}
    opens = FileOpens(folder)
    yield files, opens
    opens.close()


def cuckoo_ini(files, notify: int, repeat: str = "repeat", cuckoo: str = "", view: str = "", other: str = "") -> str:
    return ("[Animation]\nType=0\n"
            "[View]\nTaskTrayToolTipFormat=\"SIGNAL \"hh:nn:ss\n" + view +
            f"[CuckooClock]\nCuckooClockMode=1\nCuckooClockRepeat=1\nNotifyType={notify}\n"
            f"FirstCuckooClockFile={wine_path(files['first'])}\n"
            f"RepeatCuckooClockFile={wine_path(files[repeat])}\n"
            f"LastCuckooClockFile={wine_path(files['last'])}\n" + cuckoo + other)


def start(lumora, ini: str, env: dict):
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    clock = MovableClock(lumora.folder)
    clock.set_at(local_instant(AT_START))
    lumora.start(env={**HOOKS, **env, **clock.env()})
    lumora.wait_window(CLOCK, timeout=20)
    wait_until(lambda: tip_time(lumora).startswith("09:59:"), timeout=10)
    assert clock.now() < local_instant(ONCE_UP), "the start took most of a minute"
    clock.set_at(local_instant(ONCE_UP))


def tip_time(lumora) -> str:
    texts = icon_texts(lumora, "SIGNAL ")
    return texts[0].removeprefix("SIGNAL ") if texts else ""


def test_ten_oclock_strikes_ten_times_and_the_box_leaves_the_clock_running(lumora, sounds, null_sound):
    files, opens = sounds
    start(lumora, cuckoo_ini(files, notify=1), null_sound)
    box = lumora.msgbox(timeout=30, pid=lumora.pid())
    assert (box.title, box.text) == ("Lumora - 時報", ANNOUNCEMENT)
    # The box came after the pass: the clock goes on ticking beneath it.
    first_tip = tip_time(lumora)
    wait_until(lambda: tip_time(lumora) > first_tip, timeout=10)
    # Every sound opens its file the same number of times.
    runs = wait_until(lambda: (r := opens.runs()) and r[-1][0] == "last" and r, timeout=20)
    (first, per_play), (repeat, repeats), (last, lasts) = runs
    assert (first, repeat, last) == ("first", "repeat", "last"), runs
    assert repeats == 10 * per_play and lasts == per_play, runs
    lumora.press(box, IDOK)


def test_a_click_on_the_icon_stops_the_chain(lumora, sounds, null_sound):
    files, opens = sounds
    start(lumora, cuckoo_ini(files, notify=0, repeat="long"), null_sound)
    wait_until(lambda: "long" in opens.read(), timeout=30)
    wait_until(lumora.playing, timeout=10)
    icon = int(icon_tips(lumora, "SIGNAL ")[0]["tool"])
    lumora.post(icon, WM_LBUTTONDOWN, 1, 0)
    lumora.post(icon, WM_LBUTTONUP, 0, 0)
    wait_until(lambda: not lumora.playing(), timeout=10)
    # A chain that went on would start its next sound as soon as the stopped one ended.
    heard = len(opens.read())
    assert stays(lambda: len(opens.read()) == heard and not lumora.playing(), 2.0), opens.names
    assert "last" not in opens.names, opens.names


def test_a_balloon_announces_the_hour_when_the_first_sound_is_a_folder(lumora, sounds, null_sound):
    files, opens = sounds
    start(lumora, cuckoo_ini({**files, "first": files["first"].parent}, notify=2), null_sound)
    # Wine shows no balloons: the notification falls back to a box with the same lines.
    box = lumora.msgbox(timeout=30, pid=lumora.pid())
    assert (box.title, box.text) == ("Lumora - 時報", ANNOUNCEMENT)
    # A first sound that cannot play ends the chain before it began.
    assert stays(lambda: opens.read() == [] and not lumora.playing(), 1.5), opens.names
    lumora.press(box, IDOK)


def test_a_hidden_minute_stays_silent(lumora, sounds, null_sound):
    files, opens = sounds
    hidden = week("1", {minute_of_week(0, 10, 0): "0"})
    start(lumora, cuckoo_ini(files, notify=1, cuckoo="InVisibleSilent=1\n", view=f"VisibleHours={hidden}\n"),
          null_sound)
    wait_until(lambda: tip_time(lumora) >= "10:00:02", timeout=30)
    assert opens.read() == []
    lumora.expect_no_msgbox(1)


def test_a_caption_announces_the_hour_and_closes_after_two_passes(lumora, sounds, null_sound):
    files, _ = sounds
    start(lumora, cuckoo_ini(files, notify=3, other="[Telop]\nChangeSpeed=600\n"), null_sound)
    caption = lumora.wait_window(TELOP, timeout=30)
    info = lumora.info(caption)
    assert info.rect[1] == 16 and abs((info.rect[0] + info.rect[2]) - 1280) <= 1, info.rect
    assert not lumora.info(CLOCK).visible
    # Three lines twice at 0.6 s each and the pause between: gone within a few seconds.
    lumora.wait_gone(TELOP, timeout=10)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
