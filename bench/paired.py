#!/usr/bin/env python3
"""Paired per-process runs of two commands, timed the same way.

For each line of WORDS (the first RUNS of them), runs our command and then
the peer's with that line in place of every "{}" (and its tab-separated
fields in place of "{1}", "{2}", ...), alternating which goes first, and takes each process's wall time (from fork to exit) and CPU time
(user + system of the child). Prints one line: the medians of ours and of
the peer's, wall and CPU, in ms, and the ratios ours / peer.

Usage: paired.py RUNS WORDS -- OUR COMMAND... -- PEER COMMAND...
"""
import os
import statistics
import subprocess
import sys
import time


def timed(command, line):
    fields = {"{%d}" % n: field for n, field in enumerate(line.split("\t"), 1)}
    argv = [line if part == "{}" else fields.get(part, part) for part in command]
    start = time.perf_counter()
    process = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = 0  # reaped here
    return wall, usage.ru_utime + usage.ru_stime


def main():
    runs, words_file = int(sys.argv[1]), sys.argv[2]
    rest = sys.argv[3:]
    if rest[:1] != ["--"] or rest[1:].count("--") != 1:
        raise SystemExit(__doc__)
    split = rest.index("--", 1)
    ours, peer = rest[1:split], rest[split + 1:]
    words = [line.rstrip("\n") for line in open(words_file, encoding="utf-8")][:runs]
    times = {"ours": [], "peer": []}
    for n, word in enumerate(words):
        order = (("ours", ours), ("peer", peer))
        for name, command in (order if n % 2 == 0 else order[::-1]):
            times[name].append(timed(command, word))
    wall = {k: statistics.median(t[0] for t in v) * 1000 for k, v in times.items()}
    cpu = {k: statistics.median(t[1] for t in v) * 1000 for k, v in times.items()}
    print("%.1f %.1f %.2f %.1f %.1f %.2f" % (wall["ours"], wall["peer"], wall["ours"] / wall["peer"],
                                             cpu["ours"], cpu["peer"],
                                             cpu["ours"] / cpu["peer"] if cpu["peer"] else 0))


if __name__ == "__main__":
    main()
