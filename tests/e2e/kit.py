"""Small things several test files share: waiting for states, visible-hours tables, test tones
and the notification icon's tooltips."""
import ctypes
import math
import os
import struct
import time
import wave
from datetime import datetime
from zoneinfo import ZoneInfo

from lumora import WINE_TRAY_CLASS, stays  # noqa: F401  (stays: shared with the tests that import it from here)

MINUTES_OF_WEEK = 7 * 24 * 60


def minute_of_week(day: int, hour: int, minute: int) -> int:
    return day * 1440 + hour * 60 + minute


def week(default: str = "1", marks: dict[int, str] | None = None) -> str:
    """A visible-hours table: one digit per minute of the week, some minutes marked."""
    table = [default] * MINUTES_OF_WEEK
    for index, digit in (marks or {}).items():
        table[index] = digit
    return "".join(table)


def write_sine(path, seconds: float, rate: int = 22050):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                                 for i in range(int(rate * seconds))))
    return path


def icon_tips(lumora, prefix: str) -> list[dict[str, str]]:
    """The notification icons' tooltips that start with prefix: text and the icon's window (tool)."""
    tips = []
    for tray in lumora.all_windows(WINE_TRAY_CLASS):
        tips += [t for t in lumora.driver.tooltip_texts(int(tray["pid"])) if t["text"].startswith(prefix)]
    return tips


def icon_texts(lumora, prefix: str) -> list[str]:
    return [t["text"] for t in icon_tips(lumora, prefix)]


IN_MODIFY, IN_CLOSE_WRITE, IN_CLOSE_NOWRITE, IN_OPEN = 0x2, 0x8, 0x10, 0x20
IN_MOVED_FROM, IN_MOVED_TO, IN_CREATE, IN_DELETE = 0x40, 0x80, 0x100, 0x200
EVENT_NAMES = {IN_MODIFY: "modify", IN_CLOSE_WRITE: "close-write", IN_CLOSE_NOWRITE: "close-nowrite",
               IN_OPEN: "open", IN_MOVED_FROM: "moved-from", IN_MOVED_TO: "moved-to", IN_CREATE: "create",
               IN_DELETE: "delete"}
WRITES = IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE | IN_DELETE


class FolderEvents:
    """What happens to the files of a folder, seen through inotify: (event, file name) in order."""

    def __init__(self, folder, mask: int = WRITES):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK)
        assert self.fd >= 0 and self.libc.inotify_add_watch(self.fd, os.fsencode(folder), mask) >= 0
        self.events: list[tuple[str, str]] = []

    def read(self) -> list[tuple[str, str]]:
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return self.events
            offset = 0
            while offset < len(data):
                _, mask, _, length = struct.unpack_from("iIII", data, offset)
                name = data[offset + 16:offset + 16 + length].rstrip(b"\0").decode()
                self.events += [(label, name) for bit, label in EVENT_NAMES.items() if mask & bit]
                offset += 16 + length

    def close(self) -> None:
        os.close(self.fd)


# The library that takes a lock around each look at the clock: with the plain one, Wine's threads
# race while it reads the file again, each read starts the time anew and the clock stands still.
FAKETIME_LIBRARY = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"


class MovableClock:
    """A faked wall clock the test moves while the program runs, so that Wine's start-up, however
    slow, cannot eat the time before the instant under test. libfaketime reads the time from a
    file at every look. set() takes libfaketime's own form: "@2026-01-05 09:59:30" (with " x10"
    for ten times real speed) runs on from the moment the program first reads it; set_at() puts
    the clock at an instant as real time plus an offset, exact however late the program reads it."""

    def __init__(self, folder, start: str | None = None):
        self.file = folder / "faketime.txt"
        self.offset = 0.0
        if start is None:
            self.set_at(time.time())
        else:
            self.set(start)

    def set(self, setting: str) -> None:
        # Replaced whole: a half-written file would be read as no time at all.
        part = self.file.with_suffix(".part")
        part.write_text(setting + "\n")
        os.replace(part, self.file)

    def set_at(self, instant: float) -> None:
        """The clock at this instant (seconds since the epoch) now, running on at real speed."""
        self.offset = instant - time.time()
        self.set(f"{self.offset:+.3f}")

    def now(self) -> float:
        """The faked time as the program reads it, for a clock placed with set_at()."""
        return time.time() + self.offset

    def env(self) -> dict[str, str]:
        return {"LD_PRELOAD": FAKETIME_LIBRARY, "FAKETIME_TIMESTAMP_FILE": str(self.file),
                "FAKETIME_NO_CACHE": "1"}


def local_instant(text: str, zone: str = "Asia/Tokyo") -> float:
    """'2026-01-05 09:59:30' on the tests' Wine clock (Japan time), as seconds since the epoch."""
    return datetime.strptime(text, "%Y-%m-%d %H:%M:%S").replace(tzinfo=ZoneInfo(zone)).timestamp()
