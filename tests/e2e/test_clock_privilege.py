"""Setting the clock without the right to, as on a Windows where the user runs without
administrator rights. Under Wine the test fault "no-clock-privilege" makes the program's own sets
fail the way Windows fails them for such a user ("privilege not held"); the copy the program
starts with administrator rights ignores the fault, so that its set of a correction within half
a second succeeds, as Wine lets it. Wine runs the "runas" verb without a consent prompt.

The copy's arguments and its exit code are read back through the test hooks."""
import time

from ids import COMMAND, IDNO, IDYES, WM_COMMAND
from kit import MovableClock
from lumora import MASTER_CLASS, wait_until
from test_clock_setting import CLOCK, chrony, ntp_settings, report_times, result  # noqa: F401 (fixture)
from test_clock_setting_runs import INTERVAL, CountingSntpServer

HOOKS = {"LUMORA_TEST_HOOKS": "1"}
NO_RIGHT = {**HOOKS, "LUMORA_FAULT": "no-clock-privilege"}
DESCRIBE_ELEVATED_SET = 13
DONE, BAD_ARGUMENTS, NO_PRIVILEGE = 20, 21, 22
QUESTION = ("現在ログオンしているユーザには時刻合わせに必要な権限がありません。\r\n"
            "管理者の権限で時刻を合わせますか?\r\n\r\n"
            "[はい] をクリックすると、Windows が管理者としての実行を確認します。")
SET_FAILED = ("時刻合わせに失敗しました。\r\n"
              "現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。")


def wine_path(path) -> str:
    return "Z:" + str(path).replace("/", "\\")


def start(lumora, ini: str, env: dict) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env=env)
    lumora.wait_window(CLOCK, timeout=15)


def question(lumora, title: str):
    box = lumora.msgbox(timeout=20, pid=lumora.pid())
    assert (box.title, box.text) == (title, QUESTION)
    assert set(box.buttons) == {IDYES, IDNO}, box.buttons
    return box


def elevated_set(lumora) -> tuple[str, int, int] | None:
    """The last start of the elevated copy: its arguments, the error of starting it, its exit code."""
    described = lumora.folder / "elevated.txt"
    if lumora.copydata(DESCRIBE_ELEVATED_SET, wine_path(described)) != 1:
        return None
    arguments, start_error, exit_code = described.read_bytes().decode("utf-8").split("\r\n")
    return arguments, int(start_error), int(exit_code)


def test_yes_sets_the_clock_through_the_elevated_copy_with_the_measured_correction(lumora, chrony, tmp_path):
    # The program's clock runs 350 ms fast: chrony's time means a correction of about -350 ms,
    # which Wine lets the copy make.
    clock = MovableClock(tmp_path)
    clock.set_at(time.time() + 0.35)
    start(lumora, ntp_settings(), env={**NO_RIGHT, **clock.env()})
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
    lumora.press(question(lumora, "Lumora - 手動時刻合わせ (NTP)"), IDYES)

    title, text = result(lumora)
    assert title == "Lumora - 手動時刻合わせ (NTP)"
    assert text.startswith("調整前の時刻: \t") and "\r\n調整後の時刻: \t" in text, text
    arguments, start_error, exit_code = elevated_set(lumora)
    switch, milliseconds = arguments.split(" ")
    assert (switch, start_error, exit_code) == ("/setclock", 0, DONE)
    assert -450 < int(milliseconds) < -250, arguments
    # The report shows the correction the copy made (Wine's clock itself never moves).
    before, after = report_times(text)
    assert abs((after - before).total_seconds() * 1000 - int(milliseconds)) < 2, (text, arguments)


def test_no_gives_the_failure_and_starts_nothing(lumora, chrony):
    start(lumora, ntp_settings(), env=NO_RIGHT)
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
    lumora.press(question(lumora, "Lumora - 手動時刻合わせ (NTP)"), IDNO)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (NTP)", SET_FAILED)
    assert elevated_set(lumora) is None


def test_the_zero_adjustment_asks_too_and_a_failed_copy_gives_the_failure(lumora, tmp_path):
    # A quarter to ten in Tokyo, minute 45 in UTC: the clock would go on 15 minutes to the next
    # hour, which Wine refuses even the copy.
    clock = MovableClock(tmp_path, "@2026-01-05 09:45:00")
    start(lumora, "", env={**HOOKS, **clock.env()})
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.AdjustClockZero)
    lumora.press(question(lumora, "Lumora - 手動時刻合わせ (ゼロ調整)"), IDYES)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (ゼロ調整)", SET_FAILED)
    arguments, start_error, exit_code = elevated_set(lumora)
    assert (start_error, exit_code) == (0, NO_PRIVILEGE)
    # 15 minutes on, less the seconds the program ran before the command.
    assert 840000 < int(arguments.split(" ")[1]) <= 900000, arguments


def test_automatic_runs_never_ask_and_tell_the_missing_right_once(lumora, tmp_path):
    clock = MovableClock(tmp_path)
    server = CountingSntpServer(clock)
    try:
        start(lumora, "[AdjustClock]\nAdjustType=1\nCurrentNTPServer=127.0.0.1\nNTPTimeOut=3\nAdjustMessage=1\n"
                      f"BootAdjust=1\nAutoAdjust=1\nAutoAdjustInterval={INTERVAL / 86400!r}\n",
              env={**NO_RIGHT, **clock.env()})
        # The start-up run: refused, and told (no question).
        assert result(lumora) == ("Lumora - 起動時刻合わせ (NTP)", SET_FAILED)
        assert len(server.requests) == 1

        # The automatic run an interval later is refused the same way, and says nothing more.
        clock.set_at(time.time() + INTERVAL + 5)
        wait_until(lambda: len(server.requests) == 2, timeout=15)
        lumora.expect_no_msgbox(4)
        assert elevated_set(lumora) is None
    finally:
        server.close()


def run_copy(lumora, *arguments: str, env: dict | None = None) -> int:
    """Lumora.exe started with the mode's arguments; its exit code, which must come at once."""
    began = time.monotonic()
    process = lumora.spawn([str(lumora.exe), *arguments], env=env)
    code = lumora.wait_exit(20, process)
    assert time.monotonic() - began < 10, arguments
    return code


def test_the_copy_refuses_bad_arguments_and_touches_nothing(lumora):
    settings = lumora.write_settings("[Boot]\nShowSplash=0\n[AdjustClock]\nLastConnectedTime=46000\n")
    written = settings.read_bytes(), settings.stat().st_mtime_ns
    for arguments in (["/setclock"], ["/setclock", "99999999999999999999"], ["/setclock", "3155760000001"],
                      ["/setclock", "5", "6"], ["/setclock", "12a"]):
        assert run_copy(lumora, *arguments) == BAD_ARGUMENTS, arguments
    # In range, it sets and ends, whatever the fault asks of the running program; Wine refuses
    # it an hour.
    assert run_copy(lumora, "/setclock", "0", env=NO_RIGHT) == DONE
    assert run_copy(lumora, "/setclock", "3600000") == NO_PRIVILEGE
    assert (settings.read_bytes(), settings.stat().st_mtime_ns) == written
    assert not lumora.appdata_settings_path.exists()
    assert sorted(p.name for p in lumora.folder.iterdir()) == sorted(["Lumora.exe", settings.name, "wine.log"])
    assert lumora.find_window(MASTER_CLASS) is None and lumora.find_window(CLOCK) is None
