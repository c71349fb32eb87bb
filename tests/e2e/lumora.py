"""End-to-end harness: runs the real Lumora.exe under Wine on Xvfb and drives it from outside.

WineSession owns the display, the prefix and the Wine server for a whole pytest session.
LumoraApp is one test's copy of the program, its settings files and every process it started.
Windows are driven through lumora-driver.exe, one Wine call per command.
"""
from __future__ import annotations

import contextlib
import fcntl
import os
import shutil
import signal
import subprocess
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

from ids import WM_NULL

REPO = Path(__file__).resolve().parents[2]
# LUMORA_BUILD lets two checkouts or two people share a machine without sharing a Wine session.
BUILD = Path(os.environ.get("LUMORA_BUILD", REPO / "build")).resolve()
WIN64 = BUILD / "win64"
LUMORA_EXE = WIN64 / "Lumora.exe"
DRIVER_EXE = WIN64 / "lumora-driver.exe"
PROBE_EXE = WIN64 / "msgbox-probe.exe"
SCREENSHOT = REPO / "scripts" / "screenshot"

MASTER_CLASS = "TMasterForm"
HOOK_PLAYING = 2  # test hook: is a sound playing?
WINE_TRAY_CLASS = "__winex11_standalone_tray"
PREFIX_TEMPLATE = BUILD / "e2e-prefix-template"
DRIVER_SLACK = 15.0  # seconds a driver call may take beyond its own wait


DRIVER_OK, DRIVER_NONE_FOUND, DRIVER_USAGE, DRIVER_FAILED = 0, 1, 2, 3


class DriverError(RuntimeError):
    """The driver gave no answer, or said that the call failed."""


class DriverNotRun(DriverError):
    """Wine did not run the driver at all: nothing was done, and the call may be made again."""


class WindowNotFound(DriverError, LookupError):
    """The driver answered that the window (or process, or dialog) it was asked about is not there."""


@dataclass
class DriverReply:
    code: int
    lines: list[str]
    error: str

    def error_for(self, args: tuple) -> DriverError:
        kind = WindowNotFound if self.code == DRIVER_NONE_FOUND else DriverError
        return kind(f"driver {list(map(str, args))} exited {self.code}: {self.error.strip() or 'no reason given'}")


def read_reply(args: tuple, returncode: int, stdout: bytes, stderr: bytes) -> DriverReply:
    """The driver's reply, checked: it starts with the driver's "#run" and ends with its own
    "#exit=<code>" line. Without "#run" Wine never ran the driver; without the end the driver
    died on the way: either way there is no reply."""
    lines = stdout.decode("utf-8", "replace").splitlines()
    error = stderr.decode("utf-8", "replace")
    details = f"exit code {returncode}, output {stdout[-200:]!r}, errors {error[-300:]!r}"
    if not lines or lines[0] != "#run":
        raise DriverNotRun(f"driver {list(map(str, args))}: no reply, the driver did not run ({details})")
    if len(lines) < 2 or lines[-1] != f"#exit={returncode}":
        raise DriverError(f"driver {list(map(str, args))}: no reply, the driver ended half-way ({details})")
    return DriverReply(returncode, lines[1:-1], error)


@dataclass
class WindowInfo:
    hwnd: int
    rect: tuple[int, int, int, int]
    style: int
    exstyle: int
    visible: bool
    enabled: bool
    pid: int
    cls: str
    title: str

    @property
    def width(self) -> int:
        return self.rect[2] - self.rect[0]

    @property
    def height(self) -> int:
        return self.rect[3] - self.rect[1]


@dataclass
class MessageBox:
    hwnd: int
    pid: int
    title: str
    text: str
    buttons: dict[int, str] = field(default_factory=dict)

    def caption(self, button_id: int) -> str:
        """A button's caption without its mnemonic, e.g. 'はい(&Y)' -> 'はい(Y)'."""
        return self.buttons[button_id].replace("&", "")


def parse_fields(line: str) -> dict[str, str]:
    """Splits 'a=1 b=2 title=free text' into fields; the title is always last and may hold spaces."""
    head, sep, title = line.partition(" title=")
    fields = dict(part.split("=", 1) for part in head.split())
    if sep:
        fields["title"] = title
    return fields


def parse_info(line: str) -> WindowInfo:
    f = parse_fields(line)
    hwnd = int(f["hwnd"])
    left, top, right, bottom = (int(v) for v in f["rect"].split(","))
    return WindowInfo(hwnd=hwnd, rect=(left, top, right, bottom), style=int(f["style"], 16),
                      exstyle=int(f["exstyle"], 16), visible=f["visible"] == "1",
                      enabled=f["enabled"] == "1", pid=int(f["pid"]), cls=f["class"],
                      title=f.get("title", ""))


def unescape(text: str) -> str:
    """Undoes the driver's escapes of backslashes and line breaks."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def parse_msgbox(lines: list[str]) -> MessageBox:
    f = dict(line.split("=", 1) for line in lines if "=" in line)
    # The driver escapes line breaks and backslashes to keep one field per line.
    text = unescape(f.get("text", ""))
    buttons = {}
    for item in filter(None, f.get("buttons", "").split(",")):
        bid, _, caption = item.partition(":")
        buttons[int(bid)] = caption
    return MessageBox(hwnd=int(f["hwnd"]), pid=int(f["pid"]), title=f.get("title", ""),
                      text=text, buttons=buttons)


class WineSession:
    """Xvfb, a private prefix and one persistent Wine server, shared by every test of a run."""

    def __init__(self, root: Path | None = None, screens: tuple[str, ...] = ("1280x800x24",)):
        self.root = root or worker_folder("e2e")
        self.prefix = self.root / "wineprefix"
        self.screens = screens
        self.xvfb: subprocess.Popen | None = None
        self.display = ""
        self.env: dict[str, str] = {}
        self.user = ""
        self.appdata = Path()
        self.root_colour: str | None = None  # painted on the X root, kept across server restarts

    # --- lifetime ---------------------------------------------------------------------------

    def start(self) -> "WineSession":
        for exe in (DRIVER_EXE, PROBE_EXE):
            if not exe.exists():
                raise RuntimeError(f"{exe.relative_to(REPO)} is missing: run scripts/build")
        self.root.mkdir(parents=True, exist_ok=True)
        self._start_xvfb()
        self.env = self._base_env()
        self._kill_server()  # a server left by an interrupted run would hold stale processes
        if not (self.prefix / "system.reg").exists():
            self._make_prefix()
        # Persistent: otherwise the server and its services restart for every single program.
        subprocess.Popen(["wineserver", "-p"], env=self.env).wait(timeout=30)
        # No window manager runs on Xvfb; a managed window then makes Wine wait 2 s for a
        # withdrawn-state event that never comes whenever a window is hidden or destroyed.
        self._run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                   "/t", "REG_SZ", "/d", "N", "/f"])
        if len(self.screens) > 1:
            # Xinerama heads are only listed as monitors when Wine does not ask XRandR; the
            # desktop process reads that at its start, hence the fresh server.
            self._run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "UseXRandR",
                       "/t", "REG_SZ", "/d", "N", "/f"])
            self.restart_server()
        out = self._run(["wine", "cmd", "/c", "echo %USERNAME%&echo %APPDATA%"]).stdout
        user, appdata = out.decode("ascii", "replace").split()[:2]
        self.user = user
        self.appdata = self.windows_to_unix(appdata)
        return self

    def _make_prefix(self) -> None:
        """A new prefix is a copy of one booted once per build: a boot takes far longer than a copy,
        and parallel workers would otherwise each boot their own."""
        BUILD.mkdir(parents=True, exist_ok=True)
        with open(BUILD / "e2e-prefix.lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not (PREFIX_TEMPLATE / "system.reg").exists():
                clear_tree(PREFIX_TEMPLATE)
                env = {**self.env, "WINEPREFIX": str(PREFIX_TEMPLATE)}
                self._run(["wineboot", "-i"], timeout=180, env=env)
                # The registry reaches its files when the template's server ends.
                subprocess.run(["wineserver", "-w"], env=env, timeout=60)
        clear_tree(self.prefix)
        shutil.copytree(PREFIX_TEMPLATE, self.prefix, symlinks=True)

    def stop(self) -> None:
        self._kill_server()
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()

    def restart_server(self) -> None:
        """Ends every Wine process of the prefix at once, then brings a fresh server back, with
        its desktop process running and the X root painted again (the old desktop, ending,
        paints it black)."""
        self._kill_server()
        subprocess.Popen(["wineserver", "-p"], env=self.env).wait(timeout=30)
        self._run(["wine", "cmd", "/c", "exit"])
        if self.root_colour:
            self.paint_root(self.root_colour)

    def paint_root(self, colour: str) -> None:
        """Paints the X root, where no window covers the screen."""
        subprocess.run(["xsetroot", "-solid", colour], env=self.env, check=True, timeout=10)
        self.root_colour = colour

    @contextlib.contextmanager
    def screen_dpi(self, dpi: int):
        """Wine's screen at dpi for the body of a with-statement, as the user's display setting
        makes it (a fresh Wine server reads it); 96 changes nothing."""
        if dpi == 96:
            yield
            return
        key = r"HKCU\Control Panel\Desktop"
        self._run(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"])
        self.restart_server()
        try:
            yield
        finally:
            self._run(["wine", "reg", "delete", key, "/v", "LogPixels", "/f"])
            self.restart_server()

    def _kill_server(self) -> None:
        env = self.env or self._base_env()
        subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run(["wineserver", "-w"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    def _start_xvfb(self) -> None:
        read_fd, write_fd = os.pipe()
        args = ["Xvfb", "-displayfd", str(write_fd), "-nolisten", "tcp"]
        if len(self.screens) > 1:
            args.append("+xinerama")
        for i, geometry in enumerate(self.screens):
            args += ["-screen", str(i), geometry]
        self.xvfb = subprocess.Popen(args, pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write_fd)
        # Xvfb writes its number once it accepts connections.
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"

    def _base_env(self) -> dict[str, str]:
        env = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
        env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LANG": "ja_JP.UTF-8",
            "TZ": "Asia/Tokyo",
        })
        return env

    # --- environment ------------------------------------------------------------------------

    def env_with(self, extra: dict[str, str | None] | None = None) -> dict[str, str]:
        """The session environment with per-test changes; None removes a variable."""
        env = dict(self.env)
        for key, value in (extra or {}).items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def windows_to_unix(self, path: str) -> Path:
        drive, _, rest = path.partition(":\\")
        if drive.upper() != "C":
            raise ValueError(f"not on drive C: {path}")
        return self.prefix / "drive_c" / Path(*rest.split("\\"))

    @property
    def orvane_appdata(self) -> Path:
        return self.appdata / "Orvane"

    @property
    def appdata_settings_path(self) -> Path:
        return self.orvane_appdata / "Lumora" / "Lumora.ini"

    def local_settings_name(self) -> str:
        return f"Lumora_{self.user}.ini"

    # --- running things ---------------------------------------------------------------------

    def _run(self, args: list[str], timeout: float = 60, env: dict | None = None):
        result = capture(args, env or self.env, timeout)
        if result.returncode != 0:
            raise RuntimeError(f"{args[:3]} failed ({result.returncode}): {result.stderr[-500:]!r}")
        return result

    def spawn(self, args: list[str], cwd: Path | None = None, env: dict | None = None,
              faketime: str | None = None, log: Path | None = None) -> subprocess.Popen:
        """Starts a Windows program under Wine in its own process group, so it can be killed whole."""
        command = ["wine", *args]
        if faketime:
            clear_stale_faketime_objects()
            command = ["faketime", "-f", faketime, *command]
        out = open(log, "ab") if log else subprocess.DEVNULL
        try:
            return subprocess.Popen(command, cwd=cwd, env=self.env_with(env), stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        finally:
            if log:
                out.close()

    def driver(self, *args: object, wait: float = 0) -> DriverReply:
        """Runs one driver command and returns its whole reply; a command that gives no reply in
        time, or a reply without the driver's closing line, raises DriverError."""
        command = ["wine", str(DRIVER_EXE), *(str(a) for a in args)]
        try:
            result = capture(command, self.env, wait + DRIVER_SLACK)
        except subprocess.TimeoutExpired:
            raise DriverError(f"driver {list(args)}: no reply within {wait + DRIVER_SLACK:.0f} s") from None
        return read_reply(args, result.returncode, result.stdout, result.stderr)

    def screenshot(self, path: Path) -> Path:
        subprocess.run([str(SCREENSHOT), str(path)], env=self.env, check=True, timeout=30)
        return path


class Driver:
    """Window look-ups and messages through lumora-driver.exe.

    Every call raises when the driver gives no answer or says the call failed; only "none found"
    is an answer, and only the calls whose names say so (find, all, try_post, …) return it as
    None or an empty list. Look-ups, which change nothing, are asked again after a failure; any
    call is made again when Wine did not run the driver at all (nothing was done)."""

    ASKS_FOR_LOOKUPS = 3
    LAUNCHES = 3

    def __init__(self, session: WineSession):
        self.session = session

    def _call(self, *args: object, wait: float = 0, none_found_ok: bool = False,
              asks: int = 1) -> list[str] | None:
        for attempt in range(1, asks + 1):
            last = attempt == asks
            try:
                reply = self._launch(*args, wait=wait)
            except DriverError:
                if last:
                    raise
                time.sleep(0.5)
                continue
            if reply.code == DRIVER_OK:
                return reply.lines
            if reply.code == DRIVER_NONE_FOUND and none_found_ok:
                return None
            if reply.code == DRIVER_FAILED and not last:
                time.sleep(0.5)
                continue
            raise reply.error_for(args)
        raise AssertionError("unreachable")

    def _launch(self, *args: object, wait: float) -> DriverReply:
        for launch in range(1, self.LAUNCHES + 1):
            try:
                return self.session.driver(*args, wait=wait)
            except DriverNotRun:
                if launch == self.LAUNCHES:
                    raise
                time.sleep(0.5)
        raise AssertionError("unreachable")

    def _lookup(self, *args: object, none_found_ok: bool = False) -> list[str] | None:
        return self._call(*args, none_found_ok=none_found_ok, asks=self.ASKS_FOR_LOOKUPS)

    # --- look-ups ---------------------------------------------------------------------------

    def find(self, cls: str, title: str | None = None) -> int | None:
        """The window's handle, or None when the driver found none."""
        lines = self._lookup("find", cls, *([title] if title is not None else []), none_found_ok=True)
        return int(lines[0]) if lines is not None else None

    def all(self, cls: str) -> list[dict[str, str]]:
        """Every top-level window of a class: hwnd, pid, visible."""
        return [parse_fields(line) for line in self._lookup("all", cls, none_found_ok=True) or []]

    def wait_window(self, cls: str, timeout: float = 10) -> int:
        lines = self._call("wait", cls, int(timeout * 1000), wait=timeout, none_found_ok=True)
        if lines is None:
            raise TimeoutError(f"no window of class {cls} within {timeout} s")
        return int(lines[0])

    def wait_gone(self, cls: str, timeout: float = 10) -> None:
        if self._call("wait-gone", cls, int(timeout * 1000), wait=timeout, none_found_ok=True) is None:
            raise TimeoutError(f"window of class {cls} still there after {timeout} s")

    def info(self, window: int | str) -> WindowInfo:
        return parse_info(self._lookup("info", window)[0])

    def windows(self, pid: int) -> list[dict[str, str]]:
        return [parse_fields(line) for line in self._lookup("windows", pid, none_found_ok=True) or []]

    def children(self, window: int | str) -> list[dict[str, str]]:
        return [parse_fields(line) for line in self._lookup("children", window)]

    def stack(self) -> list[dict[str, str]]:
        """The visible top-level windows, topmost first: hwnd, class, title."""
        return [parse_fields(line) for line in self._lookup("stack")]

    def get_text(self, window: int | str) -> str:
        """The window's whole text (WM_GETTEXT)."""
        return unescape(self._lookup("gettext", window)[0])

    def priority(self, pid: int) -> str:
        return parse_fields(self._lookup("priority", pid)[0])["name"]

    def work_area(self, window: int | str | None = None) -> tuple[tuple[int, ...], tuple[int, ...]]:
        """The work area and the monitor bounds (left, top, right, bottom) of a window's monitor."""
        f = parse_fields(self._lookup("workarea", *([window] if window is not None else []))[0])
        return (tuple(int(v) for v in f["work"].split(",")),
                tuple(int(v) for v in f["monitor"].split(",")))

    def foreground(self) -> int:
        """The foreground window's handle, 0 when there is none."""
        return int(parse_fields(self._lookup("foreground")[0])["hwnd"], 0)

    def tooltip_texts(self, pid: int) -> list[dict[str, str]]:
        """Each tool of each tooltip control of a process: hwnd (control), tool (window), text."""
        found = []
        for line in self._lookup("tooltip-texts", pid, none_found_ok=True) or []:
            head, _, text = line.partition(" text=")
            fields = parse_fields(head)
            fields["text"] = unescape(text)
            found.append(fields)
        return found

    def msgbox(self, timeout: float = 10, pid: int | None = None) -> MessageBox:
        lines = self._call("msgbox", int(timeout * 1000), *([pid] if pid else []), wait=timeout,
                           none_found_ok=True, asks=2)
        if lines is None:
            raise TimeoutError(f"no message box within {timeout} s")
        return parse_msgbox(lines)

    # --- actions ----------------------------------------------------------------------------

    def post(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> None:
        self._call("post", window, msg, wparam, lparam)

    def try_post(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> bool:
        """Posts when the window is there; False when it is not."""
        return self._call("post", window, msg, wparam, lparam, none_found_ok=True) is not None

    def send(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> int:
        """The window's answer; raises when the window is not there or does not answer in time."""
        return int(self._call("send", window, msg, wparam, lparam)[0])

    def try_send(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> int | None:
        """The window's answer, or None when no such window is there."""
        lines = self._call("send", window, msg, wparam, lparam, none_found_ok=True)
        return int(lines[0]) if lines is not None else None

    def move(self, window: int | str, x: int, y: int) -> None:
        self._call("move", window, x, y)

    def resize(self, window: int | str, width: int, height: int) -> None:
        self._call("resize", window, width, height)

    def close(self, window: int | str) -> None:
        self._call("close", window)

    def try_close(self, window: int | str) -> bool:
        return self._call("close", window, none_found_ok=True) is not None

    def show(self, window: int | str, visible: bool) -> None:
        """Shows or hides another program's window without activating it."""
        self._call("show", window, "show" if visible else "hide")

    def dpi_changed(self, window: int | str, dpi: int, suggested: tuple[int, int, int, int]) -> int:
        """WM_DPICHANGED as the system sends it, the suggested rectangle in the window's own process."""
        return int(self._call("dpi-changed", window, dpi, *suggested)[0])

    def remove_icon(self, window: int | str, icon_id: int) -> None:
        """Takes a program's notification icon away, as a restarted taskbar would have lost it."""
        self._call("tray-delete", window, icon_id)

    def press(self, box: MessageBox | int, button_id: int) -> None:
        self._call("press", box.hwnd if isinstance(box, MessageBox) else box, button_id)

    def set_text(self, window: int | str, text: str) -> None:
        self._call("settext", window, text)

    def set_text_all(self, window: int | str, text: str) -> None:
        """Every edit field below the window gets the text."""
        self._call("settext-all", window, text)

    def copydata(self, window: int | str, data_id: int, text: str | None = None) -> int:
        """WM_COPYDATA with a text; the window's answer."""
        return int(self._call("copydata", window, data_id, *([text] if text is not None else []))[0])

    def key(self, vk: int, down: bool) -> None:
        """Injects a key press or release, seen by GetAsyncKeyState in every process of the prefix."""
        self._call("key", vk, "down" if down else "up")

    def cursor(self, x: int | None = None, y: int | None = None) -> tuple[int, int]:
        """Moves the cursor when given a point; returns where it is."""
        f = parse_fields(self._call("cursor", *([x, y] if x is not None else []))[0])
        return int(f["x"]), int(f["y"])

    def mouse(self, down: bool, button: str = "left") -> None:
        """Presses or releases a mouse button where the cursor is, through the system's input."""
        self._call("mouse", "down" if down else "up", button)


class LumoraApp:
    """One test's Lumora: a private copy of the program, its settings and its processes."""

    def __init__(self, session: WineSession, folder: Path):
        self.session = session
        self.driver = Driver(session)
        self.folder = folder
        self.exe = folder / "Lumora.exe"
        self.log = folder / "wine.log"
        self.process: subprocess.Popen | None = None
        self.processes: list[subprocess.Popen] = []
        if LUMORA_EXE.exists():
            shutil.copy2(LUMORA_EXE, self.exe)
        clear_tree(session.orvane_appdata)

    # --- files ------------------------------------------------------------------------------

    @property
    def settings_path(self) -> Path:
        """The local settings file beside the exe, named after the Wine user."""
        return self.folder / self.session.local_settings_name()

    @property
    def appdata_settings_path(self) -> Path:
        return self.session.appdata_settings_path

    def write_settings(self, content: str | bytes, encoding: str = "cp932",
                       path: Path | None = None) -> Path:
        target = path or self.settings_path
        target.parent.mkdir(parents=True, exist_ok=True)
        data = content if isinstance(content, bytes) else content.replace("\n", "\r\n").encode(encoding)
        target.write_bytes(data)
        return target

    def read_settings_bytes(self, path: Path | None = None) -> bytes:
        return (path or self.settings_path).read_bytes()

    def read_settings(self, encoding: str = "cp932", path: Path | None = None) -> str:
        return self.read_settings_bytes(path).decode(encoding)

    # --- processes --------------------------------------------------------------------------

    def spawn(self, args: list[str], env: dict | None = None, faketime: str | None = None) -> subprocess.Popen:
        """Any Windows program, ended with the test (used for the harness's own checks)."""
        process = self.session.spawn(args, cwd=self.folder, env=env, faketime=faketime, log=self.log)
        self.processes.append(process)
        return process

    def start(self, *args: str, env: dict | None = None, faketime: str | None = None) -> subprocess.Popen:
        """Starts Lumora.exe; faketime takes libfaketime's -f form, e.g. '@2026-01-05 09:59:55'."""
        if not self.exe.exists():
            raise RuntimeError(f"{LUMORA_EXE.relative_to(REPO)} is missing: run scripts/build")
        self.process = self.spawn([str(self.exe), *args], env=env, faketime=faketime)
        return self.process

    def wait_exit(self, timeout: float = 10, process: subprocess.Popen | None = None) -> int:
        """Waits for the Wine process to end; returns the program's exit code."""
        target = process or self.process
        try:
            return target.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"process still running after {timeout} s") from None

    @property
    def running(self) -> bool:
        return self.process is not None and self.process.poll() is None

    def pid(self) -> int:
        """The Windows process id, taken from the main window."""
        return self.info(MASTER_CLASS).pid

    # --- windows ----------------------------------------------------------------------------

    def find_window(self, cls: str, title: str | None = None) -> int | None:
        return self.driver.find(cls, title)

    def all_windows(self, cls: str) -> list[dict[str, str]]:
        return self.driver.all(cls)

    def wait_window(self, cls: str = MASTER_CLASS, timeout: float = 10) -> int:
        return self.driver.wait_window(cls, timeout)

    def wait_gone(self, cls: str, timeout: float = 10) -> None:
        self.driver.wait_gone(cls, timeout)

    def info(self, window: int | str) -> WindowInfo:
        return self.driver.info(window)

    def post(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> None:
        self.driver.post(window, msg, wparam, lparam)

    def send(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> int:
        return self.driver.send(window, msg, wparam, lparam)

    def try_send(self, window: int | str, msg: int | str, wparam: int = 0, lparam: int = 0) -> int | None:
        return self.driver.try_send(window, msg, wparam, lparam)

    def answers(self) -> None:
        """Proves the master window is there and handles messages (raises otherwise)."""
        self.driver.send(MASTER_CLASS, WM_NULL)

    def expect_absent(self, cls: str, seconds: float, title: str | None = None) -> None:
        """Asserts that no window of the class appears for the whole time, once the program has
        shown that it answers (an absence seen in a dead program proves nothing)."""
        self.answers()
        assert stays(lambda: self.find_window(cls, title) is None, seconds), f"a window {cls} appeared"
        self.answers()

    def expect_no_msgbox(self, seconds: float = 1.5) -> None:
        """No message box of the program comes up for the whole time, while it shows that it answers."""
        self.answers()
        try:
            box = self.msgbox(seconds, pid=self.pid())
        except TimeoutError:
            box = None
        assert box is None, f"a message box came up: {box.title!r} {box.text!r}"
        self.answers()

    def playing(self) -> bool:
        """The sound player's own word, through the test hooks; raises when the program does not answer."""
        return self.copydata(HOOK_PLAYING) == 1

    def move_tray_aside(self) -> None:
        """Wine shows notification icons in a window of its own at 0,0, over the clock's place;
        screen checks move it to the bottom right corner."""
        if self.find_window(WINE_TRAY_CLASS):
            self.driver.move(WINE_TRAY_CLASS, 1280 - 200, 800 - 60)

    def copydata(self, data_id: int, text: str | None = None, window: int | str = MASTER_CLASS) -> int:
        return self.driver.copydata(window, data_id, text)

    def work_area(self, window: int | str | None = None) -> tuple[tuple[int, ...], tuple[int, ...]]:
        return self.driver.work_area(window)

    def cursor(self, x: int | None = None, y: int | None = None) -> tuple[int, int]:
        return self.driver.cursor(x, y)

    @contextlib.contextmanager
    def holding(self, vk: int):
        """Keeps a key down for the body of a with-statement; released however the body ends."""
        self.driver.key(vk, True)
        try:
            yield
        finally:
            self.driver.key(vk, False)

    def tray_icon(self, tip: str, timeout: float = 10) -> int:
        """The window of the notification icon whose tooltip reads tip (Wine shows each icon as a
        child window of its own tray, with the tip in a tooltip control of that process)."""
        def find():
            for tray in self.driver.all(WINE_TRAY_CLASS):
                for tool in self.driver.tooltip_texts(int(tray["pid"])):
                    if tool["text"] == tip:
                        return int(tool["tool"])
            return None
        return wait_until(find, timeout=timeout, interval=0.2)

    def button_window(self, title: str, ms: int = 60000) -> tuple[int, int]:
        """Another program's window with a push button, for ms: (window, button)."""
        self.spawn([str(DRIVER_EXE), "button-window", str(ms), title])
        host = wait_until(lambda: self.find_window("LumoraDriverButtonHost"), timeout=30)
        button = wait_until(lambda: next((int(c["hwnd"]) for c in self.driver.children(host)
                                          if c["class"].lower() == "button"), None), timeout=10)
        return host, button

    def press_key(self, vk: int) -> None:
        self.driver.key(vk, True)
        self.driver.key(vk, False)

    def close(self, cls: str = MASTER_CLASS) -> None:
        self.driver.close(cls)

    def exit_and_read_settings(self, timeout: float = 15) -> str:
        """Closes the program, which must end with exit code 0 having written its settings file."""
        before = self.settings_path.stat().st_mtime_ns if self.settings_path.exists() else None
        self.close()
        assert self.wait_exit(timeout) == 0
        assert self.settings_path.exists(), "no settings file was written at exit"
        assert self.settings_path.stat().st_mtime_ns != before, "the settings file was not written at exit"
        return self.read_settings()

    def msgbox(self, timeout: float = 10, pid: int | None = None) -> MessageBox:
        return self.driver.msgbox(timeout, pid)

    def press(self, box: MessageBox | int, button_id: int) -> None:
        self.driver.press(box, button_id)

    def priority(self, pid: int | None = None) -> str:
        return self.driver.priority(pid if pid is not None else self.pid())

    def windows(self, pid: int | None = None) -> list[dict[str, str]]:
        return self.driver.windows(pid if pid is not None else self.pid())

    def screenshot(self, path: Path | str | None = None) -> Path:
        return self.session.screenshot(Path(path) if path else self.folder / "screen.png")

    # --- teardown ---------------------------------------------------------------------------

    def end(self) -> None:
        """Ends everything this test started: a polite close first, then the whole process group."""
        alive = [p for p in self.processes if p.poll() is None]
        if self.process in alive and self.driver.try_close(MASTER_CLASS):
            try:
                self.process.wait(timeout=3)
            except subprocess.TimeoutExpired:
                pass
        for process in self.processes:
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait(timeout=10)
        if lumora_processes(self.session.prefix):
            # Something outlived its group (started through the server): end the prefix's processes.
            self.session.restart_server()
        clear_tree(self.session.orvane_appdata)


def capture(args: list[str], env: dict, timeout: float) -> subprocess.CompletedProcess:
    """Runs a command, output into files: a Wine service it starts inherits the handles and
    would hold a pipe open long after the command itself has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        try:
            returncode = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(args, returncode, out.read(), err.read())


def worker_folder(name: str) -> Path:
    """A folder of the build for this test process: parallel workers (pytest-xdist) share no
    display, prefix or Wine server."""
    worker = os.environ.get("PYTEST_XDIST_WORKER")
    return BUILD / (f"{name}-{worker}" if worker else name)


def clear_tree(path: Path) -> None:
    if path.exists():
        shutil.rmtree(path)


def clear_stale_faketime_objects() -> None:
    """The faketime wrapper names its shared memory and semaphore after its own pid and refuses
    to start ("sem_open: File exists") when a wrapper killed earlier left them behind under a pid
    now reused: remove those of wrappers no longer running."""
    for entry in Path("/dev/shm").glob("*faketime_*_*"):
        pid = entry.name.rsplit("_", 1)[-1]
        if pid.isdigit() and not Path("/proc", pid).exists():
            entry.unlink(missing_ok=True)


def lumora_processes(prefix: Path) -> list[int]:
    """Unix pids of Lumora.exe processes running in this prefix."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            cmdline = (entry / "cmdline").read_bytes()
            if b"lumora.exe" not in cmdline.lower():
                continue
            environ = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if f"WINEPREFIX={prefix}".encode() in environ:
            found.append(int(entry.name))
    return found


def stays(predicate, seconds: float, interval: float = 0.1) -> bool:
    """True when predicate holds at every look for the whole time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(interval)
    return predicate()


def wait_until(predicate, timeout: float = 10, interval: float = 0.1):
    """Polls predicate until it returns something truthy; returns that value or raises."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"condition not met within {timeout} s")
        time.sleep(interval)
