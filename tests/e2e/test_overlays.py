"""The broadcast around the clock on a screen of two monitors: the call sign and the logo in their
corners of every monitor, the omake windows of the first show, and the test pattern."""
import subprocess
import time

import pytest
from PIL import Image

from face_kit import DESKTOP, wine_path
from ids import (COMMAND, IDC_ANIMATION_COMBO, IDC_OMK_LOGO_POSITION, WM_COMMAND, WM_DISPLAYCHANGE, WM_KEYDOWN,
                 WM_LBUTTONDOWN, WM_RBUTTONDOWN, WS_EX_LAYERED, WS_EX_TOOLWINDOW, WS_EX_TOPMOST, WS_EX_TRANSPARENT)
from kit import MovableClock, local_instant, week
from lumora import DRIVER_EXE, MASTER_CLASS, LumoraApp, wait_until
from options_kit import press_apply, show_page
from test_options import choose, open_options

CLOCK, CALL_SIGN, LOGO = "TLumoraForm", "TCallSignForm", "TLogoForm"
OMAKE, PATTERN, TELOP = "TOmakeForm", "TTestPatternForm", "TTelopForm"
MONITORS = [(0, 0, 1280, 800), (0, 0, 1024, 768)]
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
SHOW_TELOP = 7
OMAKE_PAGE = 15
EFFECTS_PAGE = 5
YELLOW, BLUE = (255, 200, 0), (0, 0, 255)


@pytest.fixture
def app(two_monitors, tmp_path):
    lumora = LumoraApp(two_monitors, tmp_path)
    try:
        yield lumora
    finally:
        lumora.end()


def start(app: LumoraApp, ini: str) -> None:
    app.write_settings("[Boot]\nShowSplash=0\n" + ini)
    app.start(env=HOOKS)
    app.wait_window(CLOCK, timeout=15)


def shown(app: LumoraApp, cls: str) -> list:
    return [info for info in (app.info(int(w["hwnd"])) for w in app.all_windows(cls)) if info.visible]


def wait_shown(app: LumoraApp, cls: str, count: int, timeout: float = 15) -> list:
    wait_until(lambda: len(shown(app, cls)) == count, timeout=timeout)
    return shown(app, cls)


def wait_closed(app: LumoraApp, cls: str, timeout: float = 10) -> float:
    """Waits until the program has closed every window of the class, then proves it still answers
    and none comes back (windows vanish with a dead program too); returns when they were gone."""
    wait_until(lambda: not app.all_windows(cls), timeout=timeout)
    gone = time.monotonic()
    app.expect_absent(cls, 0.5)
    return gone


def logo_file(folder) -> str:
    """640 x 100: blue (the clear colour, as the bottom-left pixel says) with a yellow block."""
    image = Image.new("RGB", (640, 100), BLUE)
    image.paste(YELLOW, (200, 20, 440, 80))
    path = folder / "logo.bmp"
    image.save(path)
    return wine_path(path)


def test_call_signs_and_logos_stand_faint_in_their_corners_and_let_clicks_through(app):
    cover = app.spawn([str(DRIVER_EXE), "cover", "60000", "Below"])
    wait_until(lambda: app.find_window("LumoraDriverCover") is not None, timeout=15)
    start(app, "[Omake]\nCallSignWindow=1\nCallSignAlignment=1\nCallSign=JOLU\n"
               f"LogoWindow=1\nLogoAlignment=0\nLogoFile={logo_file(app.folder)}\n")
    call_signs = wait_shown(app, CALL_SIGN, 2)
    logos = wait_shown(app, LOGO, 2)

    # Lower right, 48 in from the side and the bottom of each monitor; upper left, 5 in.
    assert sorted((c.rect[2], c.rect[3]) for c in call_signs) == sorted((r - 48, b - 48) for _, _, r, b in MONITORS)
    assert [logo.rect for logo in logos] == [(5, 5, 325, 105)] * 2  # 640 wide squeezed to 320
    for window in call_signs + logos:
        wanted = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_TRANSPARENT
        assert window.exstyle & wanted == wanted

    # The blue of the picture is clear; the yellow shows at a quarter (Xvfb composes nothing, so
    # there it lies over black rather than over the desktop).
    shot = Image.open(app.screenshot()).convert("RGB")
    assert shot.getpixel((5 + 50, 50)) != BLUE
    yellow = shot.getpixel((5 + 160, 50))
    assert yellow != YELLOW and all(abs(c - y // 4) <= 2 + d * 3 // 4 for c, y, d in zip(yellow, YELLOW, DESKTOP))

    # A click on the logo reaches the window below it.
    subprocess.run(["xdotool", "mousemove", "165", "50", "click", "1"], env=app.session.env, check=True, timeout=10)
    wait_until(lambda: "cover-click=165,50" in app.log.read_text(errors="replace"), timeout=10)
    # With the clock kept at the bottom, so are they.
    assert app.send(MASTER_CLASS, WM_COMMAND, COMMAND.BottomMost) == 0
    order = [w["class"] for w in app.driver.stack()]
    assert order.index("LumoraDriverCover") < min(order.index(CALL_SIGN), order.index(LOGO))
    cover.kill()

    # A logo file that is not a picture shows no logo and costs nothing else. The logos are built
    # afresh when the options dialog moves them to the right (and the call signs with them when
    # its Apply changes the caption font they share to the entry its font list shows).
    (app.folder / "logo.bmp").write_bytes(b"BM not really a bitmap")
    dialog = open_options(app)
    choose(app, show_page(app, dialog, OMAKE_PAGE), IDC_OMK_LOGO_POSITION, 1)  # "右側"
    press_apply(app, dialog)
    wait_closed(app, LOGO)
    assert len(shown(app, CALL_SIGN)) == 2


def test_the_test_pattern_covers_every_monitor_until_a_click(app):
    start(app, "[Omake]\nShowTestPattern=1\nCallSignWindow=1\nStationName=ルモラ放送\nCallSign=JOLU\n")
    wait_shown(app, CALL_SIGN, 2)
    app.post(MASTER_CLASS, WM_COMMAND, COMMAND.TestPattern)
    patterns = wait_shown(app, PATTERN, 2)
    assert sorted(p.rect for p in patterns) == sorted(MONITORS)
    for pattern in patterns:
        assert pattern.exstyle & WS_EX_TOOLWINDOW and not pattern.exstyle & WS_EX_TOPMOST
    assert len(app.all_windows(CALL_SIGN)) == 2 and not shown(app, CALL_SIGN), "the call signs make way for the pattern"

    # The later window, monitor 2's (1024 x 768, the standard bars), lies on top: columns of
    # 146, rows of 69. The banner names the monitor (looked at in the screenshot).
    shot = Image.open(app.screenshot()).convert("RGB")
    assert shot.getpixel((73, 20)) == (192, 192, 192)
    assert shot.getpixel((146 + 73, 20)) == (255, 255, 0)
    assert shot.getpixel((6 * 146 + 20, 20)) == (0, 0, 255)
    assert shot.getpixel((73, 7 * 69 + 20)) == (0, 0, 255)
    assert shot.getpixel((10, 767)) == (0, 0, 128)
    banner = {shot.getpixel((x, y)) for x in range(0, 1024, 2) for y in (768 // 3 - 30, 768 // 3 + 30)}
    assert {(255, 255, 255), (0, 0, 0)} <= banner
    # Monitor 1's pattern below it, once the other is moved aside: 1280 x 800, columns of 182.
    top = next(p for p in patterns if p.rect == (0, 0, 1024, 768))
    app.driver.move(top.hwnd, 1280, 0)
    shot = Image.open(app.screenshot(app.folder / "monitor1.png")).convert("RGB")
    assert shot.getpixel((182 + 91, 20)) == (255, 255, 0) and shot.getpixel((1279, 20)) == (0, 0, 255)

    # The command does nothing while the pattern is up; keys do nothing; a button closes all.
    assert app.send(MASTER_CLASS, WM_COMMAND, COMMAND.TestPattern) == 0
    app.send(patterns[0].hwnd, WM_KEYDOWN, 0x20)
    assert len(app.all_windows(PATTERN)) == 2
    app.post(patterns[0].hwnd, WM_RBUTTONDOWN, 2)
    wait_closed(app, PATTERN)
    wait_shown(app, CALL_SIGN, 2, timeout=10)

    # A display change closes the pattern and builds the call signs afresh for the new monitors.
    before = {w.hwnd for w in shown(app, CALL_SIGN)}
    assert app.send(MASTER_CLASS, WM_COMMAND, COMMAND.TestPattern) == 0
    assert len(app.all_windows(PATTERN)) == 2
    assert app.send(MASTER_CLASS, WM_DISPLAYCHANGE, 24, 800 << 16 | 1280) == 0
    app.expect_absent(PATTERN, 0.5)
    after = {w.hwnd for w in shown(app, CALL_SIGN)}
    assert len(after) == 2 and not after & before


def test_omake_windows_come_with_the_first_show_and_go_on_a_click(app):
    # The clock in the right half of both monitors: the omake windows keep to the top left, 16 in.
    start(app, "[View]\nPlacement=0,700,300\n[Omake]\nOmakeWindow=1\n")
    windows = wait_shown(app, OMAKE, 2)
    assert [w.rect[:2] for w in windows] == [(16, 16)] * 2
    clock = app.info(CLOCK)
    assert all(w.rect[2] <= clock.rect[0] for w in windows), "beside the clock, never over it"
    # Sent, not posted: the click has been handled when the call returns, seconds before the
    # windows' own time is up, so they must be gone at once.
    app.send(windows[1].hwnd, WM_LBUTTONDOWN, 1)
    app.expect_absent(OMAKE, 0.5)


def test_omake_windows_go_by_themselves_and_when_a_caption_opens(app):
    start(app, "[Omake]\nOmakeWindow=1\n")
    wait_shown(app, OMAKE, 2)
    appeared = time.monotonic()
    # A mark stays 5 s, a text 10 s.
    assert wait_closed(app, OMAKE, timeout=20) - appeared > 3.5
    app.end()

    start(app, "[Omake]\nOmakeWindow=1\n")
    wait_shown(app, OMAKE, 2)
    # Handled when the call returns: the windows go then, not when their time is up.
    assert app.copydata(SHOW_TELOP, "0|お知らせ\r\n本文\r\n終") == 1
    app.expect_absent(OMAKE, 0.5)
    app.wait_window(TELOP)


def test_a_pattern_that_fails_on_one_monitor_closes_on_all(app):
    app.write_settings("[Boot]\nShowSplash=0\n[Omake]\nCallSignWindow=1\n")
    app.start(env={"LUMORA_FAULT": "test-pattern-2"})
    app.wait_window(CLOCK, timeout=15)
    wait_shown(app, CALL_SIGN, 2)
    for _ in range(2):  # the command is given back, and nothing is left behind to close
        assert app.send(MASTER_CLASS, WM_COMMAND, COMMAND.TestPattern) == 0
        app.expect_absent(PATTERN, 0.5)
        assert len(shown(app, CALL_SIGN)) == 2


def topmost(app: LumoraApp, window: int) -> bool:
    return bool(app.info(window).exstyle & WS_EX_TOPMOST)


def test_every_apply_builds_the_logos_afresh_and_every_stacking_command_restacks(app):
    # The logo file is broken at the start: no logo.
    (app.folder / "logo.bmp").write_bytes(b"BM not really a bitmap")
    start(app, f"[View]\nPlacement=1,600,300\n[Omake]\nCallSignWindow=1\nLogoWindow=1\n"
               f"LogoFile={wine_path(app.folder / 'logo.bmp')}\n")
    before = {w.hwnd for w in wait_shown(app, CALL_SIGN, 2)}
    app.expect_absent(LOGO, 0.5)

    # Mended on disk, it shows after an Apply that changed nothing of the overlays; the call
    # signs are built afresh too.
    logo_file(app.folder)
    dialog = open_options(app)
    choose(app, show_page(app, dialog, EFFECTS_PAGE), IDC_ANIMATION_COMBO, 1)
    press_apply(app, dialog)
    logos = wait_shown(app, LOGO, 2)
    call_signs = wait_shown(app, CALL_SIGN, 2)
    assert not {w.hwnd for w in call_signs} & before

    # Another program's window pushes itself in front of them; the mode already checked puts
    # them in front again, and the clock last.
    app.spawn([str(DRIVER_EXE), "cover", "60000", "Pushy"])
    wait_until(lambda: app.find_window("LumoraDriverCover") is not None, timeout=15)
    order = [int(w["hwnd"]) for w in app.driver.stack()]
    cover = order.index(app.find_window("LumoraDriverCover"))
    assert all(order.index(w.hwnd) > cover for w in logos + call_signs)
    assert app.send(MASTER_CLASS, WM_COMMAND, COMMAND.TopMost) == 0
    order = [int(w["hwnd"]) for w in app.driver.stack()]
    cover = order.index(app.find_window("LumoraDriverCover"))
    assert order.index(app.find_window(CLOCK)) < cover
    assert all(order.index(w.hwnd) < cover and topmost(app, w.hwnd) for w in logos + call_signs)


def test_the_first_show_gives_the_overlays_the_clocks_stacking(app, tmp_path):
    # Monday 9:30 is a hidden minute: the logos and call signs come, top-most, with the first
    # pass; the clock's first show, with the next minute, gives them its ordinary place.
    clock = MovableClock(tmp_path, "@2026-01-05 09:30:00")
    app.write_settings(f"[Boot]\nShowSplash=0\n[View]\nPlacement=0,600,300\nVisibleHours={week('1', {570: '0'})}\n"
                       f"[Omake]\nCallSignWindow=1\nLogoWindow=1\nLogoFile={logo_file(app.folder)}\n")
    app.start(env={**HOOKS, **clock.env()})
    overlays = wait_shown(app, LOGO, 2) + wait_shown(app, CALL_SIGN, 2)
    assert not app.info(CLOCK).visible
    assert all(topmost(app, w.hwnd) for w in overlays)
    clock.set_at(local_instant("2026-01-05 09:31:00"))
    wait_until(lambda: app.info(CLOCK).visible, timeout=10)
    assert not any(topmost(app, w.hwnd) for w in overlays)
