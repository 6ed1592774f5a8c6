#!/usr/bin/env bash
# Migrates an estate of profiles so that a script can trust the result:
#
#   bash migrate-estate.sh LIST OUT [SWITCH...]
#
# LIST names one profile a line: its product (R5, T5, W5, Y5, TQ, WQ or YQ),
# blanks, then the profile's path, relative to LIST's folder unless it is
# absolute; the rest of the line is the path, blanks inside kept. Empty lines
# and lines starting with # are passed over. The control files, and for -bd
# the advice files, stand in LIST's folder under the names tornvel looks for
# (ZTQPROD.TXT or ZT5PROD.TXT, ZR5PROD.TXT, ZT5_ADVICE.TXT, ...).
#
# 1. Every profile gets a folder of its own, OUT/NAME (NAME is the profile's
#    file name without its extension), made anew on every run: a SQLLIB
#    folder, a copy of the profile and copies of its product's control and
#    advice files. So the template seed files SQLLIB/UR5_ZPX.SQL and the
#    threshold files of two profiles never meet, and a rerun adds no line to
#    an earlier threshold file. Two profiles of one NAME, a line without a
#    profile and a profile that is not there fail here.
# 2. Check every profile, JOBS at a time, in its folder:
#      tornvel --strict --dry-run --summary=OUT/check.jsonl SWITCH... PROFILE PRODUCT
#    A profile that warns or fails does not stop the others.
# 3. Migrate the profiles that passed, JOBS at a time, in their folders:
#      tornvel --strict --summary=OUT/migrate.jsonl SWITCH... PROFILE PRODUCT
#    (--strict again: a profile that changed since its check and now warns
#    still writes nothing).
# 4. Report on standard output: the counts, then each profile that failed,
#    with the reasons its summary line gives (every warning and error, with
#    its kind). Progress goes to standard error.
#
# SWITCH... default to -dh: each folder's threshold file holds a header line
# and the profile's two lines. Each run's console output and standard error
# stay in its folder: check.out, check.err, migrate.out, migrate.err.
# JOBS sets the runs at a time (default 4); TORNVEL the binary (default
# tornvel on PATH). Exit status: 0 every listed profile was migrated; 1 some
# failed, and are listed; 2 the command line, LIST, OUT, tornvel or python3
# could not be used.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: bash migrate-estate.sh LIST OUT [SWITCH...]" >&2
  exit 2
fi
list=$1 out=$2 shown=$2
shift 2
switches=("$@")
[ ${#switches[@]} -gt 0 ] || switches=(-dh)
jobs=${JOBS:-4}
tornvel=${TORNVEL:-tornvel}

fail() {
  echo "migrate-estate.sh: $*" >&2
  exit 2
}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || fail "JOBS must be a whole number above 0, not '$jobs'"
[ -f "$list" ] || fail "no list file '$list'"
command -v python3 >/dev/null || fail "python3 is needed to read the summary lines"
# The runs start in the profiles' folders: a binary named by a path needs it whole.
case $tornvel in
  */*)
    where=$(cd "$(dirname -- "$tornvel")" 2>/dev/null && pwd) || fail "no folder for TORNVEL='$tornvel'"
    tornvel="${where%/}/$(basename -- "$tornvel")"
    ;;
esac
command -v "$tornvel" >/dev/null || fail "no tornvel to run ('$tornvel'; TORNVEL names another)"
mkdir -p -- "$out" || fail "cannot make the folder '$out'"
out=$(cd -- "$out" && pwd)

# Reads the list, makes the folders and reads the summary lines. The summary
# lines of a run's profile are told apart by the profile's name as typed,
# which is its file name in its own folder, so no two profiles may share one.
helper=$(
  cat <<'PYTHON'
import codecs, json, os, shutil, sys

# The codes of each product: the legacy family's names the first control
# file, the new family's the second and the advice file.
CODES = {"T5": ("ZTQ", "ZT5"), "TQ": ("ZTQ", "ZT5"), "W5": ("ZWQ", "ZW5"),
         "WQ": ("ZWQ", "ZW5"), "Y5": ("ZYQ", "ZY5"), "YQ": ("ZYQ", "ZY5"),
         "R5": ("ZR5", "ZR5")}

# The files of the estate's folder and of each profile's folder.
OWN_FILES = ["estate.json", "check.jobs", "migrate.jobs", "check.jsonl", "migrate.jsonl",
             "SQLLIB", "check.out", "check.err", "migrate.out", "migrate.err"]

# The summary line writes each byte that is not UTF-8 as U+FFFD.
codecs.register_error("each_byte", lambda e: ("\ufffd" * (e.end - e.start), e.end))


def summary_name(name):
    return os.fsencode(name).decode("utf-8", "each_byte")


def entries(list_file):
    """The profiles of the list: line number, product, path as listed."""
    with open(list_file, "rb") as listed:
        for number, raw in enumerate(listed, 1):
            line = os.fsdecode(raw.rstrip(b"\r\n")).strip()
            if not line or line.startswith("#"):
                continue
            product, path = (line.split(None, 1) + [""])[:2]
            yield number, product, path.strip()


def prepare(list_file, out):
    """Makes each profile's folder anew; writes the estate and the check jobs."""
    home = os.path.dirname(os.path.abspath(list_file))
    estate, folders, names = [], {}, {}
    for number, product, path in entries(list_file):
        entry = {"line": number, "product": product, "path": path, "problem": None}
        estate.append(entry)
        source = os.path.join(home, path)
        base = os.path.basename(path)
        folder = os.path.splitext(base)[0] or base
        entry.update(folder=folder, profile=base)
        legacy, new = CODES.get(product.upper(), (None, None))
        beside = [f"{legacy}PROD.TXT", f"{new}PROD.TXT", f"{new}_ADVICE.TXT"] if legacy else []
        if not path:
            entry["problem"] = "no profile after the product"
        elif base in ("", ".", ".."):
            entry["problem"] = "the path names no file"
        elif base in OWN_FILES + beside:
            entry["problem"] = f"its name {base} is that of a file the recipe puts beside it"
        elif folder in OWN_FILES:
            entry["problem"] = f"its folder {folder} would be one of the estate's own files"
        elif folder in folders:
            entry["problem"] = f"its folder {folder} is that of line {folders[folder]}"
        elif summary_name(base) in names:
            entry["problem"] = f"its name reads as that of line {names[summary_name(base)]} in a summary line"
        elif not os.path.isfile(source):
            entry["problem"] = f"no profile {source}"
        if entry["problem"]:
            continue
        folders[folder] = names[summary_name(base)] = number
        where = os.path.join(out, folder)
        if os.path.islink(where) or os.path.isfile(where):
            os.unlink(where)
        elif os.path.isdir(where):
            shutil.rmtree(where)
        os.makedirs(os.path.join(where, "SQLLIB"))
        shutil.copyfile(source, os.path.join(where, base))
        for name in beside:
            if os.path.isfile(os.path.join(home, name)):
                shutil.copyfile(os.path.join(home, name), os.path.join(where, name))
    # An earlier run's outputs of a profile that fails here would pass for
    # this run's: its folder goes, unless another profile now has it.
    for entry in estate:
        where = os.path.join(out, entry["folder"])
        if entry["problem"] and entry["folder"] not in set(folders) | {"", ".", ".."} and os.path.isdir(where):
            shutil.rmtree(where)
    with open(os.path.join(out, "estate.json"), "w") as saved:
        json.dump(estate, saved)
    write_jobs(os.path.join(out, "check.jobs"), [e for e in estate if not e["problem"]])
    print(f"{len(estate)} profiles listed", file=sys.stderr)


def write_jobs(path, chosen):
    """One job a profile for xargs -0 -n 3: product, folder, profile."""
    with open(path, "wb") as jobs:
        for e in chosen:
            for field in (e["product"], e["folder"], e["profile"]):
                jobs.write(os.fsencode(field) + b"\0")


def summaries(path):
    """The summary lines of one pass, by profile name as typed."""
    found = {}
    if os.path.exists(path):
        with open(path, encoding="utf-8", errors="replace") as lines:
            for line in lines:
                try:
                    summary = json.loads(line)
                    found[summary["profile"]] = summary
                except (ValueError, KeyError, TypeError):
                    print(f"{path}: a line that is no summary: {line.strip()[:80]}", file=sys.stderr)
    return found


def load(out):
    with open(os.path.join(out, "estate.json")) as saved:
        return json.load(saved)


def passed(out):
    """Writes the jobs of the profiles whose check ended with 0."""
    checked = summaries(os.path.join(out, "check.jsonl"))
    good = [e for e in load(out) if not e["problem"]
            and checked.get(summary_name(e["profile"]), {}).get("exit") == 0]
    write_jobs(os.path.join(out, "migrate.jobs"), good)
    print(f"{len(good)} profiles passed the check", file=sys.stderr)


def reasons(summary):
    """The warning and error lines of a run, each with its kind."""
    told = [f"{d.get('kind')}: {d.get('message')}"
            for d in summary.get("warnings", []) + summary.get("errors", [])]
    return told or [f"exit status {summary.get('exit')}"]


def fate(entry, shown, checked, migrated):
    """None for a migrated profile, else (pass, reasons)."""
    if entry["problem"]:
        return "list", [entry["problem"]]
    name = summary_name(entry["profile"])
    for stage, lines in (("check", checked), ("migration", migrated)):
        summary = lines.get(name)
        if summary is None:
            err = os.path.join(shown, entry["folder"], ("check" if stage == "check" else "migrate") + ".err")
            return stage, [f"no summary line; its standard error is in {err}"]
        if summary.get("exit") != 0:
            return f"{stage}, exit {summary.get('exit')}", reasons(summary)
    return None


def report(out, shown):
    """Prints the counts and the failures, with folders as OUT was given."""
    estate = load(out)
    checked = summaries(os.path.join(out, "check.jsonl"))
    migrated = summaries(os.path.join(out, "migrate.jsonl"))
    failed = [(e, fate(e, shown, checked, migrated)) for e in estate]
    failed = [(e, f) for e, f in failed if f]
    print(f"{len(estate)} profiles listed, {len(estate) - len(failed)} migrated, {len(failed)} failed")
    print(f"each in its folder under {shown}; summary lines in check.jsonl and migrate.jsonl there")
    if failed:
        print("failed:")
    for entry, (stage, told) in failed:
        print(f"  line {entry['line']}: {' '.join(filter(None, (entry['path'], '(' + entry['product'] + ')')))}, {stage}:")
        for reason in told:
            print(f"    {reason}")
    return 1 if failed else 0


step = sys.argv[1]
if step == "prepare":
    prepare(sys.argv[2], sys.argv[3])
elif step == "passed":
    passed(sys.argv[2])
else:
    sys.exit(report(sys.argv[2], sys.argv[3]))
PYTHON
)

# Runs tornvel on every job of OUT/PASS.jobs, JOBS at a time, each in its
# profile's folder; a run that fails is told by its summary line, so the
# worker always ends with 0 and xargs goes on.
run_pass() {
  local pass=$1
  shift
  rm -f -- "$out/$pass.jsonl"
  [ -s "$out/$pass.jobs" ] || return 0
  xargs -0 -n 3 -P "$jobs" bash -c '
    tornvel=$1 out=$2 pass=$3
    shift 3
    # The options first, then the job: product, folder, profile.
    product=${*: -3:1} folder=${*: -2:1} profile=${*: -1:1}
    options=("${@:1:$# - 3}")
    cd "$out/$folder" || exit 0
    "$tornvel" "${options[@]}" --summary="$out/$pass.jsonl" "$profile" "$product" \
      >"$pass.out" 2>"$pass.err" || true
  ' worker "$tornvel" "$out" "$pass" "$@" "${switches[@]}" <"$out/$pass.jobs"
}

rm -f -- "$out/check.jsonl" "$out/migrate.jsonl" "$out/check.jobs" "$out/migrate.jobs"
python3 -c "$helper" prepare "$list" "$out" || fail "the list could not be read, or a folder not made"
echo "checking, $jobs at a time: tornvel --strict --dry-run ${switches[*]}" >&2
run_pass check --strict --dry-run
python3 -c "$helper" passed "$out"
echo "migrating, $jobs at a time: tornvel --strict ${switches[*]}" >&2
run_pass migrate --strict
python3 -c "$helper" report "$out" "$shown"
