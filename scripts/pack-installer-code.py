#!/usr/bin/env python3
"""Packs the installer's code (a DLL) for the starter to carry (starter/carried_code.h):
the DLL's size, its CRC-32 and the dictionary size, little-endian, then a raw
stream of it through the x86 filter and LZMA2 at the strongest preset, with a
dictionary no larger than the DLL needs (so that decoding takes about a megabyte).
Raw, without the .xz container: the starter checks the CRC-32 itself and so links
only the two decoders. Python's lzma module is xz-utils' liblzma.

    pack-installer-code.py DLL OUTPUT
"""
import lzma
import struct
import sys
import zlib


def main():
    source, target = sys.argv[1:3]
    with open(source, "rb") as f:
        code = f.read()
    dictionary = 1 << 16
    while dictionary < len(code):
        dictionary *= 2
    filters = [{"id": lzma.FILTER_X86},
               {"id": lzma.FILTER_LZMA2, "preset": 9 | lzma.PRESET_EXTREME, "dict_size": dictionary}]
    packed = lzma.compress(code, format=lzma.FORMAT_RAW, filters=filters)
    with open(target, "wb") as f:
        f.write(struct.pack("<III", len(code), zlib.crc32(code), dictionary) + packed)


if __name__ == "__main__":
    main()
