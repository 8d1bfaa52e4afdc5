#!/usr/bin/env python3
"""Turns the frames of a crash report (crash.txt, written beside Quorvan.exe when it crashes) into
function, file and line, with the symbol files the build keeps beside each binary.

  symbolize.py crash.txt [--build BUILD]

Each frame "module+0xoffset" is looked up in <module>.debug under BUILD/win64 or BUILD/win32 (as the
report's "NN-bit" says) with addr2line from binutils-mingw-w64. A frame after the first is a return
address, so the call before it is looked up. Frames of modules without symbols (system DLLs) stay
as they are.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FRAME = re.compile(r"^#(\d+) (\S+)\+0x([0-9a-fA-F]+)\s*$")
BITS = re.compile(r"^version: \S+ \((32|64)-bit\)", re.M)
ARCH = {"64": ("win64", "x86_64-w64-mingw32-addr2line"), "32": ("win32", "i686-w64-mingw32-addr2line")}


def image_base(path):
    """The preferred load address in a PE file's optional header: the offsets count from it."""
    with open(path, "rb") as f:
        data = f.read(4096)
    header = struct.unpack_from("<I", data, 0x3C)[0]
    optional = header + 24
    if struct.unpack_from("<H", data, optional)[0] == 0x20B:
        return struct.unpack_from("<Q", data, optional + 24)[0]
    return struct.unpack_from("<I", data, optional + 28)[0]


def symbol_files(folder):
    found = {}
    for parent, _, names in os.walk(folder):
        for name in names:
            if name.endswith(".debug"):
                found.setdefault(name[:-len(".debug")].lower(), os.path.join(parent, name))
    return found


def lookup(addr2line, debug, offset):
    """(function, file:line) for an offset into the module whose symbols are in debug."""
    address = "0x%x" % (image_base(debug) + offset)
    out = subprocess.run([addr2line, "-f", "-C", "-e", debug, address], check=True, stdout=subprocess.PIPE,
                         text=True).stdout.splitlines()
    return (out + ["??", "??:0"])[:2]


def symbolize(report, build):
    bits = BITS.search(report)
    folder, addr2line = ARCH[bits.group(1) if bits else "64"]
    symbols = symbol_files(os.path.join(build, folder))
    lines = []
    for line in report.splitlines():
        frame = FRAME.match(line.strip())
        debug = symbols.get(frame.group(2).lower()) if frame else None
        if debug:
            offset = int(frame.group(3), 16) - (1 if int(frame.group(1)) > 0 else 0)
            function, where = lookup(addr2line, debug, offset)
            line = "%s  %s at %s" % (line.strip(), function, where)
        lines.append(line)
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("report")
    parser.add_argument("--build", default=os.environ.get("QV_BUILD", os.path.join(ROOT, "build")))
    options = parser.parse_args()
    with open(options.report, encoding="latin-1") as f:
        print(symbolize(f.read(), options.build))


if __name__ == "__main__":
    sys.exit(main())
