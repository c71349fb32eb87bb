"""Clock setting where Windows is stricter than Wine: a serial port that takes only a line-settings
block Windows would accept, an SNTP socket that hears of the ICMP "port unreachable" a server
without NTP answers with, and a web server that accepts and then stays silent, against which
the user's time-out must end the run. The first two are Windows failures Wine cannot produce:
test faults (LUMORA_FAULT) make the program meet them."""
import time

from test_clock_setting import (HOOKS, HTTP, KIT, NTP, TEST_RUN, DateServer, http_settings,  # noqa: F401,F811
                                kit, ntp_settings, result, run)

CLOCK = "TLumoraForm"
TIMED_OUT = ("時刻合わせ中に接続がタイムアウトになり、サーバとの接続が切断されました。サーバの応答に時間がかかっている可能性があります。\r\n"
             "何度実行してもタイムアウトする場合は、タイムアウトの設定時間を長くしてみてください。")
NOBODY = "127.0.0.3"  # a loopback address nothing listens on


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


def test_a_port_unreachable_report_keeps_the_sntp_run_waiting_for_its_time_out(lumora):
    """udp-connreset: the first receive fails with WSAECONNRESET, as on Windows after the ICMP
    "port unreachable" of a host that serves no NTP. The run waits on and ends at its time-out."""
    start(lumora, ntp_settings(CurrentNTPServer=NOBODY, NTPTimeOut=2), faults="udp-connreset")
    began = time.monotonic()
    run(lumora, TEST_RUN, NTP)
    assert result(lumora) == ("Lumora - 通信テスト (NTP)", TIMED_OUT)
    assert 1.8 < time.monotonic() - began < 10


def test_a_web_server_that_accepts_and_stays_silent_is_left_at_the_time_out(lumora):
    """The time-out limits the wait for the answer too, not only the connecting; the request
    that got no answer is reported as for a server that does not answer at all."""
    server = DateServer(None)
    try:
        start(lumora, http_settings(f"127.0.0.1:{server.port}", timeout=2))
        began = time.monotonic()
        run(lumora, TEST_RUN, HTTP)
        title, text = result(lumora, timeout=30)
        waited = time.monotonic() - began
    finally:
        server.close()
    assert server.connections, "the run never reached the server"
    assert title == "Lumora - 通信テスト (HTTP)"
    assert text.startswith(f"127.0.0.1:{server.port} というサーバは存在しないか、使用できません。"), text
    assert 1.8 < waited < 10, waited
