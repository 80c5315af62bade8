#!/usr/bin/env python3
"""Writes a NOTES.DAT of about 40 MB: 10,000 categories up to five levels deep,
each holding 100 lines of 10 to 70 characters (1,000,000 lines).
Usage: make_notes.py <file>"""
import random
import sys

random.seed(11)
letters = b"abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\t"
out = bytearray()
levels = [1]
for category in range(10_000):
    level = 1 if category == 0 else random.randint(2, min(5, levels[-1] + 1))
    levels.append(level)
    out += b"\xff%d0" % level + b"0064" * 10 + b"Category %d\r\n" % category
    for _ in range(100):
        out += bytes(random.choice(letters) for _ in range(random.randint(10, 70))) + b"\r\n"
open(sys.argv[1], "wb").write(out)
