"""The numbers the tests send: the menu's command ids, the dialogs' resource ids and the Windows
message numbers, notification codes and key codes, each defined once.

The command ids and resource ids are read from the program's own headers when this module is
imported, so a renumbered control or command reaches every test at once. A header this module
cannot read, or a name it does not find, fails the import instead of leaving a stale number.

    from ids import COMMAND, IDC_OPTION_TREE, WM_COMMAND
    post(hwnd, WM_COMMAND, COMMAND.Option, 0)
"""
import re
from pathlib import Path
from types import SimpleNamespace

SOURCE = Path(__file__).resolve().parents[2] / "src"
COMMAND_HEADER = SOURCE / "menu" / "CommandIds.h"

_DEFINE = re.compile(r"#define\s+(ID[A-Z]*_\w+)\s+(\S+)\s*(?://.*)?$")
_ENUM = re.compile(r"enum\s+class\s+CommandId\b[^{]*\{(?P<body>[^}]*)\}")
_ENUMERATOR = re.compile(r"(\w+)\s*=\s*(\d+)")


class IdsError(Exception):
    """A header whose ids this module cannot read."""


def _number(text: str, where: str) -> int:
    try:
        return int(text, 0)
    except ValueError:
        raise IdsError(f"{where}: {text!r} is not a number") from None


def parse_command_ids(text: str, where: str = "CommandIds.h") -> dict[str, int]:
    """The enumerators of `enum class CommandId` by their C++ names."""
    match = _ENUM.search(text)
    if match is None:
        raise IdsError(f"{where}: no enum class CommandId")
    commands = {}
    for item in match.group("body").split(","):
        item = re.sub(r"//.*", "", item).strip()
        if not item:
            continue
        enumerator = _ENUMERATOR.fullmatch(item)
        if enumerator is None:
            raise IdsError(f"{where}: CommandId {item!r} has no fixed number")
        commands[enumerator.group(1)] = int(enumerator.group(2))
    if not commands:
        raise IdsError(f"{where}: enum class CommandId is empty")
    return commands


def parse_resource_ids(text: str, where: str) -> dict[str, int]:
    """The `#define ID..._NAME number` lines of a resource header; other macros are left alone."""
    ids = {}
    for number, line in enumerate(text.splitlines(), 1):
        line = line.strip()
        if not re.match(r"#define\s+ID[A-Z]*_", line):
            continue
        define = _DEFINE.match(line)
        if define is None:
            raise IdsError(f"{where}:{number}: cannot read {line!r}")
        ids[define.group(1)] = _number(define.group(2), f"{where}:{number}")
    return ids


def resource_headers() -> list[Path]:
    headers = sorted(SOURCE.rglob("*Res.h")) + [SOURCE / "resources" / "ResourceIds.h"]
    if len(headers) < 2:
        raise IdsError(f"no resource headers under {SOURCE}")
    return headers


def _read_all() -> tuple[dict[str, int], dict[str, int]]:
    commands = parse_command_ids(COMMAND_HEADER.read_text(encoding="utf-8"), str(COMMAND_HEADER))
    resources: dict[str, int] = {}
    for header in resource_headers():
        for name, value in parse_resource_ids(header.read_text(encoding="utf-8"), header.name).items():
            if name in resources and resources[name] != value:
                raise IdsError(f"{header.name}: {name} is {value} here and {resources[name]} elsewhere")
            resources[name] = value
    return commands, resources


_commands, RESOURCE_IDS = _read_all()


class _Commands(SimpleNamespace):
    def __getattr__(self, name):  # only called for names the header does not have
        raise AttributeError(f"CommandId has no {name}")


# The popup menu's commands by their C++ names: COMMAND.Option, COMMAND.Timer, ...
COMMAND = _Commands(**_commands)

# Windows message numbers, notification codes, dialog answers, key and style bits the tests use.
WINDOWS = {
    # window messages
    "WM_NULL": 0x0000, "WM_SETTEXT": 0x000C, "WM_GETTEXTLENGTH": 0x000E, "WM_CLOSE": 0x0010,
    "WM_ENDSESSION": 0x0016, "WM_SETTINGCHANGE": 0x001A, "WM_TIMECHANGE": 0x001E,
    "WM_NEXTDLGCTL": 0x0028, "WM_CONTEXTMENU": 0x007B, "WM_DISPLAYCHANGE": 0x007E,
    "WM_NCHITTEST": 0x0084, "WM_KEYDOWN": 0x0100, "WM_CHAR": 0x0102, "WM_COMMAND": 0x0111,
    "WM_SYSCOMMAND": 0x0112, "WM_LBUTTONDOWN": 0x0201, "WM_LBUTTONUP": 0x0202,
    "WM_LBUTTONDBLCLK": 0x0203, "WM_RBUTTONDOWN": 0x0204, "WM_RBUTTONUP": 0x0205,
    "WM_POWERBROADCAST": 0x0218,
    # control messages
    "EM_SETSEL": 0x00B1, "BM_GETCHECK": 0x00F0, "BM_SETCHECK": 0x00F1, "BM_CLICK": 0x00F5,
    "CB_GETCOUNT": 0x0146, "CB_GETCURSEL": 0x0147, "CB_SETCURSEL": 0x014E, "CB_SHOWDROPDOWN": 0x014F,
    "CB_GETITEMHEIGHT": 0x0154, "CB_GETDROPPEDSTATE": 0x0157, "LB_GETITEMDATA": 0x0199,
    "LVM_GETITEMCOUNT": 0x1004, "LVM_GETNEXTITEM": 0x100C, "LVM_GETSELECTEDCOUNT": 0x1032,
    "TVM_GETNEXTITEM": 0x110A, "TVM_SELECTITEM": 0x110B,
    # notification codes and flags
    "BN_CLICKED": 0, "CBN_SELCHANGE": 1, "EN_CHANGE": 0x0300, "MK_LBUTTON": 1,
    "LVNI_FOCUSED": 1, "LVNI_SELECTED": 2,
    "TVGN_ROOT": 0, "TVGN_NEXTVISIBLE": 6, "TVGN_CARET": 9,
    "HTCLIENT": 1, "HTCAPTION": 2,
    "PBT_APMSUSPEND": 4, "PBT_APMRESUMECRITICAL": 6, "PBT_APMRESUMESUSPEND": 7, "PBT_APMRESUMESTANDBY": 8,
    "PBT_APMPOWERSTATUSCHANGE": 10,
    "SC_CLOSE": 0xF060, "SC_SCREENSAVE": 0xF140, "SC_MONITORPOWER": 0xF170,
    # dialog answers
    "IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5, "IDYES": 6, "IDNO": 7,
    # virtual keys
    "VK_RETURN": 0x0D, "VK_SHIFT": 0x10, "VK_CONTROL": 0x11, "VK_ESCAPE": 0x1B, "VK_SPACE": 0x20,
    "VK_END": 0x23, "VK_HOME": 0x24, "VK_UP": 0x26, "VK_RIGHT": 0x27, "VK_DOWN": 0x28,
    "VK_F4": 0x73, "VK_F8": 0x77, "VK_F9": 0x78,
    # extended window styles
    "WS_EX_TOPMOST": 0x0008, "WS_EX_TRANSPARENT": 0x0020, "WS_EX_TOOLWINDOW": 0x0080,
    "WS_EX_LAYERED": 0x80000,
}

_clash = set(WINDOWS) & set(RESOURCE_IDS)
if _clash:
    raise IdsError(f"resource ids named like Windows constants: {sorted(_clash)}")

globals().update(RESOURCE_IDS)
globals().update(WINDOWS)


def __getattr__(name):  # only called for names neither table has: fail the import that asked
    raise AttributeError(f"ids has no {name}: not in the resource headers nor the Windows table")
