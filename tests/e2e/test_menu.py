"""The popup menu: opened by a right click on the clock and on the icon, with every item in its
place and state; commands chosen from it by keyboard act on the clock; the commands that hand
over to Windows say what went wrong."""
import shutil
import subprocess
import time

import pytest

from face_kit import grab, wine_path
from ids import (COMMAND, SC_MONITORPOWER, SC_SCREENSAVE, VK_ESCAPE, VK_RETURN, VK_RIGHT, WM_COMMAND, WM_RBUTTONDOWN,
                 WM_RBUTTONUP)
from lumora import LUMORA_EXE, MASTER_CLASS, wait_until

CLOCK, MENU = "TLumoraForm", "#32768"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
DESCRIBE_MENU = 9
SYSTEM_COMMANDS_CARRIED_OUT = 20

pytestmark = pytest.mark.usefixtures("coloured_desktop")

# With an SNTP server set, the test pattern shown, a time difference and the clock fixed.
SETTINGS = ("[View]\nPlacement=1,400,300\nTaskTrayToolTipFormat=\"MENU tip\"\n[Operation]\nFixed=1\n"
            "[WorldClock]\nTimeDiffTime=0.125\n[AdjustClock]\nAdjustType=1\nCurrentNTPServer=127.0.0.1\n"
            "[Omake]\nShowTestPattern=1\n")
EXPECTED = """\
id=101 text=オプション(&O)... default
----
id=0 text=時刻合わせ(&J)
  id=102 text=インターネットで合わせる(&N)
  ----
  id=104 text=正時に合わせる(&Z)
id=105 text=世界時計(&W)... checked
----
id=121 text=タイマー(&T)...
----
id=0 text=配置(&Z)
  id=106 text=通常の配置(&N)
  id=107 text=手前に配置する(&T) radio
  id=108 text=常に手前に配置する(&S)
  id=109 text=手前に配置しない(&B)
id=0 text=移動(&M)
  id=100 text=方向キーで移動(&M)
  ----
  id=110 text=左上(&L)
  id=111 text=右上(&T)
  id=112 text=右下(&R)
  id=113 text=左下(&B)
id=114 text=位置を固定する(&F) checked
----
id=115 text=透明度の設定(&P)...
----
id=0 text=ツール(&L)
  id=116 text=テストパターンを表示(&T)
  ----
  id=117 text=スクリーン セーバを起動(&E)
  id=118 text=スクリーン セーバの設定(&C)
  id=119 text=モニタの電源を切る(&F)
  ----
  id=120 text=日付と時刻のプロパティ(&R)
----
id=122 text=ヘルプ(&H)
id=123 text=バージョン情報(&A)...
----
id=125 text=Lumora の終了(&X)
"""


def start(lumora, ini: str = SETTINGS) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env=HOOKS)
    lumora.wait_window(CLOCK, timeout=15)
    wait_until(lambda: lumora.info(CLOCK).visible, timeout=10)
    lumora.move_tray_aside()


def xdotool(lumora, *args: object) -> None:
    subprocess.run(["xdotool", *(str(a) for a in args)], env=lumora.session.env, check=True, timeout=10)


def right_click_clock(lumora) -> tuple[int, int]:
    """On a white pixel of a digit: the clear parts of the face let clicks through."""
    rect = lumora.info(CLOCK).rect
    face = grab(lumora, rect, "face.png")
    x, y = next((rect[0] + x, rect[1] + y) for y in range(face.height) for x in range(face.width)
                if face.getpixel((x, y)) == (255, 255, 255))
    xdotool(lumora, "mousemove", x, y, "mousedown", 3)
    xdotool(lumora, "mouseup", 3)
    return x, y


def menu_shown(lumora) -> bool:
    return any(w["visible"] == "1" for w in lumora.all_windows(MENU))


def open_menu(lumora) -> str:
    """The description of the menu on screen, as the program built it."""
    wait_until(lambda: menu_shown(lumora), timeout=10)
    described = lumora.folder / "menu.txt"
    assert lumora.copydata(DESCRIBE_MENU, wine_path(described)) == 1
    return described.read_text(encoding="utf-8")


def close_menu(lumora) -> None:
    lumora.press_key(VK_ESCAPE)
    lumora.press_key(VK_ESCAPE)  # out of a submenu as well
    wait_until(lambda: not menu_shown(lumora), timeout=5)
    lumora.answers()  # gone from a program that still runs, not with it


@pytest.mark.parametrize("look", ["", "ShowMenuIcon=1\nUseModernMenu=1\n"], ids=["classic", "modern"])
def test_the_menu_opens_on_the_clock_and_on_the_icon_with_every_item_in_place(lumora, look):
    start(lumora, SETTINGS + "[View]\n" + look)
    clicked = time.monotonic()
    x, y = right_click_clock(lumora)
    assert open_menu(lumora) == EXPECTED
    opened = time.monotonic() - clicked
    menu = lumora.info(lumora.find_window(MENU))
    assert abs(menu.rect[0] - x) <= 2 and abs(menu.rect[1] - y) <= 2, "at the cursor"
    lumora.screenshot(lumora.folder / "menu.png")
    close_menu(lumora)
    print(f"right click to menu on screen: {opened:.2f} s")

    icon = lumora.tray_icon("MENU tip")
    lumora.post(icon, WM_RBUTTONDOWN, 2, 0)
    lumora.post(icon, WM_RBUTTONUP, 0, 0)
    assert open_menu(lumora) == EXPECTED
    close_menu(lumora)
    assert lumora.running


def choose(lumora, keys: str, clicks: int = 3) -> None:
    """Keys typed into the menu, once it is on screen (a click that came while the clock was
    still in the system's move loop opens none: then the click is given again)."""
    for click in range(1, clicks + 1):
        right_click_clock(lumora)
        try:
            wait_until(lambda: menu_shown(lumora), timeout=8)
            break
        except TimeoutError:
            if click == clicks:
                raise AssertionError(f"no menu after {clicks} right clicks") from None
    for key in keys:
        lumora.press_key(ord(key))


def test_commands_chosen_by_keyboard_act_and_exit_writes_the_settings(lumora):
    start(lumora, "[View]\nPlacement=0,400,300\n")
    choose(lumora, "ZB")  # 配置 → 手前に配置しない
    close_menu(lumora)
    right_click_clock(lumora)
    assert "id=109 text=手前に配置しない(&B) radio" in open_menu(lumora)
    close_menu(lumora)

    choose(lumora, "ML")  # 移動 → 左上
    wait_until(lambda: lumora.info(CLOCK).rect[:2] < (40, 40), timeout=5)
    left = lumora.info(CLOCK).rect[0]
    choose(lumora, "MM")  # 移動 → 方向キーで移動: the system's move loop
    for key in (VK_RIGHT, VK_RIGHT, VK_RETURN):
        lumora.press_key(key)
    wait_until(lambda: lumora.info(CLOCK).rect[0] > left, timeout=5)
    choose(lumora, "F")  # 位置を固定する
    right_click_clock(lumora)
    assert "id=114 text=位置を固定する(&F) checked" in open_menu(lumora)
    lumora.press_key(ord("X"))  # Lumora の終了
    assert lumora.wait_exit(timeout=15) == 0
    written = lumora.read_settings()
    assert "Placement=3," in written and "\nFixed=1" in written


def test_screen_saver_and_help_commands_say_what_is_missing(lumora):
    start(lumora, "")
    for command in (COMMAND.ScreenSave, COMMAND.ScreenSaveConfig):
        lumora.post(MASTER_CLASS, WM_COMMAND, command)
        box = lumora.msgbox(timeout=15)
        assert box.title == "Lumora"
        assert box.text == ("スクリーン セーバなしに設定されています。"
                            "コントロール パネルの [画面] でスクリーン セーバを設定しておいてください。")
        lumora.press(box, 1)

    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Help)
    box = lumora.msgbox(timeout=15)
    assert box.text.startswith("ヘルプ ファイルが見つかりません。")
    lumora.press(box, 1)

    # The real help file opens in the system's viewer (Wine's shows the contents; its pages need
    # Wine's HTML engine, which is not installed here).
    shutil.copy2(LUMORA_EXE.parent / "Lumora.chm", lumora.folder / "Lumora.chm")
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Help)
    viewer = lumora.wait_window("HH Parent", timeout=20)
    lumora.close(viewer)
    lumora.wait_gone("HH Parent", timeout=10)

    # A file of that name that is not a help file.
    (lumora.folder / "Lumora.chm").write_bytes(b"ITSF but not really")
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Help)
    box = lumora.msgbox(timeout=20)
    assert box.text.startswith("ヘルプを表示できません。")
    lumora.press(box, 1)
    assert lumora.running


def test_the_menu_belongs_to_a_window_that_can_take_the_foreground_and_a_click_elsewhere_closes_it(lumora):
    """The master window is disabled, and Windows activates no disabled window: a menu tracked
    for it would not close on a click outside it (Wine would let that pass)."""
    start(lumora)
    for _ in range(2):  # and the next menu opens as well
        right_click_clock(lumora)
        wait_until(lambda: menu_shown(lumora), timeout=10)
        owner = lumora.info(lumora.driver.foreground())
        assert owner.pid == lumora.pid() and owner.enabled and not owner.visible, owner
        xdotool(lumora, "mousemove", 60, 740, "click", 1)  # the bare desktop
        wait_until(lambda: not menu_shown(lumora), timeout=5)
        lumora.answers()


@pytest.fixture
def screen_saver(lumora):
    """A screen saver chosen in the desktop's settings (a file is all the command looks for)."""
    saver = lumora.folder / "stars.scr"
    saver.write_bytes(b"MZ")
    key = r"HKCU\Control Panel\Desktop"
    lumora.session._run(["wine", "reg", "add", key, "/v", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", wine_path(saver),
                         "/f"])
    try:
        yield
    finally:
        lumora.session._run(["wine", "reg", "delete", key, "/v", "SCRNSAVE.EXE", "/f"])


def test_screen_saver_and_monitor_off_go_to_a_window_whose_default_procedure_carries_them_out(lumora, screen_saver):
    """Windows' default window procedure carries out no system command for a disabled window.
    Under Wine neither command has a visible effect; the program's hook counts the commands the
    default procedure took up."""
    start(lumora, "")
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.ScreenSave)
    wait_until(lambda: lumora.copydata(SYSTEM_COMMANDS_CARRIED_OUT, str(SC_SCREENSAVE)) == 1, timeout=10)
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.MonitorOff)
    wait_until(lambda: lumora.copydata(SYSTEM_COMMANDS_CARRIED_OUT, f"{SC_MONITORPOWER}|2") == 1, timeout=10)
    lumora.expect_no_msgbox()
