"""The design pages of the options dialog: the colour box's custom entry, and the digit type
swapping the page's controls and switching off the outlines of page 1."""
from ids import (BM_SETCHECK, BN_CLICKED, CB_GETCOUNT, CB_GETCURSEL, IDCANCEL, IDC_DIGIT_FILE, IDC_DIGIT_TYPE,
                 IDC_DIGIT_UNTOUCHED, IDC_FONT_COLOR, IDC_FONT_NAME, IDC_OPTION_TREE, IDC_OUTER_FRAME,
                 IDC_SHADOW_COLOR, IDOK, VK_DOWN, WM_COMMAND, WM_NEXTDLGCTL)
from lumora import wait_until
from test_options import DIALOG, child, choose, open_options, page, start

PICKER_RED, PICKER_GREEN, PICKER_BLUE = 706, 707, 708  # the colour dialog's edit fields
NAMED_COLOURS = 46


def pick_custom(lumora, window: int, box: int) -> int:
    choose(lumora, window, IDC_FONT_COLOR, lumora.send(box, CB_GETCOUNT) - 1)
    return wait_until(lambda: lumora.driver.find("#32770", "色の指定"), timeout=10)


def test_custom_colour_entry(lumora):
    start(lumora, "[View]\nOptionSelectedTab=0\n[Design]\nDigitColor=$00563412\n")
    dialog = open_options(lumora)
    digit = page(lumora, dialog, 0)
    box = child(lumora, digit, IDC_FONT_COLOR)
    # A colour with no entry of its own shows as the extra entry before "カスタム...".
    assert lumora.send(box, CB_GETCURSEL) == NAMED_COLOURS
    choose(lumora, digit, IDC_FONT_COLOR, 0)

    lumora.post(pick_custom(lumora, digit, box), WM_COMMAND, IDCANCEL)
    wait_until(lambda: lumora.send(box, CB_GETCURSEL) == 0, timeout=10)

    picker = pick_custom(lumora, digit, box)
    for field, value in ((PICKER_RED, "1"), (PICKER_GREEN, "2"), (PICKER_BLUE, "3")):
        lumora.driver.set_text(child(lumora, picker, field), value)
    lumora.post(picker, WM_COMMAND, IDOK)
    wait_until(lambda: lumora.send(box, CB_GETCURSEL) == NAMED_COLOURS, timeout=10)
    lumora.post(dialog, WM_COMMAND, IDOK)
    lumora.wait_gone(DIALOG)
    assert "DigitColor=$00030201" in lumora.exit_and_read_settings()


def test_digit_type_swaps_controls_and_untouched_digits_lose_their_outlines(lumora):
    start(lumora, "[View]\nOptionSelectedTab=0\n[Design]\nDigitType=1\nShadow=1\n")
    dialog = open_options(lumora)
    digit = page(lumora, dialog, 0)
    visible = lambda control_id: lumora.info(child(lumora, digit, control_id)).visible
    assert visible(IDC_FONT_NAME) and not visible(IDC_DIGIT_FILE)
    choose(lumora, digit, IDC_DIGIT_TYPE, 2)
    wait_until(lambda: visible(IDC_DIGIT_FILE) and not visible(IDC_FONT_NAME), timeout=10)

    untouched = child(lumora, digit, IDC_DIGIT_UNTOUCHED)
    lumora.send(untouched, BM_SETCHECK, 1)
    lumora.post(digit, WM_COMMAND, (BN_CLICKED << 16) | IDC_DIGIT_UNTOUCHED, untouched)
    wait_until(lambda: not lumora.info(child(lumora, digit, IDC_FONT_COLOR)).enabled, timeout=10)
    # Page 1, made when first shown, follows page 0's colour rule.
    lumora.send(dialog, WM_NEXTDLGCTL, child(lumora, dialog, IDC_OPTION_TREE), 1)
    lumora.press_key(VK_DOWN)
    frame = page(lumora, dialog, 1)
    wait_until(lambda: lumora.info(frame).visible, timeout=10)
    assert not lumora.info(child(lumora, frame, IDC_OUTER_FRAME)).enabled
    assert not lumora.info(child(lumora, frame, IDC_SHADOW_COLOR)).enabled
