"""The options pages "時刻合わせ" and "時報": the server list's delete button with a typed name,
the radio clock refused without serial ports, and a sound typed for several wild-bird hours."""
from ids import (CB_GETCOUNT, CB_GETCURSEL, EM_SETSEL, IDC_ADJ_KIT_TIMEOUT, IDC_ADJ_METHOD, IDC_ADJ_NTP,
                 IDC_ADJ_NTP_DELETE, IDC_CK_FIRST, IDC_CK_MODE, IDC_CK_WILD_FILE, IDC_CK_WILD_LIST, IDOK, IDYES,
                 LVM_GETITEMCOUNT, LVM_GETNEXTITEM, LVM_GETSELECTEDCOUNT, LVNI_FOCUSED, VK_DOWN, VK_SHIFT, WM_CHAR,
                 WM_COMMAND, WM_NEXTDLGCTL, WM_RBUTTONDOWN, WM_RBUTTONUP)
from lumora import wait_until
from options_kit import post_click, press_apply, type_over
from test_menu import close_menu, open_menu
from test_options import child, choose, open_options, page, start

ADJUST, CUCKOO = 13, 12


def test_a_typed_server_name_leaves_the_list_and_no_ports_refuse_the_radio_clock(lumora):
    start(lumora, f"[View]\nOptionSelectedTab={ADJUST}\n[AdjustClock]\nAdjustType=1\nCurrentNTPServer=a.example\n"
                  "[NTPServer]\nServer1=a.example\nServer2=b.example\nServer3=c.example\n")
    dialog = open_options(lumora)
    adjust = page(lumora, dialog, ADJUST)
    combo = child(lumora, adjust, IDC_ADJ_NTP)
    edit = next(int(c["hwnd"]) for c in lumora.driver.children(combo) if c["class"] == "Edit")
    # Typed over the chosen entry "a.example": the typed name is the one that goes.
    lumora.send(edit, EM_SETSEL, 0, -1)
    for typed in "B.example":
        lumora.send(edit, WM_CHAR, ord(typed))
    wait_until(lambda: lumora.info(child(lumora, adjust, IDC_ADJ_NTP_DELETE)).enabled, timeout=10)
    post_click(lumora, adjust, IDC_ADJ_NTP_DELETE)
    box = lumora.msgbox(timeout=15)
    assert box.title == "Lumora" and box.text == '"B.example" をリストから削除しますか?'
    lumora.press(box, IDYES)
    wait_until(lambda: lumora.send(combo, CB_GETCOUNT) == 2, timeout=10)

    choose(lumora, adjust, IDC_ADJ_METHOD, 3)  # "電波時計", and the prefix has no serial port
    box = lumora.msgbox(timeout=15)
    assert box.text.startswith("システムにシリアル ポートがないため")
    lumora.press(box, IDOK)
    wait_until(lambda: lumora.send(child(lumora, adjust, IDC_ADJ_METHOD), CB_GETCURSEL) == 1, timeout=10)

    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone("TOptionForm")
    written = lumora.exit_and_read_settings()
    assert "Server1=a.example\r\nServer2=c.example\r\n" in written and "b.example" not in written
    assert "AdjustType=1\r\n" in written


def test_wild_bird_hours_take_the_typed_sound_together(lumora):
    start(lumora, f"[View]\nOptionSelectedTab={CUCKOO}\n[CuckooClock]\nCuckooClockMode=1\nWildBirdSound3=owl.wav\n")
    dialog = open_options(lumora)
    cuckoo = page(lumora, dialog, CUCKOO)
    field = child(lumora, cuckoo, IDC_CK_WILD_FILE)
    assert lumora.info(child(lumora, cuckoo, IDC_CK_FIRST)).visible
    choose(lumora, cuckoo, IDC_CK_MODE, 2)
    hours = child(lumora, cuckoo, IDC_CK_WILD_LIST)
    wait_until(lambda: lumora.info(hours).visible, timeout=10)
    assert lumora.send(hours, LVM_GETITEMCOUNT) == 24
    assert not lumora.info(child(lumora, cuckoo, IDC_CK_FIRST)).visible
    assert not lumora.info(field).enabled  # no hour selected yet

    lumora.send(dialog, WM_NEXTDLGCTL, hours, 1)
    for _ in range(3):  # down to "2 時", whose sound the field then shows
        lumora.press_key(VK_DOWN)
    wait_until(lambda: lumora.driver.get_text(field) == "owl.wav", timeout=10)
    with lumora.holding(VK_SHIFT):
        lumora.press_key(VK_DOWN)  # "2 時" and "3 時"; the field follows the focused hour
    wait_until(lambda: lumora.send(hours, LVM_GETSELECTEDCOUNT) == 2
               and lumora.send(hours, LVM_GETNEXTITEM, -1, LVNI_FOCUSED) == 3, timeout=10)
    wait_until(lambda: lumora.driver.get_text(field) == "", timeout=10)  # "3 時" has no sound
    lumora.driver.set_text(field, "lark.wav")
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone("TOptionForm")
    written = lumora.exit_and_read_settings()
    assert "WildBirdSound3=lark.wav\r\n" in written and "WildBirdSound4=lark.wav\r\n" in written


def test_the_radio_clock_applied_without_a_port_hides_its_command_and_keeps_the_port(lumora):
    start(lumora, f"[View]\nOptionSelectedTab={ADJUST}\nTaskTrayToolTipFormat=\"KIT tip\"\n"
                  "[AdjustClock]\nAdjustType=3\nCurrentJJYPort=COM1\n", env={"LUMORA_TEST_HOOKS": "1"})
    icon = lumora.tray_icon("KIT tip")

    def menu() -> str:
        lumora.post(icon, WM_RBUTTONDOWN, 2, 0)
        lumora.post(icon, WM_RBUTTONUP, 0, 0)
        described = open_menu(lumora)
        close_menu(lumora)
        return described

    # As the settings were read, a port is named; the prefix has no serial port at all.
    assert "id=103 text=電波時計で合わせる(&W)" in menu()
    dialog = open_options(lumora)
    type_over(lumora, page(lumora, dialog, ADJUST), IDC_ADJ_KIT_TIMEOUT, "20")
    press_apply(lumora, dialog)
    assert "id=103" not in menu()
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone("TOptionForm")
    written = lumora.exit_and_read_settings()
    assert "AdjustType=3\r\n" in written and "CurrentJJYPort=COM1\r\n" in written and "JJYTimeOut=20\r\n" in written
