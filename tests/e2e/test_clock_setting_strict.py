"""Clock setting where Windows is stricter than Wine: a serial port that takes only a line-settings
block Windows would accept. Wine cannot produce the failure: a test fault (LUMORA_FAULT) makes
the program meet it."""
from test_clock_setting import HOOKS, KIT, TEST_RUN, kit, result, run  # noqa: F401,F811 (fixture)

CLOCK = "TLumoraForm"


def start(lumora, ini: str, faults: str = "") -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env={**HOOKS, "LUMORA_FAULT": faults})
    lumora.wait_window(CLOCK, timeout=15)


def test_the_kit_port_takes_a_block_windows_accepts(lumora, kit):
    """strict-dcb: the port refuses a block Windows would refuse (binary mode off, XON equal to
    XOFF, no speed, a byte size Windows has not), as SetCommState does there."""
    start(lumora, "[AdjustClock]\nAdjustType=3\nCurrentJJYPort=COM1\nJJYTimeOut=2\n", faults="strict-dcb")
    run(lumora, TEST_RUN, KIT)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (電波)"
    assert "\r\n受信した時刻: \t2007年1月2日火曜日 12:34:56." in text, text
