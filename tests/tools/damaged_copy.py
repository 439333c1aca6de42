#!/usr/bin/env python3
"""damaged_copy.py SINGLE_FILE COPY: a copy of a single-file installer with one
byte in the middle of its package changed (found from the package record)."""
import struct
import sys

data = bytearray(open(sys.argv[1], "rb").read())
record = data.index(b"Setuvane package\x01\x00\x00\x00")
offset, size = struct.unpack_from("<QQ", data, record + 24)
data[offset + size // 2] ^= 0x01
open(sys.argv[2], "wb").write(data)
