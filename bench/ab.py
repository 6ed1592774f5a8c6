#!/usr/bin/env python3
"""Compares the speed of two or more tornvel binaries on one profile.

Runs the binaries in turn, RUNS times each, and prints for each the median and
the minimum of the wall time and of the processor time (user + system, from
the kernel's resource usage of the child). Alternating the binaries spreads
the disturbance of other work on the machine evenly over all of them; the
minimum is the steadiest figure on a busy machine.

  bench/ab.py PRODUCT PROFILE BINARY... [--runs N]

The run happens in bench/out/ab/PRODUCT, which gets a SQLLIB directory and
the product's control file from the profile's directory. Standard library only.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

CONTROL_NAMES = {"t5": "ZT5PROD.TXT", "w5": "ZWQPROD.TXT", "y5": "ZYQPROD.TXT",
                 "r5": "ZR5PROD.TXT"}


def run(binary, profile, product, workdir, env):
    start = time.perf_counter()
    child = subprocess.Popen([binary, profile, product.upper()], cwd=workdir, env=env,
                             stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        raise SystemExit("%s ended with exit code %d" % (binary, child.returncode))
    return wall, usage.ru_utime + usage.ru_stime


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("product", choices=sorted(CONTROL_NAMES))
    parser.add_argument("profile")
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args(argv)

    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    workdir = os.path.join(root, "bench", "out", "ab", args.product)
    os.makedirs(os.path.join(workdir, "SQLLIB"), exist_ok=True)
    profile = os.path.abspath(args.profile)
    control = CONTROL_NAMES[args.product]
    shutil.copyfile(os.path.join(os.path.dirname(profile), control),
                    os.path.join(workdir, control))
    env = dict(os.environ, SOURCE_DATE_EPOCH="1796633122", TZ="UTC", LC_ALL="C")
    binaries = [os.path.abspath(b) for b in args.binaries]

    walls = {b: [] for b in binaries}
    cpus = {b: [] for b in binaries}
    for binary in binaries:
        run(binary, profile, args.product, workdir, env)  # warm-up
    for _ in range(args.runs):
        for binary in binaries:
            wall, cpu = run(binary, profile, args.product, workdir, env)
            walls[binary].append(wall)
            cpus[binary].append(cpu)

    print("%-50s %10s %10s %10s %10s" % ("binary", "wall med", "wall min", "cpu med", "cpu min"))
    for binary in binaries:
        print("%-50s %8.1fms %8.1fms %8.1fms %8.1fms" % (
            os.path.relpath(binary, root)[-50:], 1000 * statistics.median(walls[binary]),
            1000 * min(walls[binary]), 1000 * statistics.median(cpus[binary]),
            1000 * min(cpus[binary])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
