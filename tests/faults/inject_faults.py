#!/usr/bin/env python3
"""Whole runs of tornvel with one system call failed, or the process killed or
interrupted at that call (Linux, strace).

What it proves, for three whole runs (build mode with advice and threshold
file, update mode with a threshold file, the service-class example with its
template seed file):

  * a run that fails a call and still ends with 0 wrote exactly what a clean
    run writes, and added no file;
  * a run that ends with any other code said why, left every earlier output
    byte for byte as it was and added no file (no temporary file left behind);
    a read error on one of its inputs ends it with 12 and "Unable to read file";
  * a run interrupted (SIGINT) at any call ended by SIGINT, removed its
    temporary files, and left the outputs either all earlier or all new,
    never a mix: the interrupt waits while the outputs take their names;
  * a run killed (SIGKILL) at any call left each output either earlier or new
    (the threshold file earlier, or earlier plus the run's complete lines),
    and killed before its commit (the first call that names a file) no file
    at all; where the file system has no unnamed files (exFAT) the named
    temporaries it leaves are counted instead;
  * a failed close of a temporary file or length query of the threshold file
    ends the run with 12; a hidden copy a whole run left is named;
  * a commit that fails, with every later rename (or cut, lock, sync) failing
    too, ends with 12 and names what it could not put back, each in exactly
    the sentence that fits (threshold lines cut back without the system's
    confirmation are told as such, not as lines that stay);
  * the clean run's calls are in a durable order: every file it wrote is synced
    after its last write, and before it gets a second name or is renamed into
    place, and the folder of every rename is synced after the last rename into
    it. A sync that is never made is never failed, so this is read from the
    clean run's log.

How: a clean run is recorded with `strace -o LOG`; its outputs are the
reference "complete new" files. Then, for every call N of every kind K seen in
that log, the run is repeated in a fresh scratch copy with
`-e inject=K:error=E:when=N`, with `signal=KILL` and with `signal=INT`.
strace ends with the traced program's exit code and re-raises a signal that
ended it, so a killed run shows as a negative return code here (checked before
the first scenario). A signal injected at a call is raised as the call is
entered: SIGKILL ends the process before the call does anything, a caught or
blocked SIGINT arrives once the call has returned.

Usage: inject_faults.py [--binary TORNVEL] [--examples DIR] [--jobs N]
                        [--calls K1,K2] [--scenario a,b,c] [--own-files-only]
The runs take place under TMPDIR: tests/exfat/on_exfat.sh runs the script
on a file system without hard links and unnamed files.
--own-files-only fails only the calls on the run's own files (its inputs,
outputs and their temporary files), for builds whose runtime makes calls of
its own (sanitizers); the runs are still killed and interrupted at every call.
Exit 0 when every run is sound, 1 when one is not, 77 when strace cannot
trace here (CTest counts that as skipped).
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The leak checker of a sanitizer build cannot work under ptrace: it is off here.
ENVIRONMENT = dict(os.environ, SOURCE_DATE_EPOCH="1796633122", TZ="UTC", LC_ALL="C",
                   ASAN_OPTIONS=":".join(filter(None, [os.environ.get("ASAN_OPTIONS"),
                                                       "detect_leaks=0"])))
RUN_TIMEOUT = 20
SKIP = 77

# How a call is failed. Calls that write or make written data durable fail
# with ENOSPC, calls that read with EIO, calls that name a file with EACCES,
# memory calls with ENOMEM and every other call (on a descriptor, signals) with
# EIO. brk reports a refusal by not moving the break, never by an error code:
# it is failed that way (retval=0), so that allocation goes on elsewhere.
NAME_CALLS = {"open", "openat", "openat2", "stat", "lstat", "newfstatat", "statx", "access",
              "faccessat", "faccessat2", "readlink", "readlinkat", "rename", "renameat",
              "renameat2", "link", "linkat", "unlink", "unlinkat", "mkdir", "chmod", "execve"}
WRITE_CALLS = {"write", "pwrite64", "writev", "pwritev", "pwritev2", "fsync", "fdatasync",
               "ftruncate", "fallocate", "sync_file_range"}
READ_CALLS = {"read", "pread64", "readv", "preadv", "preadv2", "getdents64"}
MEMORY_CALLS = {"mmap", "munmap", "mprotect", "mremap", "madvise"}
FAILURES = {"brk": "retval=0"}
# Calls that look a file up by name or descriptor: failing the ones that touch
# the advice file leaves a run without advice texts, which is still whole.
LOOKUP_CALLS = {"open", "openat", "openat2", "stat", "lstat", "newfstatat", "fstat", "statx",
                "access", "faccessat", "faccessat2"}
# The program is not running yet when its execve is entered: nothing to judge.
NOT_INJECTED = {"execve"}
# Not failed, only killed and interrupted at: a wake-up of a private futex has
# no failure to report (the C library ends the process on any error code by
# design), and neither has an exit_group.
NOT_FAILED = {"futex", "exit_group"}


@dataclass
class Scenario:
    """One whole run: which example, its command line and what it writes."""
    key: str
    example: str
    args: list
    replaced: list  # outputs replaced as a whole, relative to the run's folder
    threshold: str  # the output appended to
    inputs: list  # files the run reads: a read error on one must end the run with 12
    advice: str = ""  # optional input whose absence still gives a whole run


SCENARIOS = [
    Scenario("a", "t5", ["-bd", "-dh", "PROFILE.TXT", "t5"],
             ["SQLLIB/ZT5_INS.SQL"], "SQLLIB/ZT5_CDF.TXT",
             ["ZT5PROD.TXT", "PROFILE.TXT", "ZT5_ADVICE.TXT"], advice="ZT5_ADVICE.TXT"),
    Scenario("b", "y5", ["-dh", "Y5PROF.TXT", "y5"],
             ["SQLLIB/ZY5_UPD.SQL"], "SQLLIB/ZY5_CDF.TXT", ["ZY5PROD.TXT", "Y5PROF.TXT"]),
    Scenario("c", "r5", ["-d", "SYSAPROF.TXT", "r5"],
             ["SQLLIB/ZR5_UPD.SQL", "SQLLIB/UR5_ZPX.SQL"], "SQLLIB/ZR5_CDF.TXT",
             ["ZR5PROD.TXT", "SYSAPROF.TXT"]),
]

EARLIER_THRESHOLD_LINES = b"EARLIER.TXT,Critical,90,,75\nEARLIER.TXT,Warning,80,,60\n"


@dataclass
class Reference:
    """What a clean run of a scenario did and wrote."""
    earlier: dict  # every file of the prepared folder, by relative name
    new: dict  # each output after the clean run (threshold file: earlier + the run's lines)
    calls: list  # every Call of the clean run, in order
    without_advice: dict = field(default_factory=dict)  # outputs when the advice file is missing
    durability: list = field(default_factory=list)  # what the clean run left undurable

    def commit_start(self):
        """The position of the first call that gives a file a name."""
        return next((i for i, call in enumerate(self.calls) if call.kind in NAMING_CALLS),
                    len(self.calls))

    # The runs' file system makes files without a name (O_TMPFILE) and second
    # names (hard links), as ext4 does; exFAT does neither.
    full_file_system: bool = True

    def position(self, kind, number):
        """Where call `number` of its kind stands among all calls."""
        seen = 0
        for i, call in enumerate(self.calls):
            if call.kind == kind:
                seen += 1
                if seen == number:
                    return i
        return len(self.calls)

    def count_before(self, kind, position):
        return sum(1 for call in self.calls[:position] if call.kind == kind)


@dataclass
class Case:
    scenario: Scenario
    kind: str
    number: int
    action: str  # "error", "kill", "interrupt", or "undo": a failed commit whose undoing fails
    also: str = ""  # "undo": the kind failed from call `also_from` on too; "" for every later `kind`
    also_from: int = 0

    def injections(self):
        what = {"kill": "signal=KILL", "interrupt": "signal=INT"}.get(self.action,
                                                                      failure_for(self.kind))
        later = "+" if self.action == "undo" and not self.also else ""
        injections = [f"inject={self.kind}:{what}:when={self.number}{later}"]
        if self.also:
            injections.append(f"inject={self.also}:{failure_for(self.also)}:when={self.also_from}+")
        return injections

    def label(self):
        what = self.action if self.action in ("kill", "interrupt") else failure_for(self.kind)
        if self.action == "undo":
            what += f", {self.also} from #{self.also_from} on" if self.also else " from here on"
        return f"{self.kind} #{self.number} {what}"


@dataclass
class Verdict:
    case: Case
    status: str
    problems: list
    notes: list


def failure_for(kind):
    if kind in FAILURES:
        return FAILURES[kind]
    return "error=" + errno_for(kind)


def errno_for(kind):
    if kind in MEMORY_CALLS:
        return "ENOMEM"
    if kind in WRITE_CALLS:
        return "ENOSPC"
    if kind in READ_CALLS:
        return "EIO"
    if kind in NAME_CALLS:
        return "EACCES"
    return "EIO"


# --- Preparing folders and running -------------------------------------------------


def prepare(scenario, examples, folder, with_advice=True):
    """A copy of the example with an SQLLIB folder holding earlier outputs."""
    shutil.copytree(os.path.join(examples, scenario.example), folder)
    os.makedirs(os.path.join(folder, "SQLLIB"), exist_ok=True)
    for name in scenario.replaced:
        write_file(folder, name, f"earlier {os.path.basename(name)}\n".encode())
    write_file(folder, scenario.threshold, EARLIER_THRESHOLD_LINES)
    if scenario.advice and not with_advice:
        os.remove(os.path.join(folder, scenario.advice))


def write_file(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def snapshot(folder):
    """Every file under `folder` with its bytes, by name relative to it."""
    files = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def run(binary, scenario, folder, strace_args):
    command = ["strace", "-qq"] + strace_args + ["--", binary] + scenario.args
    try:
        done = subprocess.run(command, cwd=folder, env=ENVIRONMENT, capture_output=True,
                              timeout=RUN_TIMEOUT)
    except subprocess.TimeoutExpired:
        return None, b"", b""
    return done.returncode, done.stdout, done.stderr


def status_text(status):
    if status is None:
        return f"no end within {RUN_TIMEOUT} s"
    if status < 0:
        return "ended by " + signal.Signals(-status).name
    return f"exit {status}"


# --- The clean run -----------------------------------------------------------------


UNNAMED = "<unnamed in> "  # the subject of calls on a temporary file without a name
NAMING_CALLS = {"link", "linkat", "rename", "renameat", "renameat2"}
CALL_LINE = re.compile(r"^([a-z0-9_]+)\((.*)\)\s+= (-?\d+|\?)")
FIRST_NAME = re.compile(r'^(?:AT_FDCWD, )?"([^"]*)"')
FIRST_DESCRIPTOR = re.compile(r"^(\d+)(?:,|$)")


@dataclass
class Call:
    kind: str
    subject: str  # the file it names, or the file open on its descriptor; "" for neither
    by_descriptor: bool = False  # the call names an open descriptor, not a path
    arguments: str = ""  # as strace shows them
    result: int = 0  # -1 for a call that did not return


def calls_of(log_path):
    """Every call of an strace log in the order made, with the file it concerns."""
    calls, open_files = [], {}
    with open(log_path, encoding="utf-8", errors="replace") as log:
        for line in log:
            found = CALL_LINE.match(line)
            if not found:
                continue
            kind, arguments = found.group(1), found.group(2)
            result = -1 if found.group(3) == "?" else int(found.group(3))
            name = FIRST_NAME.match(arguments)
            descriptor = FIRST_DESCRIPTOR.match(arguments)
            subject = name.group(1) if name else ""
            by_descriptor = not subject and descriptor is not None
            if by_descriptor:
                subject = open_files.get(int(descriptor.group(1)), "")
            elif subject.startswith("/proc/self/fd/") and subject[14:].isdigit():
                subject = open_files.get(int(subject[14:]), subject)  # a link of an open file
            if kind in ("open", "openat") and result >= 0:
                # A temporary file without a name stands for its folder.
                open_files[result] = (UNNAMED + subject) if "O_TMPFILE" in arguments else subject
            elif kind == "close" and descriptor:
                open_files.pop(int(descriptor.group(1)), None)
            calls.append(Call(kind, subject, by_descriptor, arguments, result))
    return calls


def outputs_of(scenario, files):
    return {name: files.get(name) for name in output_names(scenario)}


def clean_reference(binary, scenario, examples, work):
    """Runs the scenario once traced and once without its advice file."""
    folder = os.path.join(work, f"clean-{scenario.key}")
    prepare(scenario, examples, folder)
    earlier = snapshot(folder)
    log = os.path.join(work, f"clean-{scenario.key}.log")
    status, out, err = run(binary, scenario, folder, ["-o", log])
    if status != 0:
        sys.exit(f"scenario {scenario.key}: the clean run ended with {status_text(status)}: "
                 f"{(out + err).decode(errors='replace')}")
    new = outputs_of(scenario, snapshot(folder))
    for name in scenario.replaced:
        if new[name] is None or new[name] == earlier[name]:
            sys.exit(f"scenario {scenario.key}: the clean run did not replace {name}")
    threshold = new[scenario.threshold]
    if not threshold.startswith(EARLIER_THRESHOLD_LINES) or threshold == EARLIER_THRESHOLD_LINES:
        sys.exit(f"scenario {scenario.key}: the clean run did not append to {scenario.threshold}")
    reference = Reference(earlier, new, calls_of(log),
                          full_file_system=can_make_unnamed_files(work))
    reference.durability = durability_problems(reference.calls)
    if scenario.advice:
        bare = os.path.join(work, f"clean-{scenario.key}-without-advice")
        prepare(scenario, examples, bare, with_advice=False)
        status, _, _ = run(binary, scenario, bare, ["-o", "/dev/null"])
        if status != 0:
            sys.exit(f"scenario {scenario.key}: the run without {scenario.advice} ended with "
                     f"{status_text(status)}")
        reference.without_advice = outputs_of(scenario, snapshot(bare))
    return reference


def can_make_unnamed_files(folder):
    try:
        os.close(os.open(folder, os.O_TMPFILE | os.O_WRONLY, 0o600))
        return True
    except (OSError, AttributeError):
        return False


def check_strace_reports_signals(binary):
    """strace must end as the traced program did, by its signal included."""
    for name, number in (("KILL", signal.SIGKILL), ("INT", signal.SIGINT)):
        done = subprocess.run(["strace", "-qq", "-o", "/dev/null", "-e", "trace=write",
                               "-e", f"inject=write:signal={name}:when=1", "--", binary,
                               "--version"], capture_output=True, env=ENVIRONMENT)
        if done.returncode != -number:
            sys.exit(f"strace does not re-raise SIG{name} (return code {done.returncode})")
    done = subprocess.run(["strace", "-qq", "-o", "/dev/null", "--", binary, "-v"],
                          capture_output=True, env=ENVIRONMENT)
    if done.returncode != 8:
        sys.exit(f"strace does not hand on the exit code (8 expected, got {done.returncode})")


# --- What the clean run made durable ----------------------------------------------


QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')
DATA_CALLS = {"write", "pwrite64", "writev", "pwritev", "pwritev2", "ftruncate", "fallocate"}
SYNC_CALLS = {"fsync", "fdatasync"}
LINK_CALLS = {"link", "linkat"}
RENAME_CALLS = {"rename", "renameat", "renameat2"}


def folder_of(name):
    return os.path.normpath(os.path.dirname(name) or ".")


def durability_problems(calls):
    """The order the clean run's calls must keep for its outputs to survive a
    power cut, which failing calls one at a time cannot show (a sync that is
    never made is never failed): every file the run wrote is synced after its
    last write, and before it gets a second name or is renamed into place; the
    folder of every rename is synced after the last rename into it."""
    problems = []
    file_on = {}  # descriptor -> file, a number per open
    path_on = {}  # descriptor -> the path it was opened by
    file_named = {}  # name -> file, for the files the run opened or named
    unsynced = {}  # file -> the name it was opened by, while it holds unsynced writes
    folders = set()  # folders renamed into since they were last synced
    for number, call in enumerate(calls):
        names = QUOTED.findall(call.arguments)
        descriptor = FIRST_DESCRIPTOR.match(call.arguments)
        fd = int(descriptor.group(1)) if descriptor else None
        if call.kind in ("open", "openat") and call.result >= 0 and names:
            file_on[call.result], path_on[call.result] = number, names[0]
            if "O_TMPFILE" not in call.arguments:
                file_named[os.path.normpath(names[0])] = number
        elif call.kind == "close" and fd is not None:
            file_on.pop(fd, None)
            path_on.pop(fd, None)
        elif call.kind in DATA_CALLS and fd in file_on:
            unsynced[file_on[fd]] = call.subject
        elif call.kind in SYNC_CALLS and fd in file_on:
            unsynced.pop(file_on[fd], None)
            folders.discard(os.path.normpath(path_on[fd]))
        elif call.kind in LINK_CALLS | RENAME_CALLS and len(names) >= 2:
            source, target = os.path.normpath(names[0]), os.path.normpath(names[1])
            linked = re.fullmatch(r"/proc/self/fd/(\d+)", names[0])
            file = file_on.get(int(linked.group(1))) if linked else file_named.get(source)
            if file in unsynced:
                problems.append(f"{unsynced.pop(file)} was given the name {names[1]} with "
                                "writes not synced")
            if file is not None:
                file_named[target] = file
            if call.kind in RENAME_CALLS:
                folders.add(folder_of(target))
    problems += [f"{name} was written and never synced" for name in unsynced.values()]
    problems += [f"the folder {folder} was not synced after the last rename into it"
                 for folder in sorted(folders)]
    return problems


# --- Judging one run ---------------------------------------------------------------


def hidden_temporary(scenario, name):
    """True for a `.NAME.tmp...` file beside one of the scenario's outputs."""
    folder, base = os.path.split(name)
    for output in output_names(scenario):
        out_folder, out_base = os.path.split(output)
        if folder == out_folder and base.startswith(f".{out_base}.tmp"):
            return True
    return False


def added_files(reference, after):
    return sorted(set(after) - set(reference.earlier))


def output_names(scenario):
    return scenario.replaced + [scenario.threshold]


def output_state(reference, after, name):
    """'earlier', 'new' or a description of what else the output holds."""
    data = after.get(name)
    if data == reference.earlier[name]:
        return "earlier"
    if data == reference.new[name]:
        return "new"
    if data is None:
        return "missing"
    return f"neither earlier nor new ({len(data)} bytes)"


def all_match(scenario, after, outputs):
    return all(after.get(name) == outputs[name] for name in output_names(scenario))


def subject_of(case, reference):
    """The file that call N of its kind concerned in the clean run."""
    numbered = [call.subject for call in reference.calls if call.kind == case.kind]
    return numbered[case.number - 1] if case.number <= len(numbered) else ""


def touches_advice(case, reference):
    """True when the call looks up or opens the advice file."""
    return (bool(case.scenario.advice) and case.kind in LOOKUP_CALLS and
            subject_of(case, reference) == case.scenario.advice)


def unread_input(case, reference):
    """The run's input that the failed call was reading, or ""."""
    subject = subject_of(case, reference) if case.kind in READ_CALLS else ""
    return subject if subject in case.scenario.inputs else ""


def is_temporary(subject):
    """True for a call's subject that is a temporary file of an output."""
    base = os.path.basename(subject)
    return subject.startswith(UNNAMED) or (base.startswith(".") and ".tmp" in base)


def rules_for(case, reference):
    """Outcomes the failed call must have, beyond whole or untouched."""
    subject = subject_of(case, reference)
    position = reference.position(case.kind, case.number)
    call = reference.calls[position] if position < len(reference.calls) else None
    if case.kind == "close" and is_temporary(subject):
        return "a failed close of a temporary file"
    if (call is not None and call.by_descriptor and subject == case.scenario.threshold and
            case.kind in ("fstat", "newfstatat", "statx")):
        return "a failed length query of the threshold file"
    return ""


def judge_error(case, reference, status, said, after):
    """A failed call: a whole new run, or a said failure that changed nothing."""
    problems, notes = [], []
    added = added_files(reference, after)
    if case.kind in ("unlink", "unlinkat"):
        left = [name for name in added if hidden_temporary(case.scenario, name)]
        notes += [f"{name} left behind" for name in left]
        problems += [f"{name} was left behind without a word" for name in left
                     if name not in said]
        added = [name for name in added if name not in left]
    if added:
        problems.append("added " + ", ".join(added))
    states = {name: output_state(reference, after, name) for name in output_names(case.scenario)}
    unread = unread_input(case, reference)
    if unread and (status != 12 or f"Unable to read file {unread}" not in said):
        problems.append(f"a read error on {unread} must end with 12 and say "
                        f"'Unable to read file {unread}'")
    rule = rules_for(case, reference)
    if rule and status != 12:
        problems.append(f"{rule} must end with 12, not {status_text(status)}")
    if status == 0:
        wholes = [reference.new]
        if touches_advice(case, reference):
            wholes.append(reference.without_advice)
        if not any(all_match(case.scenario, after, whole) for whole in wholes):
            problems += [f"exit 0 but {name} is {state}" for name, state in states.items()
                         if state != "new"]
    elif status is None or status < 0:
        problems.append(status_text(status))
    else:
        if not said:
            problems.append("nothing said")
        problems += [f"{name} is {state}" for name, state in states.items() if state != "earlier"]
    return problems, notes


def judge_undo(case, reference, status, said, after):
    """A commit that fails, and the putting back fails too: 12, and every
    output that is not as it was is named with what to do."""
    problems = []
    if status != 12:
        problems.append(f"{status_text(status)}, not exit 12")
    if not said:
        problems.append("nothing said")
    named = []
    for name in case.scenario.replaced:
        state = output_state(reference, after, name)
        if state == "earlier":
            continue
        earlier = reference.earlier[name]
        copies = [n for n in added_files(reference, after)
                  if hidden_temporary(case.scenario, n) and after[n] == earlier]
        told = [n for n in copies
                if f"{DIAGNOSTIC}the earlier {role_of(name)} is kept as {n}; rename it to {name}"
                in said.splitlines()]
        if told:
            named += told
        else:
            problems.append(f"{name} is {state} and no hidden copy of it is named")
    problems += threshold_leftover_problems(case, reference, said, after)
    stray = [n for n in added_files(reference, after) if n not in named]
    if stray:
        problems.append("added " + ", ".join(stray))
    return problems, []


DIAGNOSTIC = "tornvel: "


def role_of(name):
    """What the run calls an output in its messages."""
    return "template seed file" if os.path.basename(name) == "UR5_ZPX.SQL" else "statement file"


def threshold_leftover_problems(case, reference, said, after):
    """The run's lines on the threshold file, told by exactly the sentence that
    fits: none when they were cut off and the cut was synced; that the cut is
    not confirmed when its sync failed (every sync from the failed commit on
    fails); what to cut back to when they stay."""
    threshold = case.scenario.threshold
    shown = DIAGNOSTIC + "the threshold file " + threshold.replace("/", "\\")
    earlier = reference.earlier[threshold]
    at = len(earlier)
    data = after.get(threshold) or b""
    if data == earlier:
        expected = [f"{shown} was cut back to {at} bytes, but the system did not confirm that "
                    f"the cut reached the disk; check that it holds {at} bytes"
                    ] if case.also == "fsync" else []
    elif data == reference.new[threshold]:
        expected = [f"{shown} keeps the {len(data) - at} bytes this run appended after byte "
                    f"{at}; cut it back to {at} bytes"]
    else:
        return [f"{threshold} holds {len(data)} bytes, neither the earlier {at} nor the run's "
                f"{len(reference.new[threshold])}"]
    told = [line for line in said.splitlines() if line.startswith(shown + " ")]
    if told == expected:
        return []
    return [f"{threshold} holds {len(data)} bytes; the run said "
            f"'{' | '.join(told) or 'nothing of it'}' instead of "
            f"'{' | '.join(expected) or 'nothing of it'}'"]


def judge_interrupt(case, reference, status, said, after):
    """SIGINT: the process ends by it, tidily, with all outputs earlier or all new."""
    problems = []
    if status not in (-signal.SIGINT, 0):
        problems.append(f"{status_text(status)}, not by SIGINT")
    added = added_files(reference, after)
    if added:
        problems.append("left " + ", ".join(added))
    # Exit 0: the interrupt reached the process only as it was ending, after
    # its outputs had all taken their names; then they must all be new.
    wholes = [reference.new] if status == 0 else [reference.earlier, reference.new]
    if not any(all_match(case.scenario, after, whole) for whole in wholes):
        states = [f"{name} {output_state(reference, after, name)}"
                  for name in output_names(case.scenario)]
        problems.append("outputs " + ", ".join(states))
    return problems, []


def judge_kill(case, reference, status, said, after):
    """SIGKILL: each output earlier or new; before the commit, nothing added.
    Where temporary files have names from the start, what a kill leaves of
    them, and an earlier file caught aside as the new one took its place,
    are noted and counted, not failed."""
    problems, notes = [], []
    if status != -signal.SIGKILL:
        problems.append(f"{status_text(status)}, not by SIGKILL")
    added = added_files(reference, after)
    strays = [name for name in added if not hidden_temporary(case.scenario, name)]
    if strays:
        problems.append("added " + ", ".join(strays))
    temporaries = [name for name in added if name not in strays]
    before_commit = reference.position(case.kind, case.number) < reference.commit_start()
    if temporaries and before_commit:
        if reference.full_file_system:
            problems.append("killed before the commit, left " + ", ".join(temporaries))
        else:
            notes.append(NAMED_LEFT + ", ".join(temporaries))
    for name in output_names(case.scenario):
        state = output_state(reference, after, name)
        aside = [n for n in temporaries if after[n] == reference.earlier[name]]
        if state == "missing" and aside and not reference.full_file_system:
            notes.append(f"{ASIDE}{name} as {aside[0]}")
        elif state not in ("earlier", "new"):
            problems.append(f"{name} is {state}")
    return problems, notes


NAMED_LEFT = "named temporary left: "
ASIDE = "earlier file caught aside: "

JUDGES = {"error": judge_error, "interrupt": judge_interrupt, "kill": judge_kill,
          "undo": judge_undo}


def run_case(binary, examples, work, reference, case):
    folder = tempfile.mkdtemp(prefix=f"{case.scenario.key}-{case.kind}-", dir=work)
    shutil.rmtree(folder)
    prepare(case.scenario, examples, folder)
    traced = ",".join(dict.fromkeys([case.kind] + ([case.also] if case.also else [])))
    strace_args = ["-o", "/dev/null", "-e", f"trace={traced}"]
    for injection in case.injections():
        strace_args += ["-e", injection]
    status, out, err = run(binary, case.scenario, folder, strace_args)
    after = snapshot(folder)
    said = (out + err).decode(errors="replace")
    problems, notes = JUDGES[case.action](case, reference, status, said, after)
    if problems and said.strip():
        problems.append("said: " + said.strip().replace("\n", " | ")[:160])
    shutil.rmtree(folder, ignore_errors=True)
    return Verdict(case, status_text(status), problems, notes)


# --- Putting it together -----------------------------------------------------------


def loader_start(calls):
    """How many calls of each kind the dynamic loader makes before it opens
    anything: its own start, which cannot report a failure (it crashes)."""
    counts = {}
    for call in calls:
        if call.kind in ("open", "openat"):
            break
        counts[call.kind] = counts.get(call.kind, 0) + 1
    return counts


def own_file(call):
    """True for a call on a file of the run's folder (named relative to it)."""
    return call.subject != "" and not call.subject.startswith("/")


def cases_for(scenario, reference, wanted_kinds, own_files_only):
    counts, numbered = {}, {}
    for call in reference.calls:
        counts[call.kind] = counts.get(call.kind, 0) + 1
        numbered.setdefault(call.kind, []).append(call)
    unfailed = loader_start(reference.calls)
    cases = []
    for kind in sorted(counts):
        if kind in NOT_INJECTED or (wanted_kinds and kind not in wanted_kinds):
            continue
        for number in range(1, counts[kind] + 1):
            failed = kind not in NOT_FAILED and number > unfailed.get(kind, 0)
            if own_files_only and not own_file(numbered[kind][number - 1]):
                failed = False
            if failed:
                cases.append(Case(scenario, kind, number, "error"))
            cases.append(Case(scenario, kind, number, "kill"))
            cases.append(Case(scenario, kind, number, "interrupt"))
    if not wanted_kinds or wanted_kinds & {"rename", "linkat"}:
        cases += undo_cases(scenario, reference)
    return counts, cases


def undo_cases(scenario, reference):
    """Every call that fails a commit (a temporary file's link to its hidden
    name, a rename), each with the calls that put things back failing too:
    the renames back, the cut of the threshold file, its lock, its sync."""
    cases = []
    numbers = {}
    for position, call in enumerate(reference.calls):
        numbers[call.kind] = numbers.get(call.kind, 0) + 1
        if call.kind not in ("linkat", "rename") or not is_temporary(call.subject):
            continue
        number = numbers[call.kind]
        if call.kind == "rename":
            cases.append(Case(scenario, "rename", number, "undo"))
        else:
            cases.append(Case(scenario, call.kind, number, "undo", "rename",
                              reference.count_before("rename", position) + 1))
        for also in ("ftruncate", "flock", "fsync"):
            cases.append(Case(scenario, call.kind, number, "undo", also,
                              reference.count_before(also, position) + 1))
    return cases


def summarise(scenario, counts, verdicts):
    taken = {action: sum(1 for v in verdicts if v.case.action == action)
             for action in ("error", "kill", "interrupt", "undo")}
    kinds = ", ".join(f"{kind} {count}" for kind, count in sorted(counts.items()))
    print(f"scenario {scenario.key} (tornvel {' '.join(scenario.args)} in {scenario.example}):")
    print(f"  calls of the clean run: {sum(counts.values())} ({kinds})")
    print(f"  calls failed {taken['error']}, runs killed {taken['kill']}, "
          f"runs interrupted {taken['interrupt']}, commits failed with their undoing "
          f"{taken['undo']}")
    for prefix, what in ((NAMED_LEFT, "before their commit left a named temporary file (this "
                          "file system has no unnamed ones)"),
                         (ASIDE, "in their commit left an earlier file under its hidden name "
                          "only (this file system has no second names)")):
        count = sum(1 for v in verdicts if any(n.startswith(prefix) for n in v.notes))
        if count:
            print(f"  runs killed {what}: {count}")
        for v in verdicts:
            v.notes = [n for n in v.notes if not n.startswith(prefix)]
    unsound = [v for v in verdicts if v.problems]
    if not unsound:
        print("  all judged sound")
    else:
        print(f"  {len(unsound)} unsound:")
        for v in unsound:
            print(f"    {v.case.label()}: {v.status}: {'; '.join(v.problems)}")
    for v in verdicts:
        for note in v.notes:
            print(f"  note: {v.case.label()}: {v.status}: {note}")
    return len(verdicts) - len(unsound), len(unsound)


def report_durability(reference):
    """Prints what the clean run left undurable; True when nothing."""
    if not reference.durability:
        print("  the clean run synced every file before its new name, and every folder after "
              "its renames")
        return True
    print("  the clean run is not durable:")
    for problem in reference.durability:
        print(f"    {problem}")
    return False


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--binary", default=os.path.join(ROOT, "build", "release", "tornvel"))
    parser.add_argument("--examples", default=os.path.join(ROOT, "examples"))
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--calls", default="", help="only these call kinds, comma-separated")
    parser.add_argument("--scenario", default="", help="only these scenarios (a, b, c)")
    parser.add_argument("--own-files-only", action="store_true",
                        help="fail only calls on the run's own files (kill and interrupt at all)")
    options = parser.parse_args()
    options.binary = os.path.abspath(options.binary)
    options.examples = os.path.abspath(options.examples)
    options.calls = {kind for kind in options.calls.split(",") if kind}
    keys = {key for key in options.scenario.split(",") if key}
    options.scenarios = [s for s in SCENARIOS if not keys or s.key in keys]
    if keys - {s.key for s in SCENARIOS}:
        parser.error("scenarios are a, b and c")
    return options


def strace_works():
    try:
        done = subprocess.run(["strace", "-qq", "-o", "/dev/null", "--", "true"],
                              capture_output=True)
    except FileNotFoundError:
        return False
    return done.returncode == 0


def main():
    options = parse_arguments()
    if not strace_works():
        print("strace is missing or may not trace here: skipped")
        return SKIP
    check_strace_reports_signals(options.binary)
    passed = failed = 0
    with tempfile.TemporaryDirectory(prefix="tornvel-faults-") as work:
        with concurrent.futures.ThreadPoolExecutor(max_workers=options.jobs) as pool:
            for scenario in options.scenarios:
                reference = clean_reference(options.binary, scenario, options.examples, work)
                counts, cases = cases_for(scenario, reference, options.calls,
                                          options.own_files_only)
                verdicts = list(pool.map(
                    lambda case: run_case(options.binary, options.examples, work, reference,
                                          case), cases))
                ok, bad = summarise(scenario, counts, verdicts)
                durable = report_durability(reference)
                passed, failed = passed + ok + durable, failed + bad + (not durable)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
