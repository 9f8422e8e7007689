#!/usr/bin/env python3
"""Deterministic benchmark data, made once and reused: generate.py DATA_DIR.

DATA_DIR/large: 16 files of 128 MiB (2 GiB); DATA_DIR/small: 20,000 files, 200 MiB in all, in
nested folders. Each shape has package/ (what the package extracts to), clean/ (an identical
client) and onepercent/ (a client in which 1% of the files differ by one byte, same size).
DATA_DIR/hash.bin is a 1 GiB file for the hash and download runs. A seeded generator makes every
byte, so a rerun on another machine produces the same data.
"""
import os
import random
import shutil
import sys

VERSION = "1"
MIB = 1 << 20


def write_file(path, size, rng):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        left = size
        while left > 0:
            block = min(left, 4 * MIB)
            out.write(rng.randbytes(block))
            left -= block


def make_shape(root, files, rng):
    package = os.path.join(root, "package")
    for relative, size in files:
        write_file(os.path.join(package, relative), size, rng)
    for client in ("clean", "onepercent"):
        shutil.copytree(package, os.path.join(root, client))
    changed = sorted(files)[:: max(1, len(files) // max(1, len(files) // 100))][: max(1, len(files) // 100)]
    for relative, size in changed:
        path = os.path.join(root, "onepercent", relative)
        with open(path, "r+b") as out:
            out.seek(size // 2)
            byte = out.read(1)
            out.seek(size // 2)
            out.write(bytes([byte[0] ^ 0xFF]))


def main():
    data = sys.argv[1]
    marker = os.path.join(data, "ready-" + VERSION)
    if os.path.exists(marker):
        return
    shutil.rmtree(data, ignore_errors=True)
    rng = random.Random(20261208)
    large = [("data/pack%02d.bin" % i, 128 * MIB) for i in range(16)]
    small = []
    for i in range(20000):
        folder = "assets/%02d/%02d" % (i % 40, (i // 40) % 25)
        small.append(("%s/file%05d.dat" % (folder, i), 10 * 1024 + (i * 7919) % 1024))
    scale = (200 * MIB) / sum(size for _, size in small)
    small = [(name, int(size * scale)) for name, size in small]
    make_shape(os.path.join(data, "large"), large, rng)
    make_shape(os.path.join(data, "small"), small, rng)
    write_file(os.path.join(data, "www", "hash.bin"), 1024 * MIB, rng)
    open(marker, "w").close()


if __name__ == "__main__":
    main()
