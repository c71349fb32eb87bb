"""Where Windows keeps the foreground from a background program: a second start lets the running
copy bring its options dialog forward (Wine has no foreground lock: the fault foreground-lock makes
the program keep the rule); the window thread is in the apartment the shell's calls need."""
from lumora import DRIVER_EXE, wait_until

CLOCK, DIALOG, COVER = "TLumoraForm", "TOptionForm", "LumoraDriverCover"
LOCKED = {"LUMORA_FAULT": "foreground-lock", "LUMORA_TEST_HOOKS": "1"}
IN_SINGLE_THREADED_APARTMENT = 12


def start(lumora) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n")
    lumora.start(env=LOCKED)
    lumora.wait_window(CLOCK, timeout=15)


def cover_the_screen(lumora) -> int:
    """Another program's window, made the foreground, as when the user works elsewhere."""
    lumora.spawn([str(DRIVER_EXE), "cover", "60000", "Cover"])
    cover = lumora.wait_window(COVER, timeout=15)
    wait_until(lambda: lumora.driver.foreground() == cover, timeout=10)
    return cover


def test_a_second_start_lets_the_running_copy_bring_its_dialog_forward(lumora):
    start(lumora)
    cover_the_screen(lumora)
    assert lumora.spawn([str(lumora.exe)], env=LOCKED).wait(timeout=15) == 0
    dialog = lumora.wait_window(DIALOG, timeout=10)
    wait_until(lambda: lumora.driver.foreground() == dialog, timeout=10)


def test_the_window_thread_is_in_a_single_threaded_apartment(lumora):
    start(lumora)
    assert lumora.copydata(IN_SINGLE_THREADED_APARTMENT) == 1
