#!/usr/bin/env python3
"""Times tornvel on the generated profiles and checks the performance goals.

Called by bench/run.sh, which builds the binary and generates the inputs first.
For each product and profile size it times a non-verbose run of tornvel and,
side by side on the same file, `wc -l`; for the database product (T5) also the
plain-list peer awk script, whose statement file must equal tornvel's byte for
byte. Each command runs once to warm the file cache and then RUNS times,
interleaved; medians are reported. Peak resident memory comes from one extra
run under /usr/bin/time -v ("Maximum resident set size"), whose statement file
is counted ("stmts") to show that the run did its work.

Every run records its processor time (user + system, as the kernel accounts it
to the child) and its wall-clock time. The goals are judged on processor time
by default (--clock cpu): all three programs are single-threaded and read
files that the warm-up put in the page cache, so on an idle machine the two
clocks agree, while on a machine shared with other work the wall clock mostly
measures the other work. --clock wall judges on wall-clock time instead.

Goals (PASS/FAIL each; the exit code is 1 when any goal fails):
  output    every run wrote a statement file with at least 100 statements
  peer-out  T5: the awk peer's statement file equals tornvel's at every size
  peer      T5: at least 10x faster than the awk peer on the 1M-line profile
  wc        every product at most 8x the time of `wc -l` on the 1M-line profile
  rss       peak RSS under 16 MB for every input
  rss-flat  peak RSS at 1M lines at most RSS_SLACK_KB above the 100k-line run
  doubling  the 2M-line profile takes at most twice the time of the 1M-line one
            (both timed again, alternating, 2 x RUNS times; least times compared)

Standard library only.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

PRODUCTS = ("t5", "w5", "y5", "r5")
CONTROL_NAMES = {"t5": "ZT5PROD.TXT", "w5": "ZWQPROD.TXT", "y5": "ZYQPROD.TXT",
                 "r5": "ZR5PROD.TXT"}
STATEMENT_FILES = {"t5": "ZT5_UPD.SQL", "w5": "ZW5_UPD.SQL", "y5": "ZY5_UPD.SQL",
                   "r5": "ZR5_UPD.SQL"}

# 7 December 2026, 08:45:22 UTC: every statement carries 1261207084522000.
EPOCH = "1796633122"

PEER_SPEEDUP = 10.0
WC_FACTOR = 8.0
RSS_LIMIT_KB = 16 * 1024
RSS_SLACK_KB = 512
DOUBLING_LIMIT = 2.0
MIN_STATEMENTS = 100

SMALL, LARGE, DOUBLE = 100000, 1000000, 2000000


def run_environment():
    env = dict(os.environ)
    env.update({"SOURCE_DATE_EPOCH": EPOCH, "TZ": "UTC", "LC_ALL": "C"})
    return env


def run_timestamp():
    # Century digit, then two digits each for year, month, day, hour, minute
    # and second, then 000 (the epoch above lies in 2000..2099).
    return "1" + time.strftime("%y%m%d%H%M%S", time.gmtime(int(EPOCH))) + "000"


class Command:
    """One command line timed on one profile.

    Each run records two figures: the wall-clock time from start to exit, and
    the processor time (user + system) that the kernel accounts to the child.
    """

    def __init__(self, label, argv, cwd, stdout_path=None):
        self.label = label
        self.argv = argv
        self.cwd = cwd
        self.stdout_path = stdout_path
        self.wall = []
        self.cpu = []

    def run_once(self, env):
        out = open(self.stdout_path, "wb") if self.stdout_path else subprocess.DEVNULL
        try:
            start = time.perf_counter()
            child = subprocess.Popen(self.argv, cwd=self.cwd, env=env, stdout=out,
                                     stderr=subprocess.PIPE)
            _, status, usage = os.wait4(child.pid, 0)
            wall = time.perf_counter() - start
            child.returncode = os.waitstatus_to_exitcode(status)
            errors = child.stderr.read()
            child.stderr.close()
        finally:
            if self.stdout_path:
                out.close()
        if child.returncode != 0:
            raise RuntimeError("%s ended with exit code %d: %s %s" % (
                self.label, child.returncode, " ".join(self.argv),
                errors.decode(errors="replace").strip()))
        return wall, usage.ru_utime + usage.ru_stime

    def median(self, clock):
        return statistics.median(self.cpu if clock == "cpu" else self.wall)

    def least(self, clock):
        return min(self.cpu if clock == "cpu" else self.wall)


def time_interleaved(commands, runs, env):
    for command in commands:
        command.run_once(env)  # warm the page cache and the binary
    for _ in range(runs):
        for command in commands:
            wall, cpu = command.run_once(env)
            command.wall.append(wall)
            command.cpu.append(cpu)


def peak_rss_kb(command, env):
    report = command.cwd + "/.time-v.txt"
    argv = ["/usr/bin/time", "-v", "-o", report] + command.argv
    subprocess.run(argv, cwd=command.cwd, env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    with open(report) as text:
        match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", text.read())
    os.remove(report)
    if not match:
        raise RuntimeError("no peak memory in the /usr/bin/time report")
    return int(match.group(1))


def prepare_workdir(work, inputs, product):
    """A directory with SQLLIB and the control file, as a site runs the tool."""
    workdir = os.path.join(work, product)
    os.makedirs(os.path.join(workdir, "SQLLIB"), exist_ok=True)
    shutil.copyfile(os.path.join(inputs, CONTROL_NAMES[product]),
                    os.path.join(workdir, CONTROL_NAMES[product]))
    return workdir


def ms(seconds):
    return "%.1f" % (seconds * 1000.0)


class Results:
    def __init__(self):
        self.goals = []  # (name, passed, detail)

    def goal(self, name, passed, detail):
        self.goals.append((name, passed, detail))


def measure(args):
    env = run_environment()
    clock = args.clock
    tornvel = os.path.abspath(args.tornvel)
    inputs = os.path.abspath(args.inputs)
    work = os.path.abspath(args.work)
    peer = os.path.abspath(args.peer) if args.peer else None
    products = [p for p in args.products.split(",") if p]
    sizes = sorted(args.sizes)
    results = Results()
    table = {}  # (product, size) -> dict of figures

    print("tornvel: %s" % tornvel)
    print("runs per command: %d, interleaved; medians. Timestamp %s, TZ=UTC." %
          (args.runs, run_timestamp()))
    print("load average before timing: %s (%d processors)" %
          (" ".join("%.2f" % x for x in os.getloadavg()), os.cpu_count() or 0))
    if clock == "cpu":
        print("Times are processor time (user + system) of each run; goals are judged on "
              "them. Wall-clock medians are shown as 'wall'.")
    else:
        print("Times are wall-clock time of each run; goals are judged on them.")
    print()
    header = ("%-4s %9s %7s %10s %9s %10s %7s %8s %9s %6s" %
              ("prod", "lines", "MB", "tornvel ms", "wall ms", "wc -l ms", "ratio", "MB/s",
               "peak RSS", "stmts"))
    peer_header = "%10s %8s %s" % ("awk ms", "speedup", "output")
    for product in products:
        workdir = prepare_workdir(work, inputs, product)
        print(header + (peer_header if product == "t5" else ""))
        for size in sizes:
            profile = os.path.join(inputs, "%s-%d.txt" % (product, size))
            if not os.path.exists(profile):
                raise RuntimeError("missing input %s (run bench/generate.py)" % profile)
            megabytes = os.path.getsize(profile) / 1e6
            tool = Command("tornvel", [tornvel, profile, product.upper()], workdir)
            wc = Command("wc -l", ["wc", "-l", profile], workdir)
            commands = [wc, tool]
            awk = None
            peer_out = os.path.join(workdir, "peer-%d.sql" % size)
            if product == "t5" and peer:
                awk = Command("awk peer", ["awk", "-v", "ts=" + run_timestamp(), "-v",
                                           "prod=ZTQ", "-f", peer,
                                           os.path.join(workdir, CONTROL_NAMES["t5"]), profile],
                              workdir, stdout_path=peer_out)
                commands.append(awk)
            time_interleaved(commands, args.runs, env)
            statements = os.path.join(workdir, "SQLLIB", STATEMENT_FILES[product])
            if os.path.exists(statements):
                os.remove(statements)
            rss = peak_rss_kb(tool, env)
            written = count_statements(statements)
            figures = {"tool": tool.median(clock), "wc": wc.median(clock), "rss": rss,
                       "mb": megabytes, "statements": written}
            ratio = figures["tool"] / figures["wc"]
            line = "%-4s %9d %7.1f %10s %9s %10s %6.1fx %8.0f %6.1f MB %6d" % (
                product.upper(), size, megabytes, ms(figures["tool"]), ms(tool.median("wall")),
                ms(figures["wc"]), ratio, megabytes / figures["tool"], rss / 1024.0, written)
            if awk:
                identical = files_equal(statements, peer_out)
                figures["awk"] = awk.median(clock)
                figures["identical"] = identical
                line += "%10s %7.1fx %s" % (ms(figures["awk"]), figures["awk"] / figures["tool"],
                                            "identical" if identical else "DIFFERENT")
            table[(product, size)] = figures
            print(line)
            sys.stdout.flush()
        if LARGE in sizes and DOUBLE in sizes:
            # The doubling check times both sizes again, alternating, twice as
            # often, and compares the least times: a linear run with a fixed
            # start-up takes a little under twice as long, so the check has
            # no margin for disturbance, and the least of many runs is the
            # figure that other work on the machine disturbs least.
            pair = [Command("tornvel", [tornvel, os.path.join(inputs, "%s-%d.txt" % (product, size)),
                                        product.upper()], workdir) for size in (LARGE, DOUBLE)]
            time_interleaved(pair, 2 * args.runs, env)
            table[(product, "doubling")] = (pair[0].least(clock), pair[1].least(clock))
        print()
    check_goals(results, table, products, sizes, peer)
    return report(results)


def count_statements(path):
    """Statements in a statement file: each begins a line with its verb."""
    if not os.path.exists(path):
        return 0
    count = 0
    with open(path, "rb") as text:
        for line in text:
            if line.startswith((b"UPDATE ", b"INSERT ", b"DELETE ")):
                count += 1
    return count


def files_equal(first, second):
    if not (os.path.exists(first) and os.path.exists(second)):
        return False
    if os.path.getsize(first) != os.path.getsize(second):
        return False
    with open(first, "rb") as a, open(second, "rb") as b:
        while True:
            block_a, block_b = a.read(1 << 20), b.read(1 << 20)
            if block_a != block_b:
                return False
            if not block_a:
                return True


def check_goals(results, table, products, sizes, peer):
    # A run that writes (almost) nothing would make every timing goal look
    # good: each run must have written its statements.
    for product in products:
        fewest = min(table[(product, size)]["statements"] for size in sizes)
        results.goal("output", fewest >= MIN_STATEMENTS,
                     "%s: fewest statements written by a run: %d (goal >= %d)"
                     % (product.upper(), fewest, MIN_STATEMENTS))
    # T5 against the awk peer: the statement files must be identical at every
    # size; the speed-up is judged on the 1M-line profile, like the ratio to
    # wc -l below (at 100k lines tornvel's fixed start-up, loading 512
    # definitions and writing 1024 statements, is half of its time).
    judged = LARGE if LARGE in sizes else sizes[-1]
    if "t5" in products:
        if not peer:
            results.goal("peer", False, "T5: peer script not found, nothing compared")
        else:
            different = [size for size in sizes if not table[("t5", size)]["identical"]]
            results.goal("peer-out", not different,
                         "T5: statement files of tornvel and the awk peer identical at %s"
                         % ", ".join("%d lines" % size for size in sizes)
                         if not different else
                         "T5: statement files DIFFER at %s"
                         % ", ".join("%d lines" % size for size in different))
            f = table[("t5", judged)]
            speedup = f["awk"] / f["tool"]
            results.goal("peer", speedup >= PEER_SPEEDUP,
                         "T5 %d lines: %.1fx faster than the awk peer (goal >= %gx)"
                         % (judged, speedup, PEER_SPEEDUP))
    # Against wc -l on the 1M-line profile (at 100k both are dominated by
    # process start-up, so that size is shown above but not judged).
    for product in products:
        f = table[(product, judged)]
        ratio = f["tool"] / f["wc"]
        results.goal("wc", ratio <= WC_FACTOR, "%s %d lines: %.1fx the time of wc -l (goal <= %gx)"
                     % (product.upper(), judged, ratio, WC_FACTOR))
    for product in products:
        worst = max(table[(product, size)]["rss"] for size in sizes)
        results.goal("rss", worst < RSS_LIMIT_KB, "%s: peak RSS at most %.1f MB over all sizes "
                     "(goal < %d MB)" % (product.upper(), worst / 1024.0, RSS_LIMIT_KB // 1024))
    if SMALL in sizes and LARGE in sizes:
        for product in products:
            small = table[(product, SMALL)]["rss"]
            large = table[(product, LARGE)]["rss"]
            results.goal("rss-flat", large <= small + RSS_SLACK_KB,
                         "%s: peak RSS %d KB at 100k lines, %d KB at 1M lines (goal: growth <= %d KB)"
                         % (product.upper(), small, large, RSS_SLACK_KB))
    for product in products:
        if (product, "doubling") not in table:
            continue
        large, double = table[(product, "doubling")]
        growth = double / large
        results.goal("doubling", growth <= DOUBLING_LIMIT,
                     "%s: 2M lines take %.2fx the time of 1M lines (least %s and %s ms, goal <= %g)"
                     % (product.upper(), growth, ms(double), ms(large), DOUBLING_LIMIT))


def report(results):
    print("Goals")
    failed = 0
    for name, passed, detail in results.goals:
        print("  %s  %-9s %s" % ("PASS" if passed else "FAIL", name, detail))
        failed += 0 if passed else 1
    print()
    print("%s: %d of %d checks passed" % ("PASS" if failed == 0 else "FAIL",
                                         len(results.goals) - failed, len(results.goals)))
    return 0 if failed == 0 else 1


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tornvel", required=True, help="the binary to time")
    parser.add_argument("--inputs", required=True, help="directory written by generate.py")
    parser.add_argument("--work", required=True, help="scratch directory for the runs")
    parser.add_argument("--peer", help="the plain-list peer awk script")
    parser.add_argument("--runs", type=int, default=5, help="timed runs per command")
    parser.add_argument("--sizes", type=int, nargs="+", default=[SMALL, LARGE, DOUBLE])
    parser.add_argument("--products", default=",".join(PRODUCTS))
    parser.add_argument("--clock", choices=("cpu", "wall"), default="cpu",
                        help="the time the goals are judged on (default: processor time)")
    args = parser.parse_args(argv)
    try:
        return measure(args)
    except RuntimeError as error:
        print("FAIL: %s" % error)
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
