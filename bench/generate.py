#!/usr/bin/env python3
"""Deterministic benchmark data, made once and reused: generate.py DATA_DIR.

DATA_DIR/large: 16 files of 128 MiB (2 GiB); DATA_DIR/small: 20,000 files, 200 MiB in all, in
nested folders. Each shape has package/ (what the package extracts to), clean/ (an identical
client) and onepercent/ (a client in which 1% of the files differ by one byte, same size).
DATA_DIR/www/hash.bin is a 1 GiB file for the hash and download runs; DATA_DIR/www/large.zip and
small.zip hold each package under one top folder, stored uncompressed (the bytes are random), for
the whole-job runs. A seeded generator makes every byte and the archives carry fixed dates, so a
rerun on another machine produces the same data. Trees and archives are made once and reused
(an archive missing from an older data folder is added).
"""
import os
import random
import shutil
import sys
import zipfile

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


def differing(files):
    """The 1% of the files that the onepercent client has changed."""
    count = max(1, len(files) // 100)
    return sorted(files)[:: max(1, len(files) // count)][:count]


def spoil(package, client, changed):
    """Makes each changed file of client differ from package by its middle byte, whatever it
    held before, so that a run that repaired them can be undone."""
    for relative, size in changed:
        with open(os.path.join(package, relative), "rb") as source:
            source.seek(size // 2)
            byte = source.read(1)[0]
        with open(os.path.join(client, relative), "r+b") as out:
            out.seek(size // 2)
            out.write(bytes([byte ^ 0xFF]))


def shapes():
    """Each data shape's files as (relative path, size), in the order they are generated."""
    large = [("data/pack%02d.bin" % i, 128 * MIB) for i in range(16)]
    small = []
    for i in range(20000):
        folder = "assets/%02d/%02d" % (i % 40, (i // 40) % 25)
        small.append(("%s/file%05d.dat" % (folder, i), 10 * 1024 + (i * 7919) % 1024))
    scale = (200 * MIB) / sum(size for _, size in small)
    small = [(name, int(size * scale)) for name, size in small]
    return {"large": large, "small": small}


def make_shape(root, files, rng):
    package = os.path.join(root, "package")
    for relative, size in files:
        write_file(os.path.join(package, relative), size, rng)
    for client in ("clean", "onepercent"):
        shutil.copytree(package, os.path.join(root, client))
    spoil(package, os.path.join(root, "onepercent"), differing(files))


def make_zip(package, archive):
    """Every file of package under the top folder "client/", in name order, stored."""
    partial = archive + ".partial"
    entries = []
    for folder, folders, files in os.walk(package):
        folders.sort()
        for name in files:
            path = os.path.join(folder, name)
            entries.append((os.path.relpath(path, package).replace(os.sep, "/"), path))
    entries.sort()
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_STORED, allowZip64=True) as out:
        for relative, path in entries:
            info = zipfile.ZipInfo("client/" + relative, date_time=(2026, 1, 1, 0, 0, 0))
            info.external_attr = 0o644 << 16
            info.file_size = os.path.getsize(path)
            with open(path, "rb") as source, out.open(info, "w") as target:
                shutil.copyfileobj(source, target, 4 * MIB)
    os.replace(partial, archive)


def make_trees(data):
    marker = os.path.join(data, "ready-" + VERSION)
    if os.path.exists(marker):
        return
    shutil.rmtree(data, ignore_errors=True)
    rng = random.Random(20261208)
    files = shapes()
    make_shape(os.path.join(data, "large"), files["large"], rng)
    make_shape(os.path.join(data, "small"), files["small"], rng)
    write_file(os.path.join(data, "www", "hash.bin"), 1024 * MIB, rng)
    open(marker, "w").close()


def main():
    data = sys.argv[1]
    make_trees(data)
    for shape in ("large", "small"):
        archive = os.path.join(data, "www", shape + ".zip")
        if not os.path.exists(archive):
            make_zip(os.path.join(data, shape, "package"), archive)


if __name__ == "__main__":
    main()
