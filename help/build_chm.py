#!/usr/bin/env python3
"""Compiles the help sources in this folder into Lumora.chm.

    build_chm.py --chmcmd PATH --chmls PATH --work DIR --output Lumora.chm

The sources are UTF-8. The HTML Help viewer reads the contents tree and the window title in the
ANSI code page of the help file's language, so every text file is staged in DIR as Shift_JIS
(code page 932) with its charset declaration changed to match, and chmcmd compiles the staged
copy.

chmcmd 3.2.2 writes the context map (#IVB) with the project folder's absolute path in front of
each topic, a name no help viewer finds in the file. After compiling, the map is rewritten so
that each context number names its topic as it is stored in the help file: the corrected names
are appended to #STRINGS, and #STRINGS and #IVB move to the uncompressed section. Every number
of context.h is then checked against the finished file.
"""
from __future__ import annotations

import argparse
import re
import shutil
import struct
import subprocess
import sys
from pathlib import Path

SOURCE = Path(__file__).resolve().parent
PROJECT = "Lumora.hhp"
TEXT_SUFFIXES = {".html", ".hhc", ".hhp", ".h", ".css"}
CHARSET = re.compile(rb"charset=utf-8", re.IGNORECASE)


class BuildError(Exception):
    pass


# --- staging -----------------------------------------------------------------------------------

def stage(work: Path) -> None:
    if work.exists():
        shutil.rmtree(work)
    for path in sorted(SOURCE.rglob("*")):
        if path.is_dir() or path.suffix in {".py", ".txt"} or "__pycache__" in path.parts:
            continue
        target = work / path.relative_to(SOURCE)
        target.parent.mkdir(parents=True, exist_ok=True)
        if path.suffix not in TEXT_SUFFIXES:
            shutil.copyfile(path, target)
            continue
        text = path.read_text(encoding="utf-8")
        try:
            data = text.encode("cp932")
        except UnicodeEncodeError as error:
            line = text.count("\n", 0, error.start) + 1
            raise BuildError(f"{path.name}:{line}: {text[error.start]!r} (U+{ord(text[error.start]):04X}) "
                             "has no Shift_JIS form; use another character") from None
        target.write_bytes(CHARSET.sub(b"charset=Shift_JIS", data))


def context_numbers(work: Path) -> dict[int, str]:
    """The #define lines of context.h: number -> symbol."""
    numbers = {}
    for line in (work / "context.h").read_text(encoding="cp932").splitlines():
        match = re.match(r"\s*#define\s+(\w+)\s+(\d+)", line)
        if match:
            numbers[int(match.group(2))] = match.group(1)
    if not numbers:
        raise BuildError("context.h defines no context number")
    return numbers


def compile_project(chmcmd: str, work: Path) -> Path:
    # chmcmd resolves "#include" in [MAP] against the current folder, so it runs in the project.
    result = subprocess.run([chmcmd, PROJECT], cwd=work, capture_output=True, text=True,
                            encoding="utf-8", errors="replace")
    report = [line for line in (result.stdout + result.stderr).splitlines()
              if line.strip() and not line.startswith(("chmcmd, a CHM compiler", "Writing CHM"))]
    for line in report:
        print(f"chmcmd: {line}")
    output = work / "Lumora.chm"
    if result.returncode != 0 or not output.exists() or any(l.startswith("Error") for l in report):
        raise BuildError("chmcmd failed")
    return output


# --- the CHM container (ITSF) ----------------------------------------------------------------

def read_encint(data: bytes, pos: int) -> tuple[int, int]:
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def encint(value: int) -> bytes:
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(groups))


class Chm:
    """The header and the directory of a CHM file, enough to move files into section 0."""

    def __init__(self, data: bytes):
        if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
            raise BuildError("not a version 3 CHM file")
        self.data = bytearray(data)
        self.section0_header = struct.unpack_from("<Q", data, 0x38)[0]
        self.directory = struct.unpack_from("<Q", data, 0x48)[0]
        self.content = struct.unpack_from("<Q", data, 0x58)[0]
        itsp = self.directory
        if data[itsp:itsp + 4] != b"ITSP":
            raise BuildError("CHM directory header missing")
        self.header_length, = struct.unpack_from("<I", data, itsp + 8)
        self.chunk_size, = struct.unpack_from("<I", data, itsp + 0x10)
        chunk_count, = struct.unpack_from("<I", data, itsp + 0x2C)
        self.chunks = [self.directory + self.header_length + i * self.chunk_size for i in range(chunk_count)]

    def listing_chunks(self):
        for start in self.chunks:
            if self.data[start:start + 4] == b"PMGL":
                yield start

    def entries(self, start: int) -> list[list]:
        count, = struct.unpack_from("<H", self.data, start + self.chunk_size - 2)
        pos, result = start + 0x14, []
        for _ in range(count):
            length, pos = read_encint(self.data, pos)
            name = bytes(self.data[pos:pos + length])
            pos += length
            section, pos = read_encint(self.data, pos)
            offset, pos = read_encint(self.data, pos)
            size, pos = read_encint(self.data, pos)
            result.append([name, section, offset, size])
        return result

    def listing(self) -> dict[bytes, tuple[int, int, int]]:
        return {name: (section, offset, size)
                for start in self.listing_chunks() for name, section, offset, size in self.entries(start)}

    def chunk_bytes(self, start: int, entries: list[list]) -> bytes:
        """A listing chunk laid out as chmcmd lays it out: entries, then one quick reference per
        five entries written backwards from the end, and the entry count in the last word."""
        chunk = bytearray(self.chunk_size)
        chunk[:0x14] = self.data[start:start + 0x14]
        pos, quick = 0x14, []
        for number, (name, section, offset, size) in enumerate(entries, 1):
            entry = encint(len(name)) + name + encint(section) + encint(offset) + encint(size)
            chunk[pos:pos + len(entry)] = entry
            if number % 5 == 0:
                quick.append(pos - 0x14)
            pos += len(entry)
        if pos > self.chunk_size - 2 * (len(quick) + 2):
            raise BuildError("the directory chunk has no room for the corrected entries")
        for k, value in enumerate(quick, 1):
            struct.pack_into("<H", chunk, self.chunk_size - 2 - 2 * k, value)
        struct.pack_into("<H", chunk, self.chunk_size - 2, len(entries))
        struct.pack_into("<I", chunk, 4, self.chunk_size - pos)
        return bytes(chunk)

    def set_entries(self, changes: dict[bytes, tuple[int, int, int]]) -> None:
        """Points each named directory entry at a new (section, offset, size)."""
        found = set()
        for start in list(self.listing_chunks()):
            entries = self.entries(start)
            if self.chunk_bytes(start, entries) != self.data[start:start + self.chunk_size]:
                raise BuildError("unexpected directory chunk layout")
            changed = [entry for entry in entries if entry[0] in changes]
            for entry in changed:
                entry[1:] = changes[entry[0]]
                found.add(entry[0])
            if changed:
                self.data[start:start + self.chunk_size] = self.chunk_bytes(start, entries)
        missing = sorted(changes.keys() - found)
        if missing:
            raise BuildError(f"{missing[0].decode()} is missing from the compiled help file")

    def move_to_section0(self, files: dict[bytes, bytes]) -> None:
        """Appends each file's new content to the end and points its directory entry there."""
        changes = {}
        for name in sorted(files):
            changes[name] = (0, len(self.data) - self.content, len(files[name]))
            self.data += files[name]
        self.set_entries(changes)
        struct.pack_into("<Q", self.data, self.section0_header + 8, len(self.data))


# --- the context map ---------------------------------------------------------------------------

def extract(chmls: str, chm: Path, name: str, work: Path) -> bytes:
    target = work / ("extract-" + name.strip("/#"))
    target.unlink(missing_ok=True)
    subprocess.run([chmls, "extract", str(chm), name, str(target)], check=True, capture_output=True)
    if not target.exists():
        raise BuildError(f"{name} is missing from the compiled help file")
    return target.read_bytes()


def extract_compiled_strings(chmls: str, chm_path: Path, work: Path) -> bytes:
    """#STRINGS as chmcmd wrote it, read through chmls.

    chmcmd writes #STRINGS last in the compressed section, and chmls cannot read the last byte of a
    compressed section that fills its last 32 KiB block exactly: it asks for one block more and then
    reports the file as missing. So chmls reads a copy whose entry leaves that byte out; it is the
    NUL that ends the last string, as #STRINGS is a run of NUL-terminated strings."""
    chm = Chm(chm_path.read_bytes())
    section, offset, size = chm.listing().get(b"/#STRINGS", (0, 0, 0))
    if size == 0:
        raise BuildError("/#STRINGS is missing from the compiled help file")
    chm.set_entries({b"/#STRINGS": (section, offset, size - 1)})
    shortened = work / "strings-reader.chm"
    shortened.write_bytes(chm.data)
    return extract(chmls, shortened, "/#STRINGS", work) + b"\0"


def string_at(strings: bytes, offset: int) -> bytes:
    return strings[offset:strings.index(b"\0", offset)]


def fix_context_map(chmls: str, chm_path: Path, work: Path) -> bytes:
    chm = Chm(chm_path.read_bytes())
    stored = [name for name in chm.listing() if not name.startswith((b"::", b"/#", b"/$"))]
    strings = extract_compiled_strings(chmls, chm_path, work)
    ivb = extract(chmls, chm_path, "/#IVB", work)
    pairs = struct.unpack_from(f"<{len(ivb) // 4 - 1}I", ivb, 4)
    new_strings = bytearray(strings)
    new_ivb = bytearray(ivb[:4])
    for context, offset in zip(pairs[0::2], pairs[1::2]):
        topic = string_at(strings, offset).replace(b"\\", b"/")
        # The stored name that the written path ends with, as whole path components.
        matches = [name for name in stored if topic.endswith(name) or topic == name.lstrip(b"/")]
        if not matches:
            raise BuildError(f"context {context}: topic {topic!r} is not in the help file")
        name = max(matches, key=len).lstrip(b"/")
        # The viewer reads #STRINGS in 4096-byte blocks, and no string may cross into the next.
        if len(new_strings) // 4096 != (len(new_strings) + len(name)) // 4096:
            new_strings += bytes(4096 - len(new_strings) % 4096)
        new_ivb += struct.pack("<II", context, len(new_strings))
        new_strings += name + b"\0"
        # Only the old map pointed at the path; blank it so the build folder stays out of the file.
        new_strings[offset:offset + len(topic)] = bytes(len(topic))
    chm.move_to_section0({b"/#STRINGS": bytes(new_strings), b"/#IVB": bytes(new_ivb)})
    return bytes(chm.data)


def context_map(chmls: str, chm_path: Path, work: Path) -> dict[int, str]:
    """The finished file's map, read back through chmls: number -> topic."""
    strings = extract(chmls, chm_path, "/#STRINGS", work)
    ivb = extract(chmls, chm_path, "/#IVB", work)
    pairs = struct.unpack_from(f"<{len(ivb) // 4 - 1}I", ivb, 4)
    return {c: string_at(strings, o).decode("cp932") for c, o in zip(pairs[0::2], pairs[1::2])}


def check(chmls: str, chm_path: Path, work: Path, numbers: dict[int, str]) -> None:
    stored = {name.decode("cp932").lstrip("/") for name in Chm(chm_path.read_bytes()).listing()}
    mapped = context_map(chmls, chm_path, work)
    for number, symbol in sorted(numbers.items()):
        topic = mapped.get(number)
        if topic is None:
            raise BuildError(f"context {number} ({symbol}) is not in the help file's context map")
        if topic not in stored:
            raise BuildError(f"context {number} ({symbol}) names {topic!r}, which is not in the help file")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--chmcmd", default="chmcmd")
    parser.add_argument("--chmls", default="chmls")
    parser.add_argument("--work", type=Path, required=True, help="staging folder (replaced)")
    parser.add_argument("--output", type=Path, required=True)
    args = parser.parse_args()
    work = args.work.resolve()
    try:
        stage(work)
        numbers = context_numbers(work)
        compiled = compile_project(args.chmcmd, work)
        fixed = work / "Lumora-fixed.chm"
        fixed.write_bytes(fix_context_map(args.chmls, compiled, work))
        check(args.chmls, fixed, work, numbers)
        args.output.parent.mkdir(parents=True, exist_ok=True)
        partial = args.output.with_name(args.output.name + ".part")
        shutil.copyfile(fixed, partial)
        partial.replace(args.output)
    except (BuildError, subprocess.CalledProcessError, OSError) as error:
        print(f"build_chm: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
