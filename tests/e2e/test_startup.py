"""Start and end of the real program: one instance, boot delay, splash, errors nobody caught."""
import time

from PIL import Image

from face_kit import wine_path
from ids import IDCANCEL, IDOK, WM_LBUTTONDOWN
from lumora import MASTER_CLASS, REPO, LumoraApp, wait_until

CLOCK_CLASS = "TLumoraForm"
SPLASH_CLASS = "TSplashForm"
FATAL_CLASS = "TFatalErrorForm"
PRINT_SPLASH = 15


def test_start_and_close_writes_settings(lumora):
    assert not lumora.settings_path.exists()
    lumora.start()
    hwnd = lumora.wait_window(MASTER_CLASS, timeout=15)
    master = lumora.info(hwnd)
    assert not master.visible and not master.enabled
    assert master.title == "Lumora 送出マスタ"
    assert master.rect[:2] == (-32000, -32000)
    assert master.exstyle & 0x80  # tool window: no taskbar button

    written = lumora.exit_and_read_settings()
    assert lumora.find_window(MASTER_CLASS) is None
    assert "[View]" in written and "[Boot]" in written


def test_default_clock_shows_at_ten_ten(lumora):
    lumora.start()
    clock = lumora.info(lumora.wait_window(CLOCK_CLASS, timeout=15))
    wait_until(lambda: lumora.info(CLOCK_CLASS).visible, timeout=10)
    clock = lumora.info(CLOCK_CLASS)
    assert clock.rect[:2] == (10, 10)
    assert clock.width > 100 and clock.height > 30
    assert clock.exstyle & 0x80000  # layered


def test_a_second_start_ends_at_once_and_the_first_keeps_running(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    first = lumora.start()
    lumora.wait_window(MASTER_CLASS, timeout=15)
    first_pid = lumora.pid()
    second = lumora.spawn([str(lumora.exe)])
    assert second.wait(timeout=15) == 0
    assert first.poll() is None
    masters = lumora.all_windows(MASTER_CLASS)
    assert [int(m["pid"]) for m in masters] == [first_pid]
    assert len(lumora.all_windows(CLOCK_CLASS)) == 1


def test_no_check_duplicate_lets_both_run(lumora):
    lumora.write_settings("[Boot]\nNoCheckDuplicate=1\nShowSplash=0\n")
    lumora.start()
    lumora.wait_window(MASTER_CLASS, timeout=15)
    second = lumora.spawn([str(lumora.exe)])
    wait_until(lambda: len(lumora.all_windows(MASTER_CLASS)) == 2, timeout=15)
    assert second.poll() is None
    assert len({m["pid"] for m in lumora.all_windows(MASTER_CLASS)}) == 2


def seconds_until_clock_shows(lumora) -> float:
    started = time.monotonic()
    lumora.start()
    wait_until(lambda: lumora.find_window(CLOCK_CLASS) and lumora.info(CLOCK_CLASS).visible, timeout=20,
               interval=0.05)
    return time.monotonic() - started


def test_boot_delay_holds_the_start_back(lumora):
    lumora.write_settings("[Boot]\nBootDelay=1\nBootDelayValue=6000\nShowSplash=0\n")
    delayed = seconds_until_clock_shows(lumora)
    assert delayed >= 6.0
    lumora.close()
    assert lumora.wait_exit(10) == 0

    # Half the delay is left for a Wine start that takes longer the second time on a busy machine.
    lumora.write_settings("[Boot]\nBootDelay=0\nBootDelayValue=6000\nShowSplash=0\n")
    assert seconds_until_clock_shows(lumora) < delayed - 3.0


def test_an_error_nobody_caught_shows_the_runtime_error_dialog_and_ends(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start(env={"LUMORA_FAULT": "tick"})
    dialog = lumora.wait_window(FATAL_CLASS, timeout=15)
    info = lumora.info(dialog)
    assert info.title == "ランタイム エラー" and info.visible
    assert info.exstyle & 0x8  # always on top
    texts = [c["title"] for c in lumora.driver.children(dialog)]
    assert "Lumora で問題が発生したため、このプログラムを終了する必要があります。ご迷惑をお掛けして申し訳ありません。" in texts
    assert "LUMORA_FAULT: an error raised on purpose in the tick handler" in texts
    assert "閉じる(&C)" in texts
    assert lumora.running
    lumora.press(dialog, IDCANCEL)
    assert lumora.wait_exit(10) != 0
    assert lumora.find_window(MASTER_CLASS) is None


def test_the_fault_trigger_does_nothing_without_its_variable(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start(env={"LUMORA_FAULT": "something else"})
    lumora.wait_window(CLOCK_CLASS, timeout=15)
    wait_until(lambda: lumora.info(CLOCK_CLASS).visible, timeout=10)
    # Some thirty ticks a second: the trigger would have fired in the first.
    lumora.expect_absent(FATAL_CLASS, 1.5)


def test_one_splash_per_monitor_until_start_up_has_finished(two_monitors, tmp_path):
    app = LumoraApp(two_monitors, tmp_path)
    try:
        app.start()
        wait_until(lambda: len(app.all_windows(SPLASH_CLASS)) == 2, timeout=15, interval=0.05)
        splashes = [app.info(int(s["hwnd"])) for s in app.all_windows(SPLASH_CLASS)]
        sizes = {(s.width, s.height) for s in splashes}
        assert len(sizes) == 1
        width, height = sizes.pop()
        assert width >= 395 and height >= 240
        # Each centred in its own monitor's work area (both heads start at 0,0 under Xvfb).
        lefts = sorted(s.rect[0] for s in splashes)
        assert lefts == sorted([(1280 - width) // 2, (1024 - width) // 2])
        # Start-up finishes quickly here, so the two-second check closes them.
        wait_until(lambda: not app.all_windows(SPLASH_CLASS), timeout=10)
        app.expect_absent(SPLASH_CLASS, 0.5)
    finally:
        app.end()


def test_a_click_closes_the_splash_at_once(lumora):
    # A tick that cannot start holds start-up at its message box; the splash closes by itself
    # only once start-up has finished, so here nothing but the click can close it.
    lumora.start(env={"LUMORA_FAULT": "tick-start"})
    splash = lumora.wait_window(SPLASH_CLASS, timeout=15)
    box = lumora.msgbox(timeout=15)
    assert lumora.find_window(SPLASH_CLASS) == splash
    # Sent, not posted: the click has been handled when the call returns.
    lumora.send(splash, WM_LBUTTONDOWN, 1, 0)
    lumora.expect_absent(SPLASH_CLASS, 0.5)
    lumora.press(box, IDOK)
    assert lumora.wait_exit(15) == 0


def test_the_splash_draws_itself_for_its_fade(lumora):
    """AnimateWindow fades a window in by having it print itself (WM_PRINTCLIENT), never through
    WM_PAINT: a splash that ignores the message fades in an empty frame. Wine does not animate, so
    the program prints its splash on request and the test compares that with the picture."""
    lumora.start(env={"LUMORA_FAULT": "tick-start", "LUMORA_TEST_HOOKS": "1"})
    lumora.wait_window(SPLASH_CLASS, timeout=15)
    box = lumora.msgbox(timeout=15)  # start-up held here, so the splash stays
    printed = lumora.folder / "printed.bmp"
    assert lumora.copydata(PRINT_SPLASH, wine_path(printed)) == 1
    with Image.open(printed) as image, Image.open(REPO / "src/resources/Splash.bmp") as source:
        printed_rgb, picture = image.convert("RGB"), source.convert("RGB")
    assert (255, 0, 255) not in {colour for _, colour in printed_rgb.getcolors(1 << 20)}  # every pixel drawn
    border = (printed_rgb.width - picture.width) // 2
    assert border >= 0 and printed_rgb.height - picture.height == 2 * border
    # The picture's left part, away from the texts the program writes on it.
    for x in range(5, 200, 24):
        for y in range(5, 235, 23):
            assert printed_rgb.getpixel((border + x, border + y)) == picture.getpixel((x, y)), (x, y)
    lumora.press(box, IDOK)
    assert lumora.wait_exit(15) == 0


def test_no_splash_when_switched_off(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start()
    lumora.wait_window(MASTER_CLASS, timeout=15)
    # A splash would come right after the master and stay at least until a check 2 s later.
    lumora.expect_absent(SPLASH_CLASS, 2.5)
    lumora.wait_window(CLOCK_CLASS)
