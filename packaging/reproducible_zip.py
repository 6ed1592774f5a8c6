"""Writes a .zip of a folder's files with nothing in it that depends on the
build: entries sorted by name, every entry stamped with one time (given in
seconds since 1970, written as UTC), permissions rw-r--r-- or rwxr-xr-x, and no
extra fields (libarchive's add the files' access and change times).

    python3 reproducible_zip.py ARCHIVE FOLDER SECONDS
"""
import os
import sys
import time
import zipfile


def main(archive, folder, seconds):
    stamp = time.gmtime(max(int(seconds), 315532800))[:6]  # a zip time starts in 1980
    names = []
    for top, _, files in os.walk(folder):
        names += [os.path.relpath(os.path.join(top, f), folder) for f in files]
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as out:
        for name in sorted(n.replace(os.sep, "/") for n in names):
            path = os.path.join(folder, name)
            entry = zipfile.ZipInfo(name, stamp)
            entry.create_system = 3  # permissions in Unix form
            mode = 0o755 if os.stat(path).st_mode & 0o100 else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as data:
                out.writestr(entry, data.read(), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
