"""The help viewer as the program opens it and leaves it at exit."""
import shutil

from ids import COMMAND, IDCANCEL, WM_COMMAND
from lumora import LUMORA_EXE, MASTER_CLASS, lumora_processes

VIEWER = "HH Parent"


def open_help(lumora, env=None) -> None:
    shutil.copy2(LUMORA_EXE.parent / "Lumora.chm", lumora.folder / "Lumora.chm")
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start(env=env)
    lumora.wait_window(MASTER_CLASS, timeout=15)
    lumora.post(MASTER_CLASS, WM_COMMAND, COMMAND.Help)
    lumora.wait_window(VIEWER, timeout=20)


def test_a_help_window_left_open_closes_with_the_program(lumora):
    open_help(lumora)
    lumora.close()
    assert lumora.wait_exit(15) == 0
    assert lumora.find_window(VIEWER) is None
    assert lumora_processes(lumora.session.prefix) == []


def test_the_help_is_closed_first_at_exit(lumora):
    """The viewer's windows are closed while the program still runs, before the viewer is let go:
    the settings file that cannot be written holds the exit at its question, and by then the help
    window is gone."""
    open_help(lumora, env={"LUMORA_FAULT": "replace-held"})
    lumora.close()
    box = lumora.msgbox(timeout=15)
    assert lumora.find_window(VIEWER) is None
    lumora.press(box, IDCANCEL)
    assert lumora.wait_exit(15) == 0
    assert lumora_processes(lumora.session.prefix) == []
