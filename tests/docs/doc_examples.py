"""Runs the examples of the README and of the manual pages, and compares what
they write with the text the pages show.

    python3 doc_examples.py TORNVEL scripts/run-example.sh README.md doc/tornvel.1 doc/tornvel.5

An example is a set of blocks, each preceded by a marker line that names the
example and says what the block is:

    <!-- example NAME: file FILE -->          (README; the next ``` block)
    .\\" example NAME: file FILE              (manual page; the next .nf/.fi block)

    file FILE         an input the example writes before it runs
    run [STATUS]      the command lines, run with sh in the example's folder;
                      they end with STATUS (default 0)
    output FILE       the whole content of FILE after the run
    json FILE         FILE's lines after the run, each a JSON object equal to
                      the block's line (the members in the same order)
    begins FILE       the first lines of FILE after the run
    statements FILE   the statements of FILE, one a line, as a loader joins
                      them: the lines of a statement (at most 72 characters
                      each) joined with nothing between them, up to an empty line

and, without a block (what the page says around the example in words):

    copy DIR          copies the repository's folder DIR into the example's
    shell COMMAND     runs COMMAND with sh, to set up the folder
    exists FILE       FILE exists after the run and is not empty
    absent FILE       FILE does not exist after the run

Each example runs in an empty folder of its own that has a SQLLIB folder, with
the tornvel under test first on PATH. The example READMEs under examples/ must
name the binary that scripts/run-example.sh builds. The estate recipe of
examples/estate runs twice, before and after its failing profile is fixed
(estate_recipe_faults).
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

KINDS = r"(file|run|output|begins|statements|json|copy|shell|exists|absent)"
README_MARK = re.compile(r"^<!-- example ([\w-]+): " + KINDS + r"(?: (.+?))? -->$")
MAN_MARK = re.compile(r'^\.\\" example ([\w-]+): ' + KINDS + r"(?: (.+))?$")
BLOCKLESS = ("copy", "shell", "exists", "absent")
ROFF_ESCAPES = [("\\&", ""), ("\\-", "-"), ("\\(aq", "'"), ("\\(dq", '"'), ("\\(ti", "~"), ("\\e", "\\")]


def marked_blocks(lines, mark_pattern, opens, closes, unescape):
    """(name, kind, argument, text) of every marked block of a page: the lines
    between the first line after the mark that `opens` a block and the next
    line that `closes` it."""
    for i, line in enumerate(lines):
        mark = mark_pattern.match(line)
        if not mark:
            continue
        if mark.group(2) in BLOCKLESS:
            yield mark.groups() + ("",)
            continue
        start = i + 1
        while not opens(lines[start]):
            start += 1
        end = start + 1
        while not closes(lines[end]):
            end += 1
        yield mark.groups() + ("".join(unescape(l) + "\n" for l in lines[start + 1 : end]),)


def readme_blocks(lines):
    """The marked blocks of a Markdown page: fenced code."""
    return marked_blocks(lines, README_MARK, lambda l: l.startswith("```"),
                         lambda l: l == "```", lambda l: l)


def unroff(line):
    for escape, plain in ROFF_ESCAPES:
        line = line.replace(escape, plain)
    return line


def man_blocks(lines):
    """The marked blocks of a manual page: .nf to .fi, roff escapes undone."""
    return marked_blocks(lines, MAN_MARK, lambda l: l == ".nf", lambda l: l == ".fi", unroff)


def statements(text):
    """The statements of a statement file: lines joined up to an empty line."""
    found, current = [], ""
    for line in text.split("\n"):
        if line:
            current += line
        elif current:
            found.append(current)
            current = ""
    if current:
        found.append(current)
    return found


def json_lines(text):
    """Each line of a text as a JSON value whose objects keep their members'
    order; a line that is no JSON stays as it is, so it never compares equal
    to one that is."""
    found = []
    for line in text.splitlines():
        try:
            found.append(json.loads(line, object_pairs_hook=list))
        except ValueError:
            found.append(("not JSON", line))
    return found


def run_example(tornvel, top, page, name, blocks):
    """Runs one example; returns the faults found."""
    faults = []
    checks = [b for b in blocks if b[0] in ("output", "begins", "statements", "json", "exists", "absent")]
    if not any(b[0] == "run" for b in blocks) or not checks:
        return [f"{page}: example {name} has no run or nothing to compare"]
    env = dict(os.environ, PATH=os.path.dirname(tornvel) + os.pathsep + os.environ["PATH"])
    with tempfile.TemporaryDirectory() as folder:
        os.mkdir(os.path.join(folder, "SQLLIB"))
        for kind, argument, text in blocks:
            where = f"{page}: example {name}, {kind} {argument or ''}".rstrip()
            path = os.path.join(folder, argument) if argument else None
            if kind == "file":
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w", encoding="utf-8", newline="") as out:
                    out.write(text)
            elif kind == "copy":
                shutil.copytree(os.path.join(top, argument), folder, dirs_exist_ok=True)
            elif kind in ("run", "shell"):
                command = text if kind == "run" else argument
                expected = int(argument) if kind == "run" and argument else 0
                done = subprocess.run(["sh", "-e", "-c", command], cwd=folder, env=env,
                                      capture_output=True, text=True)
                if done.returncode != expected:
                    faults.append(f"{where}: exit code {done.returncode}, not {expected}\n{done.stdout}{done.stderr}")
            elif kind == "absent":
                if os.path.lexists(path):
                    faults.append(f"{where}: the run wrote {argument}")
            elif kind == "exists":
                if not os.path.isfile(path) or os.path.getsize(path) == 0:
                    faults.append(f"{where}: the run wrote no {argument}, or an empty one")
            else:
                if not os.path.exists(path):
                    faults.append(f"{where}: the run wrote no {argument}")
                    continue
                with open(path, encoding="utf-8", newline="") as written_file:
                    written = written_file.read()
                if kind == "output":
                    ok = written == text
                elif kind == "json":
                    ok = json_lines(written) == json_lines(text)
                elif kind == "begins":
                    ok = written.startswith(text)
                else:
                    ok = statements(written) == text.splitlines()
                if not ok:
                    faults.append(f"{where}: the file differs from the page\n--- page\n{text}--- file\n{written}")
    return faults


def example_readmes_name_the_built_binary(script, examples):
    """The example READMEs run the binary that run-example.sh builds."""
    built = re.search(r'"\$root/(build/[\w/]+/tornvel)"', open(script).read())
    if not built:
        return [f"{script}: no $root/build/.../tornvel found"]
    faults = []
    for product in sorted(os.listdir(examples)):
        readme = os.path.join(examples, product, "README.md")
        if not os.path.isfile(readme):
            continue
        named = set(re.findall(r"\.\./\.\./(build/\S*tornvel)\b", open(readme).read()))
        if named != {built.group(1)}:
            faults.append(f"{readme}: runs {sorted(named)}, run-example.sh builds {built.group(1)}")
    return faults


# What the estate recipe leaves: each profile's threshold file (-dh: a header
# line and the profile's two lines, once however often the recipe runs).
ESTATE_THRESHOLDS = {
    "SALES DB/SQLLIB/ZT5_CDF.TXT":
        "ZT5,Threshold,LOCKWAIT,LOGFULL\nSALES DB.TXT,Critical,200,95.0\nSALES DB.TXT,Warning,50,80.0\n",
    "SYSA/SQLLIB/ZR5_CDF.TXT":
        "ZR5,Threshold,CPUBUSY,CSAPCT,SVCL\nSYSA.TXT,Critical,95,90.0,\nSYSA.TXT,Warning,85,80.0,\n",
    "SYSB/SQLLIB/ZR5_CDF.TXT":
        "ZR5,Threshold,CPUBUSY,CSAPCT,SVCL\nSYSB.TXT,Critical,90,90.0,\nSYSB.TXT,Warning,80,80.0,\n",
    "TXPROD/SQLLIB/ZW5_CDF.TXT":
        "ZW5,Threshold,RESPTIME,TRANRATE\nTXPROD.TXT,Critical,250,800\nTXPROD.TXT,Warning,150,500\n",
}
ORDERS_THRESHOLDS = "ZT5,Threshold,LOCKWAIT,LOGFULL\nORDERS.TXT,Critical,200,97.0\nORDERS.TXT,Warning,50,85.0\n"
ESTATE_FIRST_REPORT = """5 profiles listed, 4 migrated, 1 failed
each in its folder under out; summary lines in check.jsonl and migrate.jsonl there
failed:
  line 4: profiles/ORDERS.TXT (T5), check, exit 24:
    not-a-number: ORDERS.TXT line 2: LOCKWAIT warning value 5O is not a number; the statement compares with it as it stands
"""


def estate_recipe_faults(tornvel, top):
    """Runs examples/estate/migrate-estate.sh with its failing profile, then
    again after the profile is fixed, and judges the report, the summary
    lines and every profile's folder."""
    faults = []
    env = dict(os.environ, PATH=os.path.dirname(tornvel) + os.pathsep + os.environ["PATH"])
    with tempfile.TemporaryDirectory() as folder:
        estate = os.path.join(folder, "estate")
        shutil.copytree(os.path.join(top, "examples", "estate"), estate)
        out = os.path.join(estate, "out")

        def run(jobs):
            return subprocess.run(["bash", "migrate-estate.sh", "estate.txt", "out"], cwd=estate,
                                  env=dict(env, JOBS=str(jobs)), capture_output=True, text=True)

        def read(path):
            if not os.path.isfile(os.path.join(out, path)):
                return None
            with open(os.path.join(out, path), encoding="utf-8", newline="") as opened:
                return opened.read()

        def summaries(name):
            lines = [json.loads(line, object_pairs_hook=dict) for line in (read(name) or "").splitlines()]
            return {line["profile"]: line for line in lines}, lines

        first = run(3)
        if first.returncode != 1 or first.stdout != ESTATE_FIRST_REPORT:
            faults.append(f"estate: first run ended with {first.returncode}, reported\n{first.stdout}{first.stderr}")
        checked, lines = summaries("check.jsonl")
        if len(lines) != 5 or set(checked) != {"SALES DB.TXT", "ORDERS.TXT", "SYSA.TXT", "SYSB.TXT", "TXPROD.TXT"}:
            faults.append(f"estate: check.jsonl holds {len(lines)} lines for {sorted(checked)}")
        for name, line in checked.items():
            if list(line)[:2] != ["format", "version"] or not (line["dryRun"] and line["strict"]):
                faults.append(f"estate: the check of {name} was no strict dry run: {line}")
            if line["exit"] != (24 if name == "ORDERS.TXT" else 0):
                faults.append(f"estate: the check of {name} ended with {line['exit']}")
        migrated, lines = summaries("migrate.jsonl")
        if len(lines) != 4 or "ORDERS.TXT" in migrated or any(l["dryRun"] or l["exit"] for l in lines):
            faults.append(f"estate: migrate.jsonl holds {lines}")
        if os.listdir(os.path.join(out, "ORDERS", "SQLLIB")):
            faults.append("estate: the profile that failed its check has outputs")
        for path, text in ESTATE_THRESHOLDS.items():
            if read(path) != text:
                faults.append(f"estate: {path} holds\n{read(path)}")
        for path, service_class in (("SYSA/SQLLIB/UR5_ZPX.SQL", "BATCHP1"), ("SYSB/SQLLIB/UR5_ZPX.SQL", "ONLINEP1")):
            rows = (read(path) or "").splitlines()
            if len(rows) != 4 or not all(f"_{service_class}_" in row for row in rows):
                faults.append(f"estate: {path} is not {service_class}'s alone:\n{read(path)}")

        orders = os.path.join(estate, "profiles", "ORDERS.TXT")
        with open(orders) as profile:
            fixed = profile.read().replace("5O", "50")
        with open(orders, "w") as profile:
            profile.write(fixed)
        again = run(2)
        if again.returncode != 0 or not again.stdout.startswith("5 profiles listed, 5 migrated, 0 failed\n"):
            faults.append(f"estate: rerun ended with {again.returncode}, reported\n{again.stdout}{again.stderr}")
        if len(summaries("check.jsonl")[1]) != 5 or len(summaries("migrate.jsonl")[1]) != 5:
            faults.append("estate: the rerun's summary files do not hold one line a profile")
        for path, text in dict(ESTATE_THRESHOLDS, **{"ORDERS/SQLLIB/ZT5_CDF.TXT": ORDERS_THRESHOLDS}).items():
            if read(path) != text:
                faults.append(f"estate: after the rerun {path} holds\n{read(path)}")
    return faults


def main(tornvel, script, readme, *manuals):
    faults = []
    top = os.path.join(os.path.dirname(os.path.abspath(script)), "..")
    pages = [(readme, readme_blocks)] + [(manual, man_blocks) for manual in manuals]
    for page, reader in pages:
        lines = open(page, encoding="utf-8").read().split("\n")
        examples = {}
        for name, kind, argument, text in reader(lines):
            examples.setdefault(name, []).append((kind, argument, text))
        if not examples:
            faults.append(f"{page}: no marked example")
        for name, blocks in examples.items():
            faults += run_example(os.path.abspath(tornvel), top, page, name, blocks)
        print(f"{page}: {len(examples)} examples")
    faults += example_readmes_name_the_built_binary(script, os.path.join(top, "examples"))
    faults += estate_recipe_faults(os.path.abspath(tornvel), top)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
