"""What compare.py (host) and compare_wine.py (the Windows build under Wine) share: timing
commands round-robin, folders kept per run, and the Markdown table.

Within one comparison every repetition runs ours and each peer once, in an order that rotates
from one repetition to the next, after a warm-up round: load from elsewhere on the machine then
falls on all of them alike instead of on whichever happened to run during it. Dirty pages are
flushed before each run. Ours is timed from outside like the peers (process start included); its
peak resident size is the driver's own report.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

MIB = 1024.0


class Command:
    """One program to time. argv is a list, or a function of the run's number (0 for the first)
    for runs that each need a folder of their own; before(number) prepares a run untimed."""

    def __init__(self, label, argv, before=None, ours=False, env=None):
        self.label, self.argv, self.before, self.ours, self.env = label, argv, before, ours, env
        self.times, self.peaks, self.output, self.runs = [], [], "", 0

    @property
    def median(self):
        return statistics.median(self.times)

    @property
    def peak(self):
        return max(self.peaks)

    def run(self, keep):
        number, self.runs = self.runs, self.runs + 1
        if self.before:
            self.before(number)
        os.sync()
        argv = self.argv(number) if callable(self.argv) else self.argv
        if not self.ours:
            argv = ["/usr/bin/time", "-f", "%M"] + argv
        start = time.perf_counter()
        done = subprocess.run(argv, stdout=subprocess.PIPE if self.ours else subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True, env=self.env)
        elapsed = time.perf_counter() - start
        # diff tells a difference by 1; everything else here must succeed.
        if done.returncode != 0 and not (done.returncode == 1 and "diff" in argv):
            sys.exit("failed (%d): %s\n%s%s" % (done.returncode, " ".join(argv),
                                                done.stdout or "", done.stderr))
        if not keep:
            return
        self.times.append(elapsed)
        if self.ours:
            self.output = done.stdout
            self.peaks.append(int(self.field("peak_rss_kib")[0]))
        else:
            self.peaks.append(int(done.stderr.strip().splitlines()[-1]))

    def field(self, name):
        for line in self.output.splitlines():
            if line.startswith(name + " "):
                return line.split()[1:]
        sys.exit("%s printed no %s" % (self.label, name))


def compare(name, commands, reps, warmup=1, after=None):
    """Runs the commands round-robin and reports them on one line; after() then clears up."""
    for round_number in range(warmup + reps):
        shift = round_number % len(commands)
        for command in commands[shift:] + commands[:shift]:
            command.run(keep=round_number >= warmup)
    if after:
        after()
    ours = commands[0]
    line = "%-30s ours %8.3f s (%.3f..%.3f)" % (name, ours.median, min(ours.times),
                                                max(ours.times))
    for peer in commands[1:]:
        line += " | %s %.3f s, ours/peer %.2f" % (peer.label, peer.median,
                                                  ours.median / peer.median)
    print(line, flush=True)
    return commands


def folder_per_run(parent, label, keep, make=True):
    """A fresh folder name for each run of one command, under parent, made empty unless the
    command makes it itself; unless keep, the folder of the run before is removed first."""
    def path(number):
        return os.path.join(parent, "%s-%d" % (label, number))

    def before(number):
        if not keep and number > 0:
            shutil.rmtree(path(number - 1), ignore_errors=True)
        os.makedirs(path(number) if make else parent, exist_ok=not make)
    return path, before


def clear(folder):
    return lambda: shutil.rmtree(folder, ignore_errors=True)


def seconds(command):
    """The median and, to show how much the runs scattered, the fastest and the slowest."""
    return "%.3f s (%.2f..%.2f)" % (command.median, min(command.times), max(command.times))


class Table:
    """Rows of (piece, ours, peer, ratio, target, result), printed as Markdown at the end."""

    def __init__(self):
        self.rows = []

    def add(self, piece, ours, peer="", ratio=None, target="", met=None):
        self.rows.append((piece, ours, peer, "" if ratio is None else "%.2f" % ratio, target,
                          "" if met is None else ("met" if met else "**missed**")))

    def print(self):
        print()
        print("| Piece | Ours: median (range) | Peer: median (range) | Ours/peer | Target | Result |")
        print("|---|---|---|---|---|---|")
        for line in self.rows:
            print("| " + " | ".join(line) + " |")
