"""The options dialog driven as the user drives it, for tests whose change comes from there: a
page chosen in the tree, a field typed over key by key, a check box clicked and 適用(&A) pressed."""
from ids import BM_CLICK, BN_CLICKED, EM_SETSEL, IDC_OPTION_APPLY, WM_CHAR, WM_COMMAND
from lumora import wait_until
from test_options import apply_enabled, child, select_page, tree_items



def post_click(lumora, holder: int, control_id: int) -> None:
    """The button's click as its page hears it, posted: the sender never waits on a dialog the
    button opens."""
    lumora.post(holder, WM_COMMAND, (BN_CLICKED << 16) | control_id, child(lumora, holder, control_id))


def show_page(lumora, dialog: int, index: int) -> int:
    """Selects the page in the tree; its window once it shows."""
    return select_page(lumora, dialog, index, tree_items(lumora, dialog))


def type_over(lumora, holder: int, control_id: int, text: str) -> None:
    """Types over a field's whole text, once the field takes input."""
    field = child(lumora, holder, control_id)
    wait_until(lambda: lumora.info(field).enabled, timeout=10)
    lumora.send(field, EM_SETSEL, 0, -1)
    for typed in text:
        lumora.send(field, WM_CHAR, ord(typed))
    assert lumora.driver.get_text(field) == text


def click(lumora, holder: int, control_id: int) -> None:
    """A click on a check box or a button the user could click: shown and enabled."""
    button = child(lumora, holder, control_id)
    wait_until(lambda: (lambda i: i.visible and i.enabled)(lumora.info(button)), timeout=10)
    lumora.post(button, BM_CLICK)


def press_apply(lumora, dialog: int) -> None:
    """Presses 適用(&A) once the edits have enabled it; the master has taken the settings when the
    dialog disables it again."""
    click(lumora, dialog, IDC_OPTION_APPLY)
    wait_until(lambda: not apply_enabled(lumora, dialog), timeout=15)
