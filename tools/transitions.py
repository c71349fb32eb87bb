#!/usr/bin/env python3
"""Screenshots of each digit transition caught in the middle of its step, for a person to review.

For each of the eight transition types the clock starts shortly before a minute changes
("10:28" to "10:29"), frames of the clock window are grabbed while the digit changes, and the
frame furthest from both the old and the new face is kept. Each PNG shows, side by side and
scaled 3x: before, mid-step, after.

    python3 tools/transitions.py [out_dir]      (default build/screenshots)
"""
from __future__ import annotations

import argparse
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from PIL import Image, ImageChops, ImageStat  # noqa: E402

from face_kit import grab, screenshot_session, show_face  # noqa: E402
from lumora import BUILD, LumoraApp  # noqa: E402

TYPES = {1: "horizontal-rotation", 2: "vertical-rotation", 3: "rise", 4: "sink", 5: "push-up", 6: "push-down",
         7: "cross-fade", 8: "cut-fade"}
START = "@2026-01-05 10:28:57"
SPEED = 40  # slow enough that a transition spans many frames
FRAMES = 40
FRAME_GAP = 0.2


def distance(a: Image.Image, b: Image.Image) -> float:
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean)


def capture(app: LumoraApp, animation_type: int) -> list[Image.Image]:
    info, first = show_face(app, {}, faketime=START,
                            extra_ini=f"[Animation]\nType={animation_type}\nSpeed={SPEED}\n")
    frames = [first]
    for _ in range(FRAMES):
        time.sleep(FRAME_GAP)
        frames.append(grab(app, info.rect))
    return frames


def mid_step(frames: list[Image.Image]) -> Image.Image:
    before, after = frames[0], frames[-1]
    return max(frames, key=lambda f: min(distance(f, before), distance(f, after)))


def strip(frames: list[Image.Image]) -> Image.Image:
    chosen = [frames[0], mid_step(frames), frames[-1]]
    width, height = chosen[0].size
    out = Image.new("RGB", (3 * width + 8, height), (128, 128, 128))
    for i, frame in enumerate(chosen):
        out.paste(frame, (i * (width + 4), 0))
    return out.resize((out.width * 3, out.height * 3), Image.NEAREST)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", nargs="?", type=Path, default=BUILD / "screenshots")
    out: Path = parser.parse_args().out.resolve()
    out.mkdir(parents=True, exist_ok=True)
    with screenshot_session("transitions") as (session, work):
        for animation_type, name in TYPES.items():
            folder = work / name
            folder.mkdir()
            app = LumoraApp(session, folder)
            try:
                frames = capture(app, animation_type)
            finally:
                app.end()
            path = out / f"transition-{animation_type}-{name}.png"
            strip(frames).save(path)
            print(path.name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
