#!/usr/bin/env python3
"""Runs the Windows build of the benchmark driver under Wine beside Windows peers doing the same
work, on the data of generate.py (read through Wine's Z: drive, no second copy), and prints
medians, ratios, peak working sets and whether each target holds.

compare_wine.py BUILD_DIR DATA_DIR FIXTURES_DIR WINE_ROOT [REPETITIONS [PIECE...]]

BUILD_DIR is the win64 build (bench/pw_bench.exe, bench/pw_bare.exe and
tests/fixtures/extractor_standin.exe with powershell_standin.exe beside it); WINE_ROOT holds the prefix (made on first use). PIECE is
passes, hash, download or job; all four by default. Run it under the shared Wine lock.

The peers: Wine's own xcopy and pw_bare (bench/win32/bare_loops.cpp), the bare Win32 calls
with nothing around them: a FindFirstFileExW walk with CopyFileExW per file (the copy floor),
the same walk reading both trees in 1 MiB ReadFile calls (the read floor) and the same reads
pairwise with memcmp (what the floor leaves out of a clean pass), BCryptHashData in
1 MiB pieces, WinHttpReadData in 1 MiB pieces from the same nginx. The host's openssl and curl
run beside them for scale only. Rounds, warm-up and per-run folders are as in compare.py
(timing.py).
"""
import atexit
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import timing  # noqa: E402
from timing import MIB, Command, clear, folder_per_run, seconds  # noqa: E402

build, data, fixtures, wine_root = (os.path.abspath(p) for p in sys.argv[1:5])
reps = int(sys.argv[5]) if len(sys.argv) > 5 else 5
all_pieces = {"passes", "hash", "download", "job"}
pieces = set(sys.argv[6:]) or all_pieces
if not pieces <= all_pieces:
    sys.exit("unknown piece: %s" % " ".join(sorted(pieces - all_pieces)))
driver = os.path.join(build, "bench", "pw_bench.exe")
bare = os.path.join(build, "bench", "pw_bare.exe")
standin = os.path.join(build, "tests", "fixtures", "extractor_standin.exe")
here = os.path.dirname(os.path.abspath(__file__))
scratch = tempfile.mkdtemp(prefix="pw-winbench-", dir=data)
atexit.register(shutil.rmtree, scratch, True)

# One prefix and one persistent wineserver for the whole run, so that every start is as cheap
# for ours as for the peers; the server goes at the end.
env = dict(os.environ, WINEPREFIX=os.path.join(wine_root, "prefix"),
           HOME=os.path.join(wine_root, "home"), WINEDEBUG="-all",
           WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
           GNUTLS_SYSTEM_PRIORITY_FILE="/dev/null")  # as cmake/wine-env.sh, for the same reason
subprocess.run([os.path.join(here, "..", "cmake", "wine-prefix.sh"), wine_root], check=True,
               env=env)
atexit.register(subprocess.run, ["wineserver", "-k"], env=env)


def win(path):
    """The Unix path as Wine's Z: drive shows it."""
    return "Z:" + path.replace("/", "\\")


def wine(*argv):
    return ["wine", *argv]


def compare(name, commands, warmup=1, after=None):
    return timing.compare(name, commands, reps, warmup, after)


table = timing.Table()
add = table.add


def load():
    return "%.1f" % os.getloadavg()[0]


loads = [load()]
idle = Command("idle", wine(driver, "idle"), ours=True, env=env)
for _ in range(3):
    idle.run(keep=True)
ours_peaks = []

for shape in ("large", "small") if "passes" in pieces else ():
    root = os.path.join(data, shape)
    package, clean = os.path.join(root, "package"), os.path.join(root, "clean")

    ours, floor, compared = compare("%s: all-clean file pass" % shape, [
        Command("ours", wine(driver, "verify", win(package), win(clean)), ours=True, env=env),
        Command("read floor", wine(bare, "read", win(package), win(clean)), env=env),
        Command("read and compare", wine(bare, "compare", win(package), win(clean)), env=env)])
    ours_peaks.append(("%s clean pass" % shape, ours))
    add("%s: all-clean file pass" % shape, seconds(ours), "read floor " + seconds(floor),
        ours.median / floor.median, "<= 1.20", ours.median <= 1.2 * floor.median)
    add("", "", "read and compare " + seconds(compared), ours.median / compared.median)

    # The 20,000-file copies stay until the comparison is over (see compare.py); the 2 GiB ones
    # go before the next run, or they would push the trees out of the page cache.
    copies = os.path.join(scratch, "copies")
    keep = shape == "small"
    ours_target, ours_before = folder_per_run(copies, "ours", keep)
    xcopy_target, xcopy_before = folder_per_run(copies, "xcopy", keep, make=False)
    bare_target, bare_before = folder_per_run(copies, "bare", keep, make=False)
    ours, xcopy, loop = compare("%s: all-copy pass" % shape, [
        Command("ours", lambda n: wine(driver, "verify", win(package), win(ours_target(n))),
                ours_before, ours=True, env=env),
        Command("xcopy", lambda n: wine("xcopy", win(package), win(xcopy_target(n)), "/E", "/I",
                                        "/Y", "/Q"), xcopy_before, env=env),
        Command("copy loop", lambda n: wine(bare, "copy", win(package), win(bare_target(n))),
                bare_before, env=env)],
        warmup=2, after=clear(copies))
    ours_peaks.append(("%s all-copy pass" % shape, ours))
    fastest = min(xcopy.median, loop.median)
    add("%s: all-copy pass" % shape, seconds(ours), "`xcopy /E /I /Y /Q` " + seconds(xcopy),
        ours.median / xcopy.median)
    add("", "", "copy loop " + seconds(loop), ours.median / loop.median,
        "<= 1.10 of the faster", ours.median <= 1.1 * fastest)
    loads.append(load())

hash_file = os.path.join(data, "www", "hash.bin")
if "hash" in pieces:
    ours, loop, openssl = compare("hash 1 GiB", [
        Command("ours", wine(driver, "hash", win(hash_file)), ours=True, env=env),
        Command("BCryptHashData loop", wine(bare, "hash", win(hash_file)), env=env),
        Command("host openssl", ["openssl", "dgst", "-sha256", hash_file])])
    ours_peaks.append(("hash", ours))
    add("SHA-256 of 1 GiB", seconds(ours), "`BCryptHashData` loop " + seconds(loop),
        ours.median / loop.median, "<= 1.10", ours.median <= 1.1 * loop.median)
    add("", "", "host `openssl dgst -sha256` " + seconds(openssl), ours.median / openssl.median)
    loads.append(load())

# nginx with a CA made for the run, trusted in this prefix alone until it stops.
web_dir = os.path.join(scratch, "web")
web_ctl = os.path.join(fixtures, "web-server-ctl.sh")
if pieces & {"download", "job"}:
    subprocess.run([web_ctl, "start", web_dir, os.path.join(data, "www"), wine_root], check=True,
                   stdout=subprocess.DEVNULL)
try:
    def base(port):
        number = open(os.path.join(web_dir, port + "_port")).read().strip()
        return "%s://localhost:%s/" % (port, number)

    ca = os.path.join(web_dir, "ca.pem")
    out = os.path.join(scratch, "download.bin")
    remove = lambda _: os.path.exists(out) and os.remove(out)  # noqa: E731
    for scheme in ("http", "https") if "download" in pieces else ():
        url = base(scheme) + "hash.bin"
        tls = ["--cacert", ca] if scheme == "https" else []
        ours, loop, curl = compare("download 1 GiB, %s" % scheme, [
            Command("ours", wine(driver, "download", url, win(out)), remove, ours=True, env=env),
            Command("WinHttpReadData loop", wine(bare, "download", url, win(out)), remove,
                    env=env),
            Command("host curl", ["curl", "-s"] + tls + ["-o", out, url], remove)])
        ours_peaks.append(("download, %s" % scheme, ours))
        add("download of 1 GiB on loopback, %s from nginx" % scheme.upper(), seconds(ours),
            "`WinHttpReadData` loop " + seconds(loop), ours.median / loop.median, "<= 1.10",
            ours.median <= 1.1 * loop.median)
        add("", "", "host `curl -o` " + seconds(curl), ours.median / curl.median)
        os.remove(out)
        loads.append(load())

    # The job starts tar.exe and powershell.exe from System32; the stand-ins put there hand the
    # archive to the host's bsdtar, as Wine's own powershell.exe extracts nothing.
    subprocess.run([os.path.join(fixtures, "standins", "install-system-standins.sh"),
                    env["WINEPREFIX"], standin], check=True, env=env)
    # Wine 8's WinHTTP ends every body at 2,147,483,647 bytes (pw_bare download stops there as
    # well), so the 2 GiB archive (2,147,485,666 bytes) cannot arrive whole under Wine and the
    # product rightly fails it as cut short; the job runs on the 20,000-file package instead.
    if "job" in pieces:
        url = base("http") + "small.zip"
        clients = os.path.join(scratch, "clients")
        client, before = folder_per_run(clients, "ours", keep=True)
        (ours,) = compare("small: whole repair job", [
            Command("ours", lambda n: wine(driver, "job", url, win(client(n))), before, ours=True,
                    env=env)], after=clear(clients))
        ours_peaks.append(("small whole repair job", ours))
        add("small: whole repair job into an empty client (200 MiB, 20,000 files)", seconds(ours))
        loads.append(load())
finally:
    if pieces & {"download", "job"}:
        subprocess.run([web_ctl, "stop", web_dir, wine_root])

add("peak working set, driver idle (WinHTTP session and CNG hash opened)",
    "%.1f MiB" % (idle.peak / MIB))
for name, command in ours_peaks:
    above = (command.peak - idle.peak) / MIB
    goal = name.endswith("whole repair job")
    add("peak working set, %s" % name, "%.1f MiB (+%.1f)" % (command.peak / MIB, above),
        target="< +32 MiB" if goal else "", met=(above < 32) if goal else None)

table.print()
print("\nload average (1 min) at the start and after each piece: " + ", ".join(loads))
