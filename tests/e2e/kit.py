"""Small things several test files share: waiting for states, visible-hours tables, test tones
and the notification icon's tooltips."""
import ctypes
import math
import os
import struct
import wave

from lumora import stays  # noqa: F401  (shared with the tests that import it from here)

MINUTES_OF_WEEK = 7 * 24 * 60
WINE_TRAY_WINDOW = "__winex11_standalone_tray"




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
    for tray in lumora.all_windows(WINE_TRAY_WINDOW):
        tips += [t for t in lumora.driver.tooltip_texts(int(tray["pid"])) if t["text"].startswith(prefix)]
    return tips


def icon_texts(lumora, prefix: str) -> list[str]:
    return [t["text"] for t in icon_tips(lumora, prefix)]


IN_MODIFY, IN_CLOSE_WRITE, IN_MOVED_FROM, IN_MOVED_TO, IN_CREATE, IN_DELETE = 0x2, 0x8, 0x40, 0x80, 0x100, 0x200
EVENT_NAMES = {IN_MODIFY: "modify", IN_CLOSE_WRITE: "close-write", IN_MOVED_FROM: "moved-from",
               IN_MOVED_TO: "moved-to", IN_CREATE: "create", IN_DELETE: "delete"}


class FolderEvents:
    """What happens to the files of a folder, seen through inotify: (event, file name) in order."""

    def __init__(self, folder, mask: int = sum(EVENT_NAMES)):
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
