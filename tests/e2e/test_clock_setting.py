"""Setting the computer's clock against real peers on loopback: chrony as the SNTP server, nginx
for a web server's Date header, and a radio-clock kit simulated on a pseudo-terminal that Wine
uses as COM1. The machine's clock never changes: Wine refuses a set of more than half a second
(as Windows refuses a user without the right), so a received time within half a second is the
success path and a program clock moved by hours under faketime is the failure path.

Runs start from the menu's command ids, and test runs (kind 0) through the test hooks."""
import datetime
import os
import shutil
import signal
import socket
import struct
import subprocess
import threading
import time

import pytest

from face_kit import wine_path
from ids import COMMAND, IDNO, IDOK, WM_COMMAND
from kit import IN_CLOSE_NOWRITE, IN_OPEN, FolderEvents, MovableClock, write_sine
from lumora import DRIVER_EXE, MASTER_CLASS, wait_until

CLOCK = "TLumoraForm"
HOOKS = {"LUMORA_TEST_HOOKS": "1"}
START_ADJUST = 8
TEST_RUN, MANUAL = 0, 3
NTP, HTTP, KIT = 0, 1, 2
NTP_EPOCH = 2208988800
RECEIVE_FAILED = "サーバからのデータを正しく受信することができませんでした。"


def start(lumora, ini: str, faketime: str | None = None):
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env=HOOKS, faketime=faketime)
    lumora.wait_window(CLOCK, timeout=15)


def run(lumora, kind: int, source: int) -> None:
    assert lumora.copydata(START_ADJUST, f"{kind}{source}") == 1


def result(lumora, timeout: float = 20) -> tuple[str, str]:
    box = lumora.msgbox(timeout=timeout, pid=lumora.pid())
    lumora.press(box, IDOK)
    return box.title, box.text


def decline_administrator_rights(lumora) -> None:
    """A set the system refused for want of the right is offered with administrator rights: No."""
    box = lumora.msgbox(timeout=20, pid=lumora.pid())
    assert "管理者の権限で時刻を合わせますか?" in box.text, box.text
    lumora.press(box, IDNO)


def report_times(text: str) -> list[datetime.datetime]:
    """The two times of a success report, 'label: \\t2026年12月8日火曜日 02:55:00.914'."""
    times = []
    for line in text.split("\r\n"):
        stamp = line.split("\t", 1)[1]
        date, clock = stamp.split(" ")
        year, rest = date.split("年")
        month, rest = rest.split("月")
        day = rest.split("日")[0]
        times.append(datetime.datetime.strptime(f"{year}-{month}-{day} {clock}", "%Y-%m-%d %H:%M:%S.%f"))
    return times


# --- SNTP -----------------------------------------------------------------------------------------

@pytest.fixture
def chrony(tmp_path):
    """chronyd serving this machine's time on 127.0.0.1:123; -x: it never sets the clock."""
    folder = tmp_path / "chrony"
    folder.mkdir()
    config = folder / "chrony.conf"
    config.write_text("bindaddress 127.0.0.1\nport 123\nallow 127.0.0.1\nlocal stratum 8\ncmdport 0\n"
                      f"pidfile {folder / 'chronyd.pid'}\ndriftfile {folder / 'drift'}\n")
    process = subprocess.Popen([shutil.which("chronyd") or "/usr/sbin/chronyd", "-x", "-d", "-f", str(config)],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_until(lambda: sntp_answers("127.0.0.1"), timeout=10)
        yield
    finally:
        process.send_signal(signal.SIGTERM)
        process.wait(timeout=10)


def sntp_answers(host: str) -> bool:
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.settimeout(0.5)
        try:
            s.sendto(b"\x0b" + bytes(47), (host, 123))
            reply = s.recv(100)
        except OSError:
            return False
        return len(reply) == 48 and reply[0] & 7 == 4 and reply[1] != 0


def ntp_settings(**keys) -> str:
    values = {"AdjustType": 1, "CurrentNTPServer": "127.0.0.1", "NTPTimeOut": 3, **keys}
    return "[AdjustClock]\n" + "".join(f"{k}={v}\n" for k, v in values.items())


def test_a_test_run_reports_both_times_and_a_second_run_meets_the_overload_guard(lumora, chrony):
    start(lumora, ntp_settings())
    run(lumora, TEST_RUN, NTP)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (NTP)"
    assert text.startswith("現在の時刻: \t") and "\r\n受信した時刻: \t" in text, text
    now, received = report_times(text)
    assert abs((received - now).total_seconds()) < 0.5, text
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (NTP)",
                              "サーバに負荷がかかるのを防ぐため、時刻合わせを中止しました。\r\n"
                              "10 分以上待ってから、操作をやり直してください。")


def test_a_start_up_run_reports_and_automatic_failures_stay_silent_without_adjust_message(lumora, chrony):
    start(lumora, ntp_settings(BootAdjust=1))
    assert result(lumora)[0] == "Lumora - 起動時刻合わせ (NTP)"
    lumora.close()
    assert lumora.wait_exit(15) == 0

    start(lumora, ntp_settings(BootAdjust=1, AdjustMessage=0, CurrentNTPServer="lumora.invalid"))
    lumora.expect_no_msgbox(4)
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (NTP)",
                              "lumora.invalid というサーバは存在しないか、使用できません。\r\n"
                              "このサーバが有効なサーバかどうかを設定ダイアログで確認してください。")


def test_a_manual_run_sets_the_clock_and_one_hours_off_is_refused(lumora, chrony, tmp_path):
    start(lumora, ntp_settings())
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
    title, text = result(lumora)
    assert title == "Lumora - 手動時刻合わせ (NTP)"
    assert text.startswith("調整前の時刻: \t") and "\r\n調整後の時刻: \t" in text, text
    assert "LastConnectedTime=4" in lumora.exit_and_read_settings()

    # Three hours ahead the system refuses the set (a stamp in the future counts as stale); the
    # offer to set it with administrator rights is turned down.
    start(lumora, ntp_settings(), faketime="+3h")
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
    decline_administrator_rights(lumora)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (NTP)",
                              "時刻合わせに失敗しました。\r\n"
                              "現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。")


def test_the_zero_adjustment_reports_a_refused_set(lumora):
    # A quarter to ten: the clock would go back 45 minutes, which the system refuses.
    start(lumora, "", faketime="@2026-01-05 09:45:00")
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.AdjustClockZero)
    decline_administrator_rights(lumora)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (ゼロ調整)",
                              "時刻合わせに失敗しました。\r\n"
                              "現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。")


def test_the_zero_adjustment_nudges_the_taskbar_clock_and_plays_no_sound(lumora, tmp_path, null_sound):
    lumora.spawn([str(DRIVER_EXE), "taskbar", "120000"])  # a taskbar with a clock, as Explorer's
    lumora.wait_window("Shell_TrayWnd", timeout=15)
    sounds = tmp_path / "sounds"
    sounds.mkdir()
    tone = write_sine(sounds / "tone.wav", 0.2)
    opens = FolderEvents(sounds, IN_OPEN | IN_CLOSE_NOWRITE)
    clock = MovableClock(tmp_path)
    # Without the icon the result comes as a box.
    lumora.write_settings(f"[Boot]\nShowSplash=0\n[View]\nTaskTrayIcon=0\n"
                          f"[AdjustClock]\nAdjustSound=1\nAdjustSoundFile={wine_path(tone)}\n")
    lumora.start(env={**HOOKS, **null_sound, **clock.env()})
    lumora.wait_window(CLOCK, timeout=15)

    # Wine sets the clock only by less than half a second: the command must come within half a
    # second of a full hour of the program's clock. How long a command takes to arrive is
    # measured; a try that misses the hour is refused (No to the offer) and made again.
    began = time.monotonic()
    lumora.answers()
    delay = time.monotonic() - began
    for attempt, share in enumerate((0.6, 0.3, 0.9, 0.45, 0.75, 0.15)):
        clock.set_at((int(time.time()) // 3600 + 1 + attempt) * 3600 - share * delay)
        lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.AdjustClockZero)
        box = lumora.msgbox(timeout=20, pid=lumora.pid())
        if "管理者の権限" not in box.text:
            break
        lumora.press(box, IDNO)
        result(lumora)
    else:
        raise AssertionError("no try came within half a second of the hour")
    print(f"zero adjustment made at try {attempt + 1}, a command took {delay:.2f} s")
    assert box.title == "Lumora - 手動時刻合わせ (ゼロ調整)" and box.text.startswith("時刻を正時に合わせ"), box.text
    lumora.press(box, IDOK)
    wait_until(lambda: "taskbar-clock-timer" in lumora.log.read_text(errors="replace"), timeout=10)
    assert not [name for event, name in opens.read() if event == "open"], "the adjustment sound played"

    # The same file played otherwise is seen opened.
    assert lumora.copydata(1, f"0|{wine_path(tone)}") == 1
    wait_until(lambda: ("open", "tone.wav") in opens.read(), timeout=10)
    opens.close()


class FakeSntpServer:
    """Answers each request with the datagrams it is given, then, if asked, a true reply."""

    def __init__(self):
        self.server = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.server.bind(("127.0.0.1", 123))
        self.other_port = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.other_port.bind(("127.0.0.1", 0))
        self.other_address = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.other_address.bind(("127.0.0.2", 123))
        self.server.settimeout(0.2)
        self.answer_truly = False
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    @staticmethod
    def reply(when: float, mode: int = 4, stratum: int = 2, size: int = 48) -> bytes:
        seconds = int(when) + NTP_EPOCH
        fraction = int((when % 1) * 2**32)
        packet = bytes([mode, stratum]) + bytes(38) + struct.pack("!II", seconds, fraction)
        return packet[:size] + bytes(max(0, size - len(packet)))

    def serve(self):
        while not self.stopping:
            try:
                _, client = self.server.recvfrom(100)
            except TimeoutError:
                continue
            long_ago = time.time() - 86400 * 365 * 20
            self.other_port.sendto(self.reply(long_ago), client)
            self.other_address.sendto(self.reply(long_ago), client)
            self.server.sendto(self.reply(long_ago, stratum=0), client)
            self.server.sendto(self.reply(long_ago, mode=3), client)
            self.server.sendto(self.reply(long_ago)[:47], client)
            self.server.sendto(self.reply(long_ago, mode=3, size=1500), client)
            if self.answer_truly:
                time.sleep(0.2)
                self.server.sendto(self.reply(time.time()), client)

    def close(self):
        self.stopping = True
        self.thread.join(timeout=5)
        for s in (self.server, self.other_port, self.other_address):
            s.close()


@pytest.fixture
def fake_sntp():
    server = FakeSntpServer()
    yield server
    server.close()


def test_only_the_servers_own_reply_counts(lumora, fake_sntp):
    fake_sntp.answer_truly = True
    start(lumora, ntp_settings())
    run(lumora, TEST_RUN, NTP)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (NTP)"
    now, received = report_times(text)
    assert abs((received - now).total_seconds()) < 0.5, text


def test_without_a_true_reply_the_run_ends_at_its_time_out(lumora, fake_sntp):
    start(lumora, ntp_settings(NTPTimeOut=2))
    began = time.monotonic()
    run(lumora, TEST_RUN, NTP)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (NTP)" and text.startswith(RECEIVE_FAILED), text
    assert 1.8 < time.monotonic() - began < 10


# --- HTTP Date ------------------------------------------------------------------------------------

WEB, PROXY = 18080, 18081


@pytest.fixture
def nginx(tmp_path):
    """nginx on 127.0.0.1: a web server, and a proxy in front of it."""
    folder = tmp_path / "nginx"
    folder.mkdir()
    temp = "".join(f"{kind}_temp_path {folder}/{kind};\n" for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
    config = folder / "nginx.conf"
    config.write_text(
        f"daemon off;\nmaster_process off;\npid {folder}/nginx.pid;\nerror_log {folder}/error.log;\n"
        "events {}\nhttp {\n" + temp + f"access_log {folder}/access.log;\n"
        f"server {{ listen 127.0.0.1:{WEB}; location / {{ return 200 \"ok\\n\"; }} }}\n"
        f"server {{ listen 127.0.0.1:{PROXY}; location / {{ proxy_pass http://127.0.0.1:{WEB}; }} }}\n}}\n")
    process = subprocess.Popen([shutil.which("nginx") or "/usr/sbin/nginx", "-c", str(config), "-p", str(folder)],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_until(lambda: port_open(WEB) and port_open(PROXY), timeout=10)
        yield folder / "access.log"
    finally:
        process.send_signal(signal.SIGQUIT)
        process.wait(timeout=10)


def port_open(port: int) -> bool:
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", port)) == 0


def http_settings(server: str, proxy: str = "", proxy_port: int = 0, timeout: int = 5) -> str:
    return (f"[AdjustClock]\nAdjustType=2\nCurrentHTTPServer={server}\nHTTPProxyServer={proxy}\n"
            f"HTTPProxyPort={proxy_port}\nHTTPTimeOut={timeout}\n")


@pytest.mark.parametrize("server, proxy, proxy_port", [
    (f"127.0.0.1:{WEB}", "", 0),
    (f"http://127.0.0.1:{WEB}/index.html", "", 0),
    # A name nobody resolves: only the proxy can get it answered.
    ("http://lumora.invalid/", "127.0.0.1", PROXY),
])
def test_a_web_servers_date_sets_the_time(lumora, nginx, server, proxy, proxy_port):
    start(lumora, http_settings(server, proxy, proxy_port))
    run(lumora, TEST_RUN, HTTP)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (HTTP)", text
    now, received = report_times(text)
    # The header counts whole seconds.
    assert abs((received - now).total_seconds()) < 1.5, text
    if proxy:
        assert "GET http://lumora.invalid" in nginx.read_text()


class DateServer:
    """A web server whose responses carry the Date header it is given; or, silent, one that
    accepts connections and never answers."""

    def __init__(self, date: str | None):
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen()
        self.port = self.listener.getsockname()[1]
        self.date = date
        self.connections = []
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        while True:
            try:
                connection, _ = self.listener.accept()
            except OSError:
                return
            self.connections.append(connection)
            self.answer(connection)

    def answer(self, connection: socket.socket):
        if self.date is not None:
            connection.recv(4096)
            connection.sendall(b"HTTP/1.1 200 OK\r\nDate: " + self.date.encode("latin-1") +
                               b"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
            connection.close()

    def close(self):
        self.listener.close()
        for connection in self.connections:
            connection.close()


def http_now(lower_month: bool = False) -> str:
    text = time.strftime("%a, %d %b %Y %H:%M:%S GMT", time.gmtime())
    return text[:8] + text[8:11].lower() + text[11:] if lower_month else text


@pytest.mark.parametrize("date, accepted", [
    (None, True),  # a lower-case month, made when the request comes
    ("Monday, 07-Dec-26 18:00:00 GMT", False),
    # Longer than the 255 characters the header may have.
    ("Mon, 07 Dec 2026 18:00:00 GMT" + "x" * 270, False),
    ("Mon, 07\0Dec 2026 18:00:00 GMT", False),
])
def test_the_date_header_is_read_by_its_fixed_positions(lumora, date, accepted):
    server = DateServer(date if date is not None else http_now(lower_month=True))
    try:
        start(lumora, http_settings(f"http://127.0.0.1:{server.port}/"))
        run(lumora, TEST_RUN, HTTP)
        title, text = result(lumora)
    finally:
        server.close()
    assert title == "Lumora - 通信テスト (HTTP)"
    assert text.startswith("現在の時刻") == accepted and text.startswith(RECEIVE_FAILED) != accepted, text


def test_ending_the_program_while_a_server_keeps_it_waiting(lumora):
    server = DateServer(None)
    try:
        start(lumora, http_settings(f"http://127.0.0.1:{server.port}/", timeout=60))
        lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.NetworkAdjust)
        wait_until(lambda: server.connections, timeout=10)
        began = time.monotonic()
        lumora.close()
        assert lumora.wait_exit(15) == 0
        assert time.monotonic() - began < 10
    finally:
        server.close()


# --- radio-clock kit --------------------------------------------------------------------------------

KIT_REPLIES = {
    "valid": {b"DCST": b"valid\r\n", b"STIM": b"12:34:56\r\n", b"DATE": b"2007/01/02 Tue\r\n"},
    "not ready": {b"DCST": b"search\n"},
    "silent": {},
    "bad date": {b"DCST": b"VALID\r\n", b"STIM": b"12:34:56\r\n", b"DATE": b"2007/02/30 Fri\r\n"},
}


class KitSimulator:
    """A radio-clock kit on the master side of a pseudo-terminal; Wine opens the other side."""

    def __init__(self):
        import pty
        import tty
        self.master, self.slave = pty.openpty()
        tty.setraw(self.slave)
        self.path = os.ttyname(self.slave)
        self.mode = "valid"
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        import select
        pending = b""
        while not self.stopping:
            if not select.select([self.master], [], [], 0.1)[0]:
                continue
            try:
                pending += os.read(self.master, 64)
            except OSError:
                continue
            while b"\r\n" in pending:
                command, pending = pending.split(b"\r\n", 1)
                if self.mode == "echo":
                    reply = command + b"\r\n"
                elif self.mode == "flood":
                    reply = b"x" * 4000
                else:
                    reply = KIT_REPLIES[self.mode].get(command, b"")
                os.write(self.master, reply)

    def close(self):
        self.stopping = True
        self.thread.join(timeout=5)
        os.close(self.master)
        os.close(self.slave)


@pytest.fixture
def kit(wine_session):
    """The simulator as COM1. Wine opens COM1 through the prefix's dosdevices link, which the
    test points at the pseudo-terminal for its length (a restart of the Wine server would make
    the registry's ports rewrite it, but would also disturb the session for the tests after)."""
    simulator = KitSimulator()
    link = wine_session.prefix / "dosdevices" / "com1"
    saved = os.readlink(link) if link.is_symlink() else None
    link.unlink(missing_ok=True)
    link.symlink_to(simulator.path)
    try:
        yield simulator
    finally:
        simulator.close()
        link.unlink(missing_ok=True)
        if saved is not None:
            link.symlink_to(saved)


def test_the_kit_answers_sets_refuses_and_is_read_in_japan_time(lumora, kit):
    start(lumora, "[AdjustClock]\nAdjustType=3\nCurrentJJYPort=COM1\nJJYTimeOut=2\n")
    run(lumora, TEST_RUN, KIT)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (電波)"
    assert "\r\n受信した時刻: \t2007年1月2日火曜日 12:34:56." in text, text
    expected = {
        "not ready": "電波時計キットが準備中です。\r\nタイム コードのマーカを探しているか、時刻データのデコードが完了していません。"
                     "\r\n数分間待ってから、操作をやり直してください。",
        "echo": "電波時計キットと通信できません。\r\n"
                "電波時計キットの電源が入っていないか、電波時計キットが違うポートに接続されています。",
        "silent": "電波時計キットと通信できません。\r\n"
                  "電波時計キットの電源が入っていないか、電波時計キットが違うポートに接続されています。",
        "bad date": "電波時計キットからデータを取得することができませんでした。しばらく待ってから再度実行してください。\r\n"
                    "それでも受信できない場合は、電波時計キットに不具合が発生している可能性があります。",
        "flood": "電波時計キットが準備中です。\r\nタイム コードのマーカを探しているか、時刻データのデコードが完了していません。"
                 "\r\n数分間待ってから、操作をやり直してください。",
    }
    for mode, message in expected.items():
        kit.mode = mode
        lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.JJYAdjust)
        assert result(lumora) == ("Lumora - 手動時刻合わせ (電波)", message), mode


def test_a_port_that_refuses_its_settings_ends_the_run(lumora, kit):
    """Without its time-outs a silent kit would hold the run for ever: a port that refuses its
    line settings ends the run at once, even with a kit that would answer."""
    lumora.write_settings("[Boot]\nShowSplash=0\n[AdjustClock]\nAdjustType=3\nCurrentJJYPort=COM1\nJJYTimeOut=2\n")
    lumora.start(env={**HOOKS, "LUMORA_FAULT": "kit-port-settings"})
    lumora.wait_window(CLOCK, timeout=15)
    lumora.send(MASTER_CLASS, WM_COMMAND, COMMAND.JJYAdjust)
    assert result(lumora) == ("Lumora - 手動時刻合わせ (電波)", "電波時計キットと通信できません。\r\n"
                              "電波時計キットの電源が入っていないか、電波時計キットが違うポートに接続されています。")
