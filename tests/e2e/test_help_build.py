"""The help builder's context-map rewrite on a small project compiled by chmcmd and read back by chmls.

chmls cannot read the last byte of a compressed section that fills its last 32 KiB block, and
chmcmd writes #STRINGS there; the topic below is padded until the section ends on such a block."""
import importlib.util
import shutil

import pytest

from lumora import REPO

BLOCK = 32768
PROJECT = """[OPTIONS]
Compiled file=Lumora.chm
Default topic=topic.html
Full-text search=No

[FILES]
topic.html

[ALIAS]
IDH_TOPIC=topic.html

[MAP]
#include context.h
"""

pytestmark = pytest.mark.skipif(not (shutil.which("chmcmd") and shutil.which("chmls")),
                                reason="chmcmd and chmls (package fp-utils) are not installed")


def load_builder():
    spec = importlib.util.spec_from_file_location("build_chm", REPO / "help" / "build_chm.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def compile_topic(builder, work, padding: int):
    work.mkdir(exist_ok=True)
    (work / "Lumora.hhp").write_text(PROJECT)
    (work / "context.h").write_text("#define IDH_TOPIC 10\n")
    (work / "topic.html").write_text("<html><head><title>Topic</title></head><body><p>Text</p>"
                                     + "<!--" + "x" * padding + "--></body></html>")
    return builder.compile_project("chmcmd", work)


def test_the_context_map_is_rewritten_when_strings_end_on_a_block(tmp_path):
    builder = load_builder()
    work = tmp_path / "stage"
    _, offset, size = builder.Chm(compile_topic(builder, work, 0).read_bytes()).listing()[b"/#STRINGS"]
    compiled = compile_topic(builder, work, (-(offset + size)) % BLOCK)
    _, offset, size = builder.Chm(compiled.read_bytes()).listing()[b"/#STRINGS"]
    assert (offset + size) % BLOCK == 0

    fixed = work / "Lumora-fixed.chm"
    fixed.write_bytes(builder.fix_context_map("chmls", compiled, work))
    builder.check("chmls", fixed, work, {10: "IDH_TOPIC"})
    assert builder.context_map("chmls", fixed, work) == {10: "topic.html"}
