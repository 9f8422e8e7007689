#!/usr/bin/env python3
"""Runs each heavy piece of the repair tool beside its peers on the data of generate.py, warm
cache, several repetitions, and prints medians, ratios, peak memory and whether each target holds.

compare.py BENCH_DRIVER DATA_DIR FIXTURES_DIR [REPETITIONS [PIECE...]]

PIECE is passes, hash, download or job; all four by default. The download needs only
DATA_DIR/www/hash.bin, the hash too; the passes and the job need the whole data set.

Within one comparison every repetition runs ours and each peer once, in an order that rotates
from one repetition to the next, after a warm-up round: load from elsewhere on the machine then
falls on all of them alike instead of on whichever happened to run during it. Dirty pages are
flushed before each run. Runs that create the 20,000 small files write into fresh folders that are
removed only when the comparison is over: on this file system creating files right after deleting
many is several times slower (see docs/performance.md), which would charge one run for the
clean-up of the one before. The 2 GiB copies are instead removed before the next run, as keeping
them would push the package trees out of the page cache. Ours is timed from outside like the peers (process start included); its peak
resident size is the driver's own report, which leaves out the extractor a whole job starts.
"""
import atexit
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate  # noqa: E402  (the data's own description: file lists, the 1% change)
import timing  # noqa: E402
from timing import MIB, Command, clear, folder_per_run, seconds  # noqa: E402

driver, data, fixtures = (os.path.abspath(p) for p in sys.argv[1:4])
reps = int(sys.argv[4]) if len(sys.argv) > 4 else 5
pieces = set(sys.argv[5:]) or {"passes", "hash", "download", "job"}
if not pieces <= {"passes", "hash", "download", "job"}:
    sys.exit("unknown piece: %s" % " ".join(sorted(pieces - {"passes", "hash", "download", "job"})))
scratch = tempfile.mkdtemp(prefix="pw-bench-", dir=data)
atexit.register(shutil.rmtree, scratch, True)


def compare(name, commands, warmup=1, after=None):
    return timing.compare(name, commands, reps, warmup, after)


def cat_all(*folders):
    return ["sh", "-c", "find \"$@\" -type f -print0 | xargs -0 cat > /dev/null", "sh", *folders]


table = timing.Table()
add = table.add


idle = Command("idle", [driver, "idle"], ours=True)
for _ in range(3):
    idle.run(keep=True)
ours_peaks = []

for shape in ("large", "small") if "passes" in pieces else ():
    root = os.path.join(data, shape)
    package, clean, onepercent = (os.path.join(root, d) for d in ("package", "clean", "onepercent"))

    ours, diff, floor = compare("%s: all-clean file pass" % shape, [
        Command("ours", [driver, "verify", package, clean], ours=True),
        Command("diff -rq", ["diff", "-rq", package, clean]),
        Command("read both trees", cat_all(package, clean))])
    ours_peaks.append(("%s clean pass" % shape, ours))
    add("%s: all-clean file pass" % shape, seconds(ours), "`diff -rq` " + seconds(diff),
        ours.median / diff.median, "<= 1.00", ours.median <= diff.median)
    if shape == "large":
        add("", "", "read both trees " + seconds(floor), ours.median / floor.median, "<= 1.20",
            ours.median <= 1.2 * floor.median)
    else:
        add("", "", "read both trees " + seconds(floor), ours.median / floor.median)

    if shape == "large":
        first = generate.shapes()[shape][0][0]
        ours, cmp = compare("FilesMatch of two 128 MiB", [
            Command("ours", [driver, "match", os.path.join(package, first),
                             os.path.join(clean, first)], ours=True),
            Command("cmp", ["cmp", os.path.join(package, first), os.path.join(clean, first)])])
        if ours.field("match") != ["1"]:
            sys.exit("FilesMatch found a difference between identical files")
        add("`FilesMatch` of two equal 128 MiB files", seconds(ours), "`cmp` " + seconds(cmp),
            ours.median / cmp.median)

    copies = os.path.join(scratch, "copies")
    ours_target, ours_before = folder_per_run(copies, "ours", keep=shape == "small")
    # cp -r makes the target itself, and copies into a subfolder when the target exists.
    cp_target, cp_before = folder_per_run(copies, "cp", keep=shape == "small", make=False)
    ours, cp = compare("%s: all-copy pass" % shape, [
        Command("ours", lambda n: [driver, "verify", package, ours_target(n)], ours_before,
                ours=True),
        Command("cp -r", lambda n: ["cp", "-r", package, cp_target(n)], cp_before)],
        warmup=2, after=clear(copies))
    ours_peaks.append(("%s all-copy pass" % shape, ours))
    add("%s: all-copy pass" % shape, seconds(ours), "`cp -r` " + seconds(cp),
        ours.median / cp.median, "<= 1.10", ours.median <= 1.1 * cp.median)

    changed = generate.differing(generate.shapes()[shape])
    (ours,) = compare("%s: 1%% differing" % shape, [
        Command("ours", [driver, "verify", package, onepercent],
                lambda _: generate.spoil(package, onepercent, changed), ours=True)])
    files = ours.field("files")  # "files N changed M"
    if int(files[2]) != len(changed):
        sys.exit("the 1%% pass changed %s files, not %d" % (files[2], len(changed)))
    add("%s: 1%% differing (%d file%s)" % (shape, len(changed), "" if len(changed) == 1 else "s"),
        seconds(ours))

hash_file = os.path.join(data, "www", "hash.bin")
if "hash" in pieces:
    ours, sha256sum, openssl = compare("hash 1 GiB", [
        Command("ours", [driver, "hash", hash_file], ours=True),
        Command("sha256sum", ["sha256sum", hash_file]),
        Command("openssl", ["openssl", "dgst", "-sha256", hash_file])])
    ours_peaks.append(("hash", ours))
    fastest = min(sha256sum.median, openssl.median)
    add("SHA-256 of 1 GiB", seconds(ours), "`sha256sum` " + seconds(sha256sum), ours.median /
        sha256sum.median)
    add("", "", "`openssl dgst -sha256` " + seconds(openssl), ours.median / openssl.median,
        "<= 1.11 of the faster", ours.median <= fastest / 0.9)

# nginx (tests/fixtures/web-server-ctl.sh) serves the data over HTTP and HTTPS with a CA made
# for the run: a server far faster than either client, so that the clients are what is timed.
web_dir = os.path.join(scratch, "web")
web_ctl = os.path.join(fixtures, "web-server-ctl.sh")
subprocess.run([web_ctl, "start", web_dir, os.path.join(data, "www")], check=True,
               stdout=subprocess.DEVNULL)
try:
    def base(port):
        number = open(os.path.join(web_dir, port + "_port")).read().strip()
        return "%s://localhost:%s/" % (port, number)

    ca = os.path.join(web_dir, "ca.pem")
    out = os.path.join(scratch, "download.bin")
    remove = lambda _: os.path.exists(out) and os.remove(out)
    for scheme in ("http", "https") if "download" in pieces else ():
        url = base(scheme) + "hash.bin"
        ours_tls, curl_tls = ([ca], ["--cacert", ca]) if scheme == "https" else ([], [])
        ours, curl = compare("download 1 GiB, %s" % scheme, [
            Command("ours", [driver, "download", url, out] + ours_tls, remove, ours=True),
            Command("curl", ["curl", "-s"] + curl_tls + ["-o", out, url], remove)])
        ours_peaks.append(("download, %s" % scheme, ours))
        add("download of 1 GiB on loopback, %s from nginx" % scheme.upper(), seconds(ours),
            "`curl -o` " + seconds(curl), ours.median / curl.median, "<= 1.11",
            ours.median <= curl.median / 0.9)
        os.remove(out)

    # The job starts "tar.exe" as on Windows; the host stand-in hands it to bsdtar.
    bin_dir, temp_dir = os.path.join(scratch, "bin"), os.path.join(scratch, "tmp")
    os.makedirs(temp_dir)
    subprocess.run([os.path.join(fixtures, "standins", "install-host-standins.sh"), bin_dir,
                    "tar.exe"], check=True)
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"], TMPDIR=temp_dir)
    pipeline = ("set -e; curl -s -o \"$1\" \"$2\"; mkdir \"$3\"; bsdtar -xf \"$1\" -C \"$3\"; "
                "cp -r \"$3/client/.\" \"$4\"; rm -rf \"$3\" \"$1\"")
    for shape, size in (("large", "2 GiB"), ("small", "200 MiB")) if "job" in pieces else ():
        url = base("http") + shape + ".zip"
        clients = os.path.join(scratch, "clients")
        ours_client, ours_before = folder_per_run(clients, "ours", keep=shape == "small")
        peer_client, peer_before = folder_per_run(clients, "peer", keep=shape == "small")
        archive, extracted = os.path.join(temp_dir, "peer.zip"), os.path.join(temp_dir, "peer")
        ours, peer = compare("%s: whole repair job" % shape, [
            Command("ours", lambda n: [driver, "job", url, ours_client(n)], ours_before,
                    ours=True, env=env),
            Command("curl+bsdtar+cp -r", lambda n: ["sh", "-c", pipeline, "sh", archive, url,
                                                    extracted, peer_client(n)], peer_before)],
            warmup=2, after=clear(clients))
        ours_peaks.append(("%s whole repair job" % shape, ours))
        add("%s: whole repair job into an empty client (%s)" % (shape, size), seconds(ours),
            "`curl -o` + `bsdtar -x` + `cp -r` " + seconds(peer), ours.median / peer.median)
finally:
    subprocess.run([web_ctl, "stop", web_dir])

add("peak RSS, driver idle", "%.1f MiB" % (idle.peak / MIB))
for name, command in ours_peaks:
    above = (command.peak - idle.peak) / MIB
    goal = name.endswith("whole repair job")
    add("peak RSS, %s" % name, "%.1f MiB (+%.1f)" % (command.peak / MIB, above),
        target="< +32 MiB" if goal else "", met=(above < 32) if goal else None)

table.print()
