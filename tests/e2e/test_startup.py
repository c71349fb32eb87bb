"""Start and end of the real program."""
from lumora import MASTER_CLASS


def test_start_and_close_writes_settings(lumora):
    assert not lumora.settings_path.exists()
    lumora.start()
    hwnd = lumora.wait_window(MASTER_CLASS, timeout=15)
    assert not lumora.info(hwnd).visible

    assert lumora.close()
    assert lumora.wait_exit(10) == 0
    assert lumora.find_window(MASTER_CLASS) is None
    written = lumora.read_settings()
    assert "[View]" in written and "[Boot]" in written
