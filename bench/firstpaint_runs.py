#!/usr/bin/env python3
"""Start-up to the first painted window, the program against a minimal Qt
window of the same controls and against its installed start through the
launcher, run alternately on one X display.

Each run's start-up time is the time from just before the process is
started (CLOCK_MONOTONIC, taken here) to the first paint of its window
(CLOCK_MONOTONIC, printed by the program). Peak RSS is getrusage's
ru_maxrss of the program at its exit. Prints every run, then the medians
and the ratios, and the launcher's own time: the launcher starting a
program that does nothing against that program started directly.
"""

import argparse
import glob
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LINE = re.compile(r"firstpaint name=(\S+) paint_monotonic_ns=(\d+) main_to_paint_ms=(\S+) "
                  r"exec_to_paint_ms=(\S+) maxrss_kb=(\d+)")


def run_once(program, env=None):
    started = time.monotonic_ns()
    done = subprocess.run([program], capture_output=True, text=True, timeout=60, env=env)
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
    parser.add_argument("--launcher", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src", "app", "launcher.sh"))
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="quorvel-firstpaint-")
    try:
        run_all(args, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def installed_tree(work, launcher, program, data_dir):
    """An installed tree like /usr: bin/quorvel the launcher, lib/quorvel the
    program and the bundled data; returns the launcher and a home for it."""
    os.makedirs(work + "/bin")
    os.makedirs(work + "/lib/quorvel")
    shutil.copy(launcher, work + "/bin/quorvel")
    os.symlink(os.path.abspath(program), work + "/lib/quorvel/quorvel")
    for data in glob.glob(os.path.join(data_dir, "*.txt")):
        shutil.copy(data, work + "/lib/quorvel")
    os.makedirs(work + "/home")
    return work + "/bin/quorvel", dict(os.environ, HOME=work + "/home", XDG_DATA_HOME="")


def record_bundle(work):
    """Marks the filled folder up to date with the installed data, as an
    upgrading start leaves it, so that later starts are ordinary ones."""
    record = work + "/home/.local/share/quorvel/.bundle"
    os.makedirs(record, exist_ok=True)
    installed = os.stat(work + "/lib/quorvel")
    os.utime(record, ns=(installed.st_atime_ns, installed.st_mtime_ns))


def launcher_ms(work, args, runs=200):
    """The launcher's own work on an ordinary start: the median time of the
    launcher starting /bin/true on a filled folder less that of /bin/true."""
    launcher, env = installed_tree(work + "/true", args.launcher, "/bin/true", args.bindir)
    subprocess.run([launcher], env=env, check=True)  # fills the folder
    record_bundle(work + "/true")
    times = {launcher: [], "/bin/true": []}
    for _ in range(runs):
        for program in times:
            started = time.monotonic_ns()
            subprocess.run([program], env=env, check=True)
            times[program].append((time.monotonic_ns() - started) / 1e6)
    return statistics.median(times[launcher]) - statistics.median(times["/bin/true"])


def run_all(args, work):
    launcher, home_env = installed_tree(work + "/tree", args.launcher,
                                        os.path.join(args.bindir, "bench_firstpaint_app"),
                                        args.bindir)
    programs = {
        "quorvel": os.path.join(args.bindir, "bench_firstpaint_app"),
        "minimal": os.path.join(args.bindir, "bench_firstpaint_minimal"),
        "installed": launcher,
    }
    # All three in the same environment, the installed start's home: the
    # launcher is the one difference. One unmeasured run each brings the
    # libraries into the page cache; the installed start's fills the folder.
    for program in programs.values():
        run_once(program, home_env)
    record_bundle(work + "/tree")
    results = {name: [] for name in programs}
    for i in range(args.runs):
        # Alternate which one goes first, so that neither always follows
        # the other.
        order = list(programs) if i % 2 == 0 else list(reversed(programs))
        for name in order:
            r = run_once(programs[name], home_env)
            results[name].append(r)
            print(f"run {i + 1:2d} {name:9s} start_to_paint_ms={r['start_to_paint_ms']:7.2f} "
                  f"main_to_paint_ms={r['main_to_paint_ms']:7.2f} "
                  f"loop_to_paint_ms={r['loop_to_paint_ms']:6.2f} maxrss_kb={r['maxrss_kb']}")
    print()
    print(f"medians of {args.runs} alternating runs each:")
    medians = {}
    for name, runs in results.items():
        medians[name] = {key: statistics.median(r[key] for r in runs) for key in runs[0]}
        m = medians[name]
        print(f"  {name:9s} start_to_paint_ms={m['start_to_paint_ms']:7.2f} "
              f"main_to_paint_ms={m['main_to_paint_ms']:7.2f} "
              f"loop_to_paint_ms={m['loop_to_paint_ms']:6.2f} maxrss_kb={m['maxrss_kb']:.0f}")
    q, m, i = medians["quorvel"], medians["minimal"], medians["installed"]
    print(f"  ratio     start_to_paint={q['start_to_paint_ms'] / m['start_to_paint_ms']:.3f} "
          f"main_to_paint={q['main_to_paint_ms'] / m['main_to_paint_ms']:.3f} "
          f"maxrss={q['maxrss_kb'] / m['maxrss_kb']:.3f}")
    print(f"  installed / quorvel start_to_paint="
          f"{i['start_to_paint_ms'] / q['start_to_paint_ms']:.3f}")
    print(f"  launcher's own work on an ordinary start: {launcher_ms(work, args):.2f} ms")


if __name__ == "__main__":
    main()
