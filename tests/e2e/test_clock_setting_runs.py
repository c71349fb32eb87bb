"""Clock-setting runs started the way the user starts them, not through the test hooks: the
options page's テスト buttons, which ask with what the page shows before it is applied and refuse
a second test while the first still waits, and the periodic run, which comes on its own once the
interval has passed while the program runs."""
import datetime
import socket
import threading
import time

import pytest

from ids import (BM_CLICK, CB_GETCOUNT, EM_SETSEL, IDC_ADJ_HTTP, IDC_ADJ_HTTP_TEST, IDC_ADJ_KIT_PORT, IDC_ADJ_KIT_TEST,
                 IDC_ADJ_METHOD, IDC_ADJ_NTP, IDC_ADJ_NTP_TEST, IDC_OPTION_APPLY, IDOK, WM_CHAR)
from kit import MovableClock, icon_texts, stays
from lumora import capture, wait_until
from test_clock_setting import (DateServer, FakeSntpServer, chrony, http_now, kit,  # noqa: F401,F811 (fixtures)
                                report_times, result)
from test_options import child, choose, open_options, page

CLOCK = "TLumoraForm"
ADJUST_PAGE = 13
KIT_METHOD = 3
BUSY = "既に通信中です。現在行っている通信が終了するまで待ってください。"
TOKYO = datetime.timezone(datetime.timedelta(hours=9))
DEAD_PORT = 9  # nothing listens on loopback's discard port


def start(lumora, ini: str, env: dict | None = None) -> None:
    lumora.write_settings("[Boot]\nShowSplash=0\n" + ini)
    lumora.start(env=env)
    lumora.wait_window(CLOCK, timeout=15)


def adjust_page(lumora) -> tuple[int, int]:
    dialog = open_options(lumora)
    return dialog, page(lumora, dialog, ADJUST_PAGE)


def type_server(lumora, dialog: int, holder: int, box_id: int, text: str) -> None:
    """Types over a server box's text, key by key; the dialog takes it as an edit not yet applied."""
    box = child(lumora, holder, box_id)
    edit = next(int(c["hwnd"]) for c in lumora.driver.children(box) if c["class"] == "Edit")
    lumora.send(edit, EM_SETSEL, 0, -1)
    for typed in text:
        lumora.send(edit, WM_CHAR, ord(typed))
    wait_until(lambda: lumora.info(child(lumora, dialog, IDC_OPTION_APPLY)).enabled, timeout=10)
    assert lumora.driver.get_text(box) == text


def click(lumora, holder: int, button_id: int) -> None:
    """Clicks a button the user could click: shown and enabled."""
    button = child(lumora, holder, button_id)
    wait_until(lambda: (lambda i: i.visible and i.enabled)(lumora.info(button)), timeout=10)
    lumora.post(button, BM_CLICK)


# --- the テスト buttons ------------------------------------------------------------------------------

SERIAL_PORTS_KEY = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Enum\LumoraTestPorts"


@pytest.fixture
def serial_ports(wine_session, tmp_path):
    """COM1 and COM2 listed as the system's serial ports, as the options page finds them."""
    entries = "".join(
        f"[{SERIAL_PORTS_KEY}\\PNP0501\\{n}]\r\n\"Class\"=\"Ports\"\r\n\"Service\"=\"Serial\"\r\n"
        f"\"DeviceDesc\"=\"Communications Port\"\r\n\r\n"
        f"[{SERIAL_PORTS_KEY}\\PNP0501\\{n}\\Device Parameters]\r\n\"PortName\"=\"COM{n}\"\r\n\r\n"
        for n in (1, 2))
    reg = tmp_path / "ports.reg"
    reg.write_bytes(("REGEDIT4\r\n\r\n" + entries).encode("ascii"))
    reg_command(wine_session, "import", str(reg))
    try:
        yield
    finally:
        reg_command(wine_session, "delete", SERIAL_PORTS_KEY, "/f")


def reg_command(wine_session, *args: str) -> None:
    done = capture(["wine", "reg", *args], wine_session.env, timeout=60)
    assert done.returncode == 0, (args, done.stderr[-300:])


def test_the_test_buttons_ask_the_server_and_the_port_typed_on_the_page(lumora, chrony, kit, serial_ports):
    # Stored: a server and a port where nothing answers. Typed: the live ones, never applied.
    start(lumora, f"[View]\nOptionSelectedTab={ADJUST_PAGE}\n"
                  "[AdjustClock]\nAdjustType=1\nCurrentNTPServer=127.0.0.3\nNTPTimeOut=2\n"
                  "CurrentJJYPort=COM2\nJJYTimeOut=2\n")
    dialog, adjust = adjust_page(lumora)

    type_server(lumora, dialog, adjust, IDC_ADJ_NTP, "127.0.0.1")
    click(lumora, adjust, IDC_ADJ_NTP_TEST)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (NTP)" and text.startswith("現在の時刻: \t"), text
    now, received = report_times(text)
    assert abs((received - now).total_seconds()) < 0.5, text

    choose(lumora, adjust, IDC_ADJ_METHOD, KIT_METHOD)
    ports = child(lumora, adjust, IDC_ADJ_KIT_PORT)
    wait_until(lambda: lumora.info(ports).visible, timeout=10)
    assert lumora.send(ports, CB_GETCOUNT) == 2 and lumora.driver.get_text(ports).startswith("COM2 ")
    choose(lumora, adjust, IDC_ADJ_KIT_PORT, 0)
    assert lumora.driver.get_text(ports).startswith("COM1 ")
    click(lumora, adjust, IDC_ADJ_KIT_TEST)
    title, text = result(lumora)
    assert title == "Lumora - 通信テスト (電波)"
    assert "\r\n受信した時刻: \t2007年1月2日火曜日 12:34:56." in text, text


class HoldingWebServer(DateServer):
    """A web server that accepts and then keeps the client waiting until released; it then
    answers every request with the present time in its Date header."""

    def __init__(self):
        self.released = threading.Event()
        super().__init__(None)

    def answer(self, connection: socket.socket):
        threading.Thread(target=self.answer_once_released, args=(connection,), daemon=True).start()

    def answer_once_released(self, connection: socket.socket):
        self.released.wait()
        try:
            connection.recv(4096)
            connection.sendall(f"HTTP/1.1 200 OK\r\nDate: {http_now()}\r\nContent-Length: 0\r\n"
                               "Connection: close\r\n\r\n".encode("latin-1"))
        except OSError:
            pass

    def close(self):
        self.released.set()
        super().close()


def test_a_second_test_while_the_first_still_waits_is_refused(lumora):
    server = HoldingWebServer()
    try:
        start(lumora, f"[View]\nOptionSelectedTab={ADJUST_PAGE}\n"
                      f"[AdjustClock]\nAdjustType=2\nCurrentHTTPServer=127.0.0.1:{DEAD_PORT}\nHTTPTimeOut=30\n")
        dialog, adjust = adjust_page(lumora)
        type_server(lumora, dialog, adjust, IDC_ADJ_HTTP, f"127.0.0.1:{server.port}")
        click(lumora, adjust, IDC_ADJ_HTTP_TEST)
        wait_until(lambda: server.connections, timeout=15)

        click(lumora, adjust, IDC_ADJ_HTTP_TEST)
        box = lumora.msgbox(timeout=15, pid=lumora.pid())
        assert (box.title, box.text) == ("Lumora", BUSY)
        lumora.press(box, IDOK)

        # The refused test asked nobody; the first one, let go, reports the typed server's time.
        server.released.set()
        title, text = result(lumora)
        assert title == "Lumora - 通信テスト (HTTP)" and text.startswith("現在の時刻: \t"), text
        now, received = report_times(text)
        assert abs((received - now).total_seconds()) < 1.5, text  # the header counts whole seconds
        assert len(server.connections) == 1
    finally:
        server.close()


# --- the periodic run -------------------------------------------------------------------------------

INTERVAL = 10 * 60  # seconds: the shortest interval the settings allow


class CountingSntpServer:
    """An SNTP server on 127.0.0.1 that answers with the program's own faked time, so that the
    system accepts the set, and notes the faked time of every request it receives."""

    def __init__(self, clock: MovableClock):
        self.clock = clock
        self.requests: list[float] = []
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.socket.bind(("127.0.0.1", 123))
        self.socket.settimeout(0.2)
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while not self.stopping:
            try:
                _, client = self.socket.recvfrom(100)
            except TimeoutError:
                continue
            self.requests.append(self.clock.now())
            self.socket.sendto(FakeSntpServer.reply(self.clock.now()), client)

    def close(self):
        self.stopping = True
        self.thread.join(timeout=5)
        self.socket.close()


def local(instant: float) -> datetime.datetime:
    return datetime.datetime.fromtimestamp(instant, TOKYO).replace(tzinfo=None)


def tip_shows(lumora, instant: float) -> bool:
    """The icon's tooltip shows a time within three seconds of the instant."""
    for text in icon_texts(lumora, "AUTO "):
        shown = datetime.datetime.strptime(text[5:], "%H:%M:%S").time()
        expected = local(instant)
        seconds = abs((expected - datetime.datetime.combine(expected.date(), shown)).total_seconds())
        if min(seconds, 86400 - seconds) <= 3:
            return True
    return False


def test_the_periodic_run_comes_once_its_interval_has_passed_while_the_program_runs(lumora, tmp_path):
    clock = MovableClock(tmp_path)
    server = CountingSntpServer(clock)
    try:
        began = time.time()
        start(lumora, "[View]\nTaskTrayToolTipFormat=\"AUTO \"hh:nn:ss\n"
                      "[AdjustClock]\nAdjustType=1\nCurrentNTPServer=127.0.0.1\nNTPTimeOut=3\nAdjustMessage=1\n"
                      f"BootAdjust=0\nAutoAdjust=1\nAutoAdjustInterval={INTERVAL / 86400!r}\n", env=clock.env())
        wait_until(lambda: tip_shows(lumora, clock.now()), timeout=15)
        up = time.time()  # the interval counts from a moment between began and up

        # Half a minute short of the interval, counted from the earliest start: no run yet.
        clock.set_at(began + INTERVAL - 30)
        wait_until(lambda: tip_shows(lumora, clock.now()), timeout=10)
        lumora.answers()
        assert stays(lambda: not server.requests, 2)
        assert clock.now() < began + INTERVAL, "the check took too long to prove anything"

        # Past the interval, counted from the latest start: the run comes, once, and reports.
        clock.set_at(up + INTERVAL + 5)
        wait_until(lambda: server.requests, timeout=15)
        title, text = result(lumora)
        assert title == "Lumora - 自動時刻合わせ (NTP)" and text.startswith("調整前の時刻: \t"), text
        before, after = report_times(text)
        assert abs((after - before).total_seconds()) < 0.5, text
        asked = local(server.requests[0])
        assert abs((after - asked).total_seconds()) < 2, (text, asked)
        assert len(server.requests) == 1

        written = lumora.exit_and_read_settings()
        stamp = float(written.split("LastConnectedTime=", 1)[1].split("\r\n", 1)[0])
        contact = datetime.datetime(1899, 12, 30) + datetime.timedelta(days=stamp)
        assert abs((contact - asked).total_seconds()) < 2, (contact, asked)
    finally:
        server.close()
