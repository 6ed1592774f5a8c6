"""Runs the examples of the README and of the manual pages, and compares what
they write with the text the pages show.

    python3 doc_examples.py TORNVEL scripts/run-example.sh README.md doc/tornvel.1 doc/tornvel.5

An example is a set of blocks, each preceded by a marker line that names the
example and says what the block is:

    <!-- example NAME: file FILE -->          (README; the next ``` block)
    .\\" example NAME: file FILE              (manual page; the next .nf/.fi block)

    file FILE         an input the example writes before it runs
    run               the command lines, run with sh in the example's folder
    output FILE       the whole content of FILE after the run
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
name the binary that scripts/run-example.sh builds.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

KINDS = r"(file|run|output|begins|statements|copy|shell|exists|absent)"
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


def run_example(tornvel, top, page, name, blocks):
    """Runs one example; returns the faults found."""
    faults = []
    checks = [b for b in blocks if b[0] in ("output", "begins", "statements", "exists", "absent")]
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
                done = subprocess.run(["sh", "-e", "-c", command], cwd=folder, env=env,
                                      capture_output=True, text=True)
                if done.returncode != 0:
                    faults.append(f"{where}: exit code {done.returncode}\n{done.stdout}{done.stderr}")
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
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
