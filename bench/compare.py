#!/usr/bin/env python3
"""Runs each heavy piece of the repair tool beside its obvious peers on the data of generate.py,
warm cache, several repetitions, and prints medians, ratios and peak memory.

compare.py BENCH_DRIVER DATA_DIR FIXTURES_DIR [REPETITIONS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

driver, data, fixtures = sys.argv[1:4]
reps = int(sys.argv[4]) if len(sys.argv) > 4 else 5
scratch = tempfile.mkdtemp(prefix="pw-bench-", dir=data)


def timed(command, before=None):
    """Median wall seconds and largest peak RSS (KiB) over the repetitions, after a warm-up."""
    times, peaks = [], []
    for rep in range(reps + 1):
        if before:
            before()
        start = time.perf_counter()
        done = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True)
        elapsed = time.perf_counter() - start
        if done.returncode not in (0, 1) or (done.returncode == 1 and command[0] != "diff"):
            sys.exit("failed: %s\n%s" % (" ".join(command), done.stderr))
        if rep:  # the first run only warms the cache
            times.append(elapsed)
            peaks.append(int(done.stderr.strip().splitlines()[-1]))
    return statistics.median(times), max(peaks)


def cat_all(*folders):
    return ["sh", "-c", "find \"$@\" -type f -print0 | xargs -0 cat > /dev/null", "sh", *folders]


rows = []


def row(name, ours, peers):
    rows.append((name, ours, peers))
    line = "%-34s ours %8.3f s" % (name, ours[0])
    for peer, (seconds, _) in peers:
        line += " | %s %8.3f s (ours/peer %.2f)" % (peer, seconds, ours[0] / seconds)
    print(line, flush=True)


idle = timed([driver, "idle"])[1]
for shape in ("large", "small"):
    root = os.path.join(data, shape)
    package, clean, onepercent = (os.path.join(root, d) for d in ("package", "clean", "onepercent"))
    row("%s: all-clean file pass" % shape, timed([driver, "verify", package, clean]),
        [("diff -rq", timed(["diff", "-rq", package, clean])),
         ("read both trees", timed(cat_all(package, clean)))])

    target = os.path.join(scratch, "copy")
    reset = lambda: shutil.rmtree(target, ignore_errors=True) or os.makedirs(target)
    clear = lambda: shutil.rmtree(target, ignore_errors=True)
    row("%s: all-copy pass" % shape, timed([driver, "verify", package, target], reset),
        [("cp -r", timed(["cp", "-r", package, target], clear))])

    differing = subprocess.run(["diff", "-rq", package, onepercent], capture_output=True,
                               text=True).stdout.splitlines()
    changed = [line.split(" and ")[1].split(" differ")[0] for line in differing]

    def spoil():
        for path in changed:
            with open(path, "r+b") as out:
                size = os.path.getsize(path)
                out.seek(size // 2)
                byte = out.read(1)
                out.seek(size // 2)
                out.write(bytes([byte[0] ^ 0xFF]))

    spoil()  # undo the generator's own change so that each run below starts spoiled
    spoil()
    row("%s: 1%% differing (%d files)" % (shape, len(changed)),
        timed([driver, "verify", package, onepercent], spoil), [])

hash_file = os.path.join(data, "www", "hash.bin")
row("hash 1 GiB", timed([driver, "hash", hash_file]),
    [("sha256sum", timed(["sha256sum", hash_file])),
     ("openssl", timed(["openssl", "dgst", "-sha256", hash_file]))])

server_dir = os.path.join(scratch, "server")
os.makedirs(server_dir)
server = subprocess.Popen([sys.executable, os.path.join(fixtures, "package_server.py"), "--root",
                           os.path.join(data, "www"), "--port-file",
                           os.path.join(server_dir, "port"), "--log", os.devnull],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    for _ in range(100):
        if os.path.exists(os.path.join(server_dir, "port")):
            break
        time.sleep(0.1)
    port = open(os.path.join(server_dir, "port")).read().strip()
    url = "http://127.0.0.1:%s/hash.bin" % port
    out = os.path.join(scratch, "download.bin")
    row("download 1 GiB on loopback", timed([driver, "download", url, out]),
        [("curl", timed(["curl", "-s", "-o", out, url]))])
finally:
    server.terminate()

copy_peak = next(r for r in rows if r[0] == "large: all-copy pass")[1][1]
print("peak RSS: driver idle %d KiB, 2 GiB all-copy repair %d KiB (+%.1f MiB)"
      % (idle, copy_peak, (copy_peak - idle) / 1024.0))
shutil.rmtree(scratch, ignore_errors=True)
