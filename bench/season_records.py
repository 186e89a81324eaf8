#!/usr/bin/env python3
"""Writes COUNT record files r00000.Tml... into FOLDER: half lap-timing with
99 laps in three sectors, half engine-speed with 1,984 samples, every other
byte random (SEED), so that each image is a session of its own, on
TRACKS tracks in turn.
    bench/season_records.py FOLDER COUNT [SEED] [TRACKS]"""
import os
import random
import sys

folder, count = sys.argv[1], int(sys.argv[2])
random.seed(int(sys.argv[3]) if len(sys.argv) > 3 else 7)
tracks = int(sys.argv[4]) if len(sys.argv) > 4 else 1
for i in range(count):
    b = bytearray(random.getrandbits(8) for _ in range(2048))
    if i % 2 == 0:   # lap timing, 99 laps in three sectors
        b[97], b[33], b[160], b[192] = 0, 2, 100, 17
    else:            # engine speed, 2048 words announced: 1984 samples
        b[97], b[33], b[104], b[105] = 1, 0, 0, 4
    with open(os.path.join(folder, f"r{i:05d}.Tml"), "wb") as f:
        f.write(bytes(b) + bytes([1 + i % tracks, 0]))
