#!/usr/bin/env python3
"""Start-up to the first painted window, the program against a minimal Qt
window of the same controls, run alternately on one X display.

Each run's start-up time is the time from just before the process is
started (CLOCK_MONOTONIC, taken here) to the first paint of its window
(CLOCK_MONOTONIC, printed by the program). Peak RSS is getrusage's
ru_maxrss of the program at its exit. Prints every run, then the medians
and the ratios.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import time

LINE = re.compile(r"firstpaint name=(\S+) paint_monotonic_ns=(\d+) main_to_paint_ms=(\S+) "
                  r"exec_to_paint_ms=(\S+) maxrss_kb=(\d+)")


def run_once(program):
    started = time.monotonic_ns()
    done = subprocess.run([program], capture_output=True, text=True, timeout=60)
    match = LINE.search(done.stdout)
    if done.returncode != 0 or not match:
        sys.exit(f"{program} failed ({done.returncode}): {done.stdout}{done.stderr}")
    return {
        "start_to_paint_ms": (int(match.group(2)) - started) / 1e6,
        "main_to_paint_ms": float(match.group(3)),
        "loop_to_paint_ms": float(match.group(4)),
        "maxrss_kb": int(match.group(5)),
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bindir")
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()
    programs = {
        "quorvel": os.path.join(args.bindir, "bench_firstpaint_app"),
        "minimal": os.path.join(args.bindir, "bench_firstpaint_minimal"),
    }
    # One unmeasured run each brings the libraries into the page cache.
    for program in programs.values():
        run_once(program)
    results = {name: [] for name in programs}
    for i in range(args.runs):
        # Alternate which one goes first, so that neither always follows
        # the other.
        order = list(programs) if i % 2 == 0 else list(reversed(programs))
        for name in order:
            r = run_once(programs[name])
            results[name].append(r)
            print(f"run {i + 1:2d} {name:8s} start_to_paint_ms={r['start_to_paint_ms']:7.2f} "
                  f"main_to_paint_ms={r['main_to_paint_ms']:7.2f} "
                  f"loop_to_paint_ms={r['loop_to_paint_ms']:6.2f} maxrss_kb={r['maxrss_kb']}")
    print()
    print(f"medians of {args.runs} alternating runs each:")
    medians = {}
    for name, runs in results.items():
        medians[name] = {key: statistics.median(r[key] for r in runs) for key in runs[0]}
        m = medians[name]
        print(f"  {name:8s} start_to_paint_ms={m['start_to_paint_ms']:7.2f} "
              f"main_to_paint_ms={m['main_to_paint_ms']:7.2f} "
              f"loop_to_paint_ms={m['loop_to_paint_ms']:6.2f} maxrss_kb={m['maxrss_kb']:.0f}")
    q, m = medians["quorvel"], medians["minimal"]
    print(f"  ratio    start_to_paint={q['start_to_paint_ms'] / m['start_to_paint_ms']:.3f} "
          f"main_to_paint={q['main_to_paint_ms'] / m['main_to_paint_ms']:.3f} "
          f"maxrss={q['maxrss_kb'] / m['maxrss_kb']:.3f}")


if __name__ == "__main__":
    main()
