"""The caption: where it stands and what it looks like, how it ends (by itself, by a click, by the
next caption), its sound, and text that makes no sense. Captions are opened through the test
hooks, as the time signal and the timer open them."""
import time

import pytest

from face_kit import DESKTOP, grab, wine_path
from ids import COMMAND, WM_COMMAND, WM_LBUTTONDOWN, WS_EX_TOOLWINDOW, WS_EX_TOPMOST
from kit import stays, write_sine
from lumora import DRIVER_EXE, MASTER_CLASS, wait_until

CLOCK, TELOP = "TLumoraForm", "TTelopForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
APPLY_SETTINGS, SHOW_TELOP = 6, 7
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
NEWS = "Lumora 時報\r\nLumora が 10 時 00 分をお知らせします。\r\nLumora 時報／終"


pytestmark = pytest.mark.usefixtures("coloured_desktop")


def start(lumora, ini: str = "", env: dict | None = None) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env={**HOOKS, **(env or {})})
    lumora.wait_window(CLOCK, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    lumora.move_tray_aside()


def show(lumora, text: str, sound: bool = False) -> None:
    assert lumora.copydata(SHOW_TELOP, f"{int(sound)}|{text}") == 1


def captions(lumora) -> list[int]:
    return [int(w["hwnd"]) for w in lumora.all_windows(TELOP)]


def test_a_caption_stands_at_the_top_centre_in_place_of_the_clock_and_closes_by_itself(lumora):
    start(lumora, "[Telop]\nChangeSpeed=2000\n")
    assert lumora.work_area()[1] == (0, 0, 1280, 800)
    show(lumora, NEWS)
    shown_at = time.monotonic()
    lumora.wait_window(TELOP)
    wait_until(lambda: lumora.info(TELOP).visible, timeout=10)
    caption = lumora.info(TELOP)
    # On the 1280 x 800 screen: three quarters of the width (960) centred, 16 pixels from the top,
    # three rows of a 40-pixel font (a twentieth of the height) with their rims.
    assert caption.rect[:3] == (160, 16, 1120), caption.rect
    assert caption.height >= 120, caption.rect
    assert caption.exstyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW) == WS_EX_TOPMOST | WS_EX_TOOLWINDOW
    assert not lumora.info(CLOCK).visible
    # White glyphs in a black rim, not smoothed; the key colour lets the desktop through (once the
    # window system has composed the first picture, which a busy machine may take a moment for).
    colours = lambda: set(grab(lumora, caption.rect).getdata())  # noqa: E731
    wait_until(lambda: colours() == {WHITE, BLACK, DESKTOP}, timeout=10, interval=0.3)
    # Three lines of 2 s, twice, with 2 s hidden between the passes: 14 s.
    lumora.wait_gone(TELOP, timeout=30)
    assert time.monotonic() - shown_at > 10
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)

    # With the clock kept bottom-most, the caption stays below other windows although it asks
    # to be top-most.
    def stack() -> list[str]:
        return [w["class"] for w in lumora.driver.stack()]

    lumora.spawn([str(DRIVER_EXE), "cover", "60000", "Cover"])
    wait_until(lambda: "LumoraDriverCover" in stack(), timeout=15)
    assert lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.BottomMost) == 0
    show(lumora, NEWS)
    wait_until(lambda: TELOP in stack(), timeout=10)
    order = stack()
    assert order.index("LumoraDriverCover") < order.index(TELOP)


def test_a_click_ends_the_caption_and_its_sound_and_a_new_caption_replaces_the_old(lumora, tmp_path):
    tone = write_sine(tmp_path / "long.wav", 40.0)
    alsa = tmp_path / "asound.conf"
    alsa.write_text("pcm.!default { type null }\n")
    start(lumora, f"[Telop]\nSound=1\nSoundFile={wine_path(tone)}\n", env={"ALSA_CONFIG_PATH": str(alsa)})
    show(lumora, NEWS, sound=False)
    first = lumora.wait_window(TELOP)
    assert stays(lambda: not lumora.playing(), 1.0), "played although the caller did not allow it"

    show(lumora, NEWS, sound=True)
    wait_until(lambda: captions(lumora) not in ([], [first]), timeout=10)
    second = captions(lumora)
    assert len(second) == 1 and second[0] != first
    wait_until(lumora.playing, timeout=10)

    lumora.post(second[0], WM_LBUTTONDOWN, 1, 10 << 16 | 10)
    lumora.wait_gone(TELOP, timeout=10)
    wait_until(lambda: not lumora.playing(), timeout=10)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)


def test_text_and_settings_that_make_no_sense_do_no_harm(lumora):
    start(lumora, "[Telop]\nScroll=1\nScrollSpeed=0\nFlash=1\nFlashSpeed=10\nChangeSpeed=1000\n"
                  "FontName=No Such Font Anywhere\n")
    _, screen = lumora.work_area()

    def inside() -> bool:
        left, top, right, bottom = lumora.info(TELOP).rect
        return screen[0] <= left < right <= screen[2] and screen[1] <= top < bottom <= screen[3]

    # No line at all: no caption, and the clock stays.
    show(lumora, "")
    show(lumora, "\r\n\r\n")
    lumora.expect_absent(TELOP, 1.5)
    assert lumora.info(CLOCK).visible

    long_line = "長い知らせ、" * 334  # 2,004 characters, no blank to break at
    for flash_count in (99, 0):
        # Counts only a hand-edited file holds (the options dialog keeps its field within 1 to 10),
        # taken as the settings file's are read.
        assert lumora.copydata(APPLY_SETTINGS, f"[Telop]\nFlashCount={flash_count}\n") == 1
        # Only blanks: an empty picture that still runs its course.
        show(lumora, "   \r\n \r\n   ")
        lumora.wait_window(TELOP)
        assert inside()
        lumora.wait_gone(TELOP, timeout=20)
        # Typed out at the shortest interval, page after page, inside the caption.
        show(lumora, f"Title\r\n{long_line}\r\nEnd")
        lumora.wait_window(TELOP)
        assert stays(lambda: len(captions(lumora)) == 1 and inside(), 2.0)
    assert lumora.running and lumora.find_window("TFatalErrorForm") is None
    lumora.answers()
    assert not lumora.playing()
