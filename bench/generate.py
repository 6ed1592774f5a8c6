#!/usr/bin/env python3
"""Writes large, realistic benchmark inputs for the four products.

For each product a control file and one exported profile per requested size
are written into OUTDIR:

  ZT5PROD.TXT  t5-<lines>.txt   database product, plain threshold list
  ZWQPROD.TXT  w5-<lines>.txt   transaction product, numbered records
  ZYQPROD.TXT  y5-<lines>.txt   IMS product, threshold statements + synonyms
  ZR5PROD.TXT  r5-<lines>.txt   system product, sectioned export + WLM rows

Control files hold 512 definitions (400 for R5, whose profile adds 100
service-class definitions, so the table stays below its limit of 512). About
half of every profile's lines carry a threshold of a defined exception; the
rest are exceptions the control file does not know, comments, headers and
other records that the readers pass over.

The T5 control file uses only the short "NAME,TABLE.COLUMN" form and the T5
profile only numeric values, so that the plain-list peer script in
shared/bench produces exactly the statements the tool produces.

Output is deterministic for a given seed and size. Standard library only.

  generate.py OUTDIR                      # 1,000,000-line profiles
  generate.py OUTDIR --lines 100000 1000000 --double
                                          # 100k, 1M and 2M-line profiles
"""

import argparse
import os
import random
import sys

# Bump when the generated content changes, so cached inputs are rebuilt.
FORMAT_VERSION = "2"

PRODUCTS = ("t5", "w5", "y5", "r5")

CONTROL_NAMES = {
    "t5": "ZT5PROD.TXT",
    "w5": "ZWQPROD.TXT",
    "y5": "ZYQPROD.TXT",
    "r5": "ZR5PROD.TXT",
}

# Quillmark attribute tables and columns per product (table.column).
ATTRIBUTES = {
    "t5": (["DBLOCKS", "BUFPOOL", "SORTHEAP", "LOGSPACE", "CONNECTS", "TBSPACE", "APPLSTAT",
            "DBSTATUS"],
           ["WAITTIME", "HITRATIO", "OVERFLOWS", "USEDPCT", "ACTIVE", "FREEPAGES", "DEADLOCKS",
            "ESCALATIONS", "TIMEOUTS", "ROWSREAD"]),
    "w5": (["TXNREGN", "TXNSTOR", "TXNFILE", "TXNTASK", "TXNQUEUE", "TXNDUMP"],
           ["MAXTASKS", "SOSCOUNT", "STRINGWAIT", "ACTIVE", "DEPTH", "PCTUSED", "WAITS",
            "RESPTIME"]),
    "y5": (["IMSREGN", "IMSPOOL", "IMSDBS", "IMSQUEUE", "IMSLOG", "IMSLOCK"],
           ["OCCUPANCY", "WAITPCT", "DEPTH", "BUFFHITS", "CONFLICTS", "CHECKPTS", "ELAPSED",
            "TRANRATE"]),
    "r5": (["SYSCPU", "SYSPAGE", "SYSCSA", "SYSENQ", "SYSCHAN", "SYSJOB", "SYSDASD"],
           ["BUSYPCT", "RATE", "USEDPCT", "WAITERS", "QUEUED", "STALLED", "RESPTIME",
            "UTILPCT"]),
}

# Stems of exception names; a stem plus a number is at most 8 characters.
STEMS = {
    "t5": ["LKWT", "BPHR", "SRTO", "LOGU", "CONA", "TBSF", "DLCK", "ESCL"],
    "w5": ["MXTK", "SOSC", "STRW", "TSKA", "QDEP", "STPU", "FWAI", "RSPT"],
    "y5": ["OCCP", "WTPC", "QDPT", "BFHT", "CNFL", "CKPT", "ELAP", "TRRT"],
    "r5": ["CPUB", "PGRT", "CSAU", "ENQW", "CHNQ", "JOBS", "DSDR", "UTIL"],
}

# Stems of exception names that no control file defines.
UNKNOWN_STEMS = ["OLDX", "RETR", "OBSL", "TEMP", "XTRA", "NOTU"]


def definition_names(product, count):
    stems = STEMS[product]
    return ["%s%04d" % (stems[i % len(stems)], i) for i in range(count)]


def unknown_name(rng):
    return "%s%04d" % (rng.choice(UNKNOWN_STEMS), rng.randrange(10000))


def attribute(product, rng):
    tables, columns = ATTRIBUTES[product]
    return "%s.%s" % (rng.choice(tables), rng.choice(columns))


def switched_off(names):
    """The exceptions whose profile values are sometimes on/off words.

    A definition switched off stays off for the rest of the run, so only a fixed
    tenth of the names gets such words; in a long profile every name is met many
    times, and the others must still give statements.
    """
    return set(names[::10])


def threshold_pair(rng):
    warning = rng.randrange(10, 900)
    critical = warning + rng.randrange(1, 100)
    return warning, critical


# ---------------------------------------------------------------------------
# Control files


def write_t5_control(path, rng):
    # Only "NAME,TABLE.COLUMN": type I, default situations and operators, the
    # form the peer script understands as well.
    names = definition_names("t5", 512)
    with open(path, "w", newline="\n") as out:
        out.write("* Database product: migratable exceptions\n")
        out.write("* Exception,Attribute\n")
        for i, name in enumerate(names):
            if i % 64 == 0:
                out.write("* Group %d\n" % (i // 64))
            out.write("%s,%s\n" % (name, attribute("t5", rng)))
    return names


def varied_definition(product, name, rng, index):
    """A definition line in one of the forms the control file allows."""
    attr = attribute(product, rng)
    form = index % 8
    if form == 0:
        return "%s,%s" % (name, attr)
    if form == 1:
        return "%s,%s,I,~,~,*GE,~,*GE,~,*LT" % (name, attr)
    if form == 2:
        return "%s,%s,I2,~,~,*GE,~,*GE,~,*LT" % (name, attr)
    if form == 3:
        return "%s,%s,F,~,~,*GT,~,*GT,~,*LE" % (name, attr)
    if form == 4:
        return "%s,%s,I,~,~,*GE,~,*GE,~,*LT,~,~,2" % (name, attr)
    if form == 5:
        return "%s,%s,I1" % (name, attr)
    if form == 6:
        # Named situations of the product's own naming.
        return "%s,%s,I,%s_%s_Warn,%s_%s_Crit,*GE,~,*GE,~,*LT" % (
            name, attr, product.upper(), name, product.upper(), name)
    return "%s,%s,B,~,~,*EQ,Y,*EQ,Y" % (name, attr)


def write_varied_control(path, product, count, rng, synonyms=()):
    names = definition_names(product, count)
    with open(path, "w", newline="\n") as out:
        out.write("* Migratable exceptions\n")
        out.write(":RELEASE V130\n")
        for group, members in synonyms:
            out.write(":SYNONYM H %s,%s\n" % (group, ",".join(members)))
        for i, name in enumerate(names):
            if i % 64 == 0:
                out.write("* Group %d\n" % (i // 64))
            out.write(varied_definition(product, name, rng, i) + "\n")
    return names


# ---------------------------------------------------------------------------
# Profiles: each writer takes the target line count and stops at or just past
# it, closing whatever structure is open.


def write_t5_profile(path, names, lines, rng):
    written = 0
    with open(path, "w", newline="\n") as out:
        out.write("* Exported threshold list\n")
        written += 1
        while written < lines:
            roll = rng.random()
            if roll < 0.5:
                warning, critical = threshold_pair(rng)
                sep = rng.choice((" ", " ", " ", ","))
                out.write("%s %d%s%d\n" % (rng.choice(names), warning, sep, critical))
            elif roll < 0.85:
                warning, critical = threshold_pair(rng)
                out.write("%s %d %d\n" % (unknown_name(rng), warning, critical))
            elif roll < 0.95:
                out.write("* %s\n" % rng.choice(("thresholds reviewed", "site default",
                                                  "changed by operations", "")))
            else:
                out.write("%s %d\n" % (unknown_name(rng), rng.randrange(100)))
            written += 1


def write_w5_profile(path, names, lines, rng):
    written = 0
    with open(path, "w", newline="\n") as out:
        out.write("1TXN PROFILE EXPORT\n")
        out.write("2REGION PRODTXN1\n")
        written += 2
        while written < lines:
            roll = rng.random()
            if roll < 0.55:
                name = rng.choice(names)
            elif roll < 0.9:
                name = unknown_name(rng)
            else:
                out.write(rng.choice(("3COMMENT reviewed\n", "* site defaults\n",
                                      "6END OF GROUP\n")))
                written += 1
                continue
            warning, critical = threshold_pair(rng)
            decimals = rng.choice(("", "", "00", "5"))
            out.write("4THR_NAME\n5EXC%s\n" % name)
            out.write("4THR_DESC\n5Threshold of %s\n" % name)
            out.write("4THR_WARN\n5%d.%s\n" % (warning, decimals))
            out.write("4THR_CRIT\n5%d.%s\n" % (critical, decimals))
            written += 8


def write_y5_profile(path, names, members, lines, rng):
    switched = switched_off(names)
    written = 0
    with open(path, "w", newline="\n") as out:
        out.write("* IMS threshold statements\n")
        written += 1
        while written < lines:
            roll = rng.random()
            if roll < 0.45:
                name = rng.choice(names)
            elif roll < 0.5:
                name = rng.choice(members)
            elif roll < 0.85:
                name = unknown_name(rng)
            elif roll < 0.95:
                out.write(rng.choice(("* reviewed by operations\n", "SETOPT TRACE=OFF\n",
                                      "  * site default\n", "\n")))
                written += 1
                continue
            else:
                out.write("THR%s 0 90\n" % unknown_name(rng))
                written += 1
                continue
            warning, critical = threshold_pair(rng)
            if name in switched and rng.random() < 0.2:
                text = "N/A N/A"
            elif rng.random() < 0.3:
                text = "%d,%d" % (critical, warning)
            else:
                text = "%d %d" % (critical, warning)
            out.write("THR%s %d %s\n" % (name, rng.randrange(10), text))
            written += 1


def write_r5_profile(path, names, lines, rng, wlm_rows=100):
    switched = switched_off(names)
    written = 0
    row_id = 0
    with open(path, "w", newline="\n") as out:
        def emit(text):
            nonlocal written
            out.write(text)
            written += 1

        emit("* System profile export\n")
        emit("Begin Profile SYSPROF1\n")
        section = 0
        wlm_done = False
        while written < lines:
            section += 1
            emit("Begin Section SECT%02d\n" % section)
            for table in range(rng.randrange(2, 6)):
                if not wlm_done and section == 2:
                    # The workload table: one service class and period per row.
                    emit("Begin Table PR.WLM\n")
                    for row in range(wlm_rows):
                        emit("Begin Row\n")
                        emit(" ID(%d)\n" % row)
                        emit(" PRWLMSC('CLASS%03d')\n" % (row // 3))
                        emit(" PRWLMPD(%d)\n" % (row % 3 + 1))
                        emit(" PRWLMWI(%d)\n" % rng.randrange(100, 200))
                        emit(" PRWLMCI(%d)\n" % rng.randrange(200, 300))
                        emit(" PRWLMWO(%d)\n" % rng.randrange(100, 600))
                        emit(" PRWLMCO(%d)\n" % rng.randrange(600, 990))
                        emit(" PRWLMWS(%d)\n" % rng.randrange(500, 1200))
                        emit(" PRWLMCS(%d)\n" % rng.randrange(1200, 1500))
                        emit(" PRWLMWC(%d)\n" % rng.randrange(500, 900))
                        emit(" PRWLMCC(%d)\n" % rng.choice((950, 1000)))
                        if row % 4:
                            emit(" PRWLMBS(%s)\n" % rng.choice(("ON", "OFF", "80")))
                        emit("End Row\n")
                    emit("End Table\n")
                    wlm_done = True
                    continue
                table_name = rng.choice(("CPUMON", "PAGING", "CSAMON", "ENQMON", "CHANNELS",
                                         "JOBMON", "DASDMON", "TRENDS", "STORAGE"))
                emit("Begin Table PR.%s\n" % table_name)
                for row in range(rng.randrange(20, 60)):
                    row_id += 1
                    emit("Begin Row\n")
                    emit(" ID(%d)\n" % row_id)
                    emit(" NAME('%s row %d')\n" % (table_name.lower(), row_id))
                    for column in range(rng.randrange(2, 8)):
                        warning, critical = threshold_pair(rng)
                        if rng.random() < 0.78:
                            name = rng.choice(names)
                        else:
                            name = unknown_name(rng)
                        if name in switched and rng.random() < 0.2:
                            warn_text, crit_text = rng.choice((("on", "off"), ("OFF", "ON")))
                        else:
                            warn_text, crit_text = str(warning), str(critical)
                        emit(" %sW(%s)\n" % (name, warn_text))
                        emit(" %sC(%s)\n" % (name, crit_text))
                        if rng.random() < 0.1:
                            emit(" %sD('description')\n" % name)
                    emit("End Row\n")
                    if written >= lines:
                        break
                emit("End Table\n")
                if written >= lines:
                    break
            emit("End Section\n")
        emit("End Profile\n")


# ---------------------------------------------------------------------------


def generate(outdir, products, sizes, seed):
    os.makedirs(outdir, exist_ok=True)
    for product in products:
        rng = random.Random("%s-control-%d" % (product, seed))
        control = os.path.join(outdir, CONTROL_NAMES[product])
        members = []
        if product == "t5":
            names = write_t5_control(control, rng)
        elif product == "y5":
            # Twelve synonym groups: each names a defined exception and three
            # member exceptions that only the group knows.
            all_names = definition_names("y5", 512)
            groups = []
            for g in range(12):
                group = all_names[g * 40]
                group_members = ["SYN%02d%s" % (g, chr(ord("A") + k)) for k in range(3)]
                members.extend(group_members)
                groups.append((group, group_members))
            names = write_varied_control(control, "y5", 512, rng, synonyms=groups)
        elif product == "r5":
            names = write_varied_control(control, "r5", 400, rng)
        else:
            names = write_varied_control(control, product, 512, rng)
        for lines in sizes:
            rng = random.Random("%s-profile-%d-%d" % (product, lines, seed))
            path = os.path.join(outdir, "%s-%d.txt" % (product, lines))
            if product == "t5":
                write_t5_profile(path, names, lines, rng)
            elif product == "w5":
                write_w5_profile(path, names, lines, rng)
            elif product == "y5":
                write_y5_profile(path, names, members, lines, rng)
            else:
                write_r5_profile(path, names, lines, rng)
            print("wrote %s" % path)
    with open(os.path.join(outdir, "VERSION"), "w") as stamp:
        stamp.write("%s %d %s\n" % (FORMAT_VERSION, seed, " ".join(str(s) for s in sizes)))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("outdir", help="directory that receives the inputs")
    parser.add_argument("--lines", type=int, nargs="+", default=[1000000],
                        help="profile sizes in lines (default 1000000)")
    parser.add_argument("--double", action="store_true",
                        help="also write profiles of twice the largest size")
    parser.add_argument("--products", default=",".join(PRODUCTS),
                        help="comma-separated subset of t5,w5,y5,r5")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    args = parser.parse_args(argv)
    sizes = sorted(set(args.lines))
    if args.double:
        sizes.append(2 * sizes[-1])
    products = [p.strip().lower() for p in args.products.split(",") if p.strip()]
    for product in products:
        if product not in PRODUCTS:
            parser.error("unknown product %r" % product)
    if any(size < 100 for size in sizes):
        parser.error("profiles need at least 100 lines")
    generate(args.outdir, products, sizes, args.seed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
