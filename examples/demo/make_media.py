#!/usr/bin/env python3
"""Draws the demo product's logo and makes its looping sound: make_media.py FOLDER.

Writes FOLDER/install.bmp (180 x 60, the logo the wizard shows at the top left) and
FOLDER/install.wav (a soft chord of two seconds that the installer loops). Drawn
with the installer's own artwork code, so nothing but Python is needed.
"""

import math
import os
import struct
import sys
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "art"))
import make_art  # noqa: E402

make_art.FONT.update({
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
})


def logo(path):
    c = make_art.Canvas(180, 60, make_art.BLACK, samples=3)
    c.gradient((20, 70, 60), (6, 24, 22))
    c.rect(14, 14, 40, 46, (250, 250, 240))
    for y in (20, 26, 32, 38):
        c.rect(18, y, 36, y + 2, (120, 140, 130))
    c.polygon([(33, 40), (44, 12), (48, 14), (37, 42)], (240, 176, 32))
    c.text(56, 16, "QUORBALITE", 2, make_art.WHITE)
    c.text(56, 36, "NOTATNIK", 1, (170, 220, 200))
    c.save(path)


def sound(path, seconds=2.0, rate=11025):
    notes = (261.63, 329.63, 392.0)  # C major, quietly
    frames = bytearray()
    for i in range(int(seconds * rate)):
        t = i / rate
        envelope = math.sin(math.pi * t / seconds)  # starts and ends at silence: loops without a click
        sample = sum(math.sin(2 * math.pi * f * t) for f in notes) / len(notes)
        frames.append(128 + round(40 * envelope * sample))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    logo(os.path.join(folder, "install.bmp"))
    sound(os.path.join(folder, "install.wav"))


if __name__ == "__main__":
    main()
