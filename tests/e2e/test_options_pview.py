"""Display pages of the options dialog: removing excluded windows and where the selection goes,
and the tooltip format preview following its box and its style."""
from face_kit import grab
from ids import (BN_CLICKED, IDC_IGNORE_LIST, IDC_IGNORE_REMOVE, IDC_OPTION_APPLY, IDC_TOOLTIP_COMBO,
                 IDC_TOOLTIP_FORMAT_COMBO, IDC_TOOLTIP_PREVIEW, LVM_GETITEMCOUNT, LVM_GETNEXTITEM, LVNI_SELECTED,
                 VK_END, VK_HOME, WM_COMMAND, WM_NEXTDLGCTL)
from lumora import wait_until
from test_options import CLOCK, apply_enabled, child, choose, open_options, page, start

NOON = "@2026-01-05 12:00:00"


def test_removing_excluded_windows_selects_the_row_above(lumora):
    rows = "".join(f'Window{i + 1}="{name}","{name}Class"\n' for i, name in enumerate("ABCDE"))
    start(lumora, "[View]\nOptionSelectedTab=8\n[IgnoreWindows]\n" + rows)
    dialog = open_options(lumora)
    holder = page(lumora, dialog, 8)
    listview, remove = child(lumora, holder, IDC_IGNORE_LIST), child(lumora, holder, IDC_IGNORE_REMOVE)
    assert not lumora.info(remove).enabled  # nothing selected yet

    def remove_with(key: int) -> int:
        lumora.send(dialog, WM_NEXTDLGCTL, listview, 1)
        lumora.press_key(key)
        wait_until(lambda: lumora.info(remove).enabled, timeout=5)
        lumora.send(holder, WM_COMMAND, (BN_CLICKED << 16) | IDC_IGNORE_REMOVE, remove)
        return lumora.send(listview, LVM_GETNEXTITEM, -1, LVNI_SELECTED)

    assert remove_with(VK_END) == 3  # the last of five: the new last row
    assert remove_with(VK_HOME) == -1  # the first: none
    assert lumora.send(listview, LVM_GETITEMCOUNT) == 3
    assert not lumora.info(remove).enabled and apply_enabled(lumora, dialog)

    lumora.post(dialog, WM_COMMAND, IDC_OPTION_APPLY)
    wait_until(lambda: not apply_enabled(lumora, dialog), timeout=10)
    written = lumora.exit_and_read_settings()
    assert 'Window1="B","BClass"' in written and 'Window3="D","DClass"' in written
    assert "Window4" not in written


def test_the_format_preview_follows_its_box_and_the_style(lumora):
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nOptionSelectedTab=6\nToolTipStyle=1\nToolTipFormat=yyyy/mm/dd\n")
    lumora.start(faketime=NOON)
    lumora.wait_window(CLOCK, timeout=15)
    dialog = open_options(lumora)
    holder = page(lumora, dialog, 6)
    preview = child(lumora, holder, IDC_TOOLTIP_PREVIEW)
    assert lumora.driver.get_text(preview) == "2026/01/05"

    # A chosen entry shows at once, though its box still holds the previous text when it says so.
    choose(lumora, holder, IDC_TOOLTIP_FORMAT_COMBO, 7)  # "yyyy-mm-dd"
    wait_until(lambda: lumora.driver.get_text(preview) == "2026-01-05", timeout=5)

    left, top, right, bottom = lumora.info(preview).rect
    corner = (left + 4, top + 4, left + 5, top + 5)  # inside the border, clear of the centred text
    page_left, page_top = lumora.info(holder).rect[:2]
    enabled = grab(lumora, corner).getpixel((0, 0))
    choose(lumora, holder, IDC_TOOLTIP_COMBO, 0)  # no tooltip: the preview takes the page's colour
    wait_until(lambda: not lumora.info(preview).enabled, timeout=5)
    disabled = grab(lumora, corner).getpixel((0, 0))
    blank = grab(lumora, (page_left + 2, page_top + 200, page_left + 3, page_top + 201)).getpixel((0, 0))
    assert disabled == blank and enabled != disabled
