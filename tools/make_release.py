#!/usr/bin/env python3
"""Packs the laid-out program into the archives a user downloads.

  make_release.py [--dist DIST] [--out DIR]

Writes Quorvan-<version>-win64.zip and -win32.zip (each the folder DIST/<arch> under a top folder
Quorvan-<version>) and SHA256SUMS (as sha256sum writes it) into DIR, by default DIST. The version
comes from VERSION and must be the one the built Quorvan.exe carries. The archives are reproducible:
names in sorted order, every entry dated with the last commit's time (or SOURCE_DATE_EPOCH), fixed
permissions and compression, so two runs from one commit give the same bytes.
"""
import argparse
import hashlib
import os
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import versioninfo  # noqa: E402

ARCHES = ("win64", "win32")
UNIX = 3  # the "made by" system: the permission bits below are Unix ones
FILE_MODE, FOLDER_MODE = 0o100644, 0o040755
EARLIEST_ZIP_TIME = 315532800  # 1980-01-01, the first time a zip entry can hold


def version():
    with open(os.path.join(ROOT, "VERSION")) as f:
        return f.read().strip()


def release_time():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    return int(commit.stdout.strip()) if commit.returncode == 0 and commit.stdout.strip() else EARLIEST_ZIP_TIME


def entries(folder):
    """Every folder and file under folder as (relative path with a trailing slash for folders), sorted."""
    found = []
    for parent, folders, files in os.walk(folder):
        relative = os.path.relpath(parent, folder)
        prefix = "" if relative == "." else relative.replace(os.sep, "/") + "/"
        found += [prefix + name + "/" for name in folders] + [prefix + name for name in files]
    return sorted(found)


def pack(folder, top, archive, seconds):
    stamp = time.gmtime(max(seconds, EARLIEST_ZIP_TIME))[:6]
    with zipfile.ZipFile(archive, "w") as out:
        for name in [""] + entries(folder):
            info = zipfile.ZipInfo(top + "/" + name, date_time=stamp)
            info.create_system = UNIX
            if name == "" or name.endswith("/"):
                info.external_attr = FOLDER_MODE << 16 | 0x10  # and the MS-DOS folder bit
                out.writestr(info, b"")
            else:
                info.external_attr = FILE_MODE << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(os.path.join(folder, name), "rb") as f:
                    out.writestr(info, f.read(), compresslevel=9)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dist", default=os.environ.get("QV_DIST", os.path.join(ROOT, "dist")))
    parser.add_argument("--out")
    options = parser.parse_args()
    out = options.out or options.dist
    os.makedirs(out, exist_ok=True)
    release, seconds = version(), release_time()
    sums = []
    for arch in ARCHES:
        folder = os.path.join(options.dist, arch)
        with open(os.path.join(folder, "Quorvan.exe"), "rb") as f:
            built = versioninfo.read_version(f.read()).get("ProductVersion")
        if built != release:
            sys.exit("release: %s/Quorvan.exe carries version %s, VERSION says %s (make dist)" % (folder, built, release))
        name = "Quorvan-%s-%s.zip" % (release, arch)
        pack(folder, "Quorvan-" + release, os.path.join(out, name), seconds)
        sums.append("%s  %s\n" % (sha256(os.path.join(out, name)), name))
        print("release: %s" % os.path.join(out, name))
    with open(os.path.join(out, "SHA256SUMS"), "w") as f:
        f.writelines(sorted(sums, key=lambda line: line.split()[1]))
    print("release: %s" % os.path.join(out, "SHA256SUMS"))


if __name__ == "__main__":
    main()
