#!/usr/bin/env python3
"""Writes a DIARY.DAT of 100,000 events spread over the year's slots.
Usage: make_diary.py <file>"""
import sys

out = bytearray()
per_slot, rest = divmod(100_000, 372)
for slot in range(384):
    if slot % 32 != 31:
        count = per_slot + (1 if rest > 0 else 0)
        rest -= 1 if rest > 0 else 0
        for i in range(count):
            out += b"01%04d" % ((i * 7) % 2400) + b"An event of a busy diary %d\r\n" % i
    out += b"\xff\r\n"
open(sys.argv[1], "wb").write(out)
