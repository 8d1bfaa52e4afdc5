#!/usr/bin/env python3
"""Reads the version block (VERSIONINFO) of a Windows program or DLL, as Explorer's Properties show it.

  versioninfo.py FILE    prints the fixed file and product versions and every string of the block

Standard library only: the PE resource directory leads to the RT_VERSION resource, whose
VS_VERSIONINFO tree holds the fixed numbers and the StringFileInfo texts.
"""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


def _sections(data):
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count, optional_size = struct.unpack_from("<2xH12xH", data, header + 4)
    optional = header + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size
    sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(count)]
    return resource_rva, sections


def _offset(rva, sections):
    for virtual_size, virtual_address, raw_size, raw_pointer in sections:
        if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
            return raw_pointer + rva - virtual_address
    raise ValueError("address 0x%x lies in no section" % rva)


def _first_entry(data, base, directory, wanted=None):
    """(is a directory, offset) of the entry with id wanted, or of the first entry."""
    named, numbered = struct.unpack_from("<12xHH", data, base + directory)
    for index in range(named + numbered):
        name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * index)
        if wanted is None or name == wanted:
            return bool(target & 0x80000000), target & 0x7FFFFFFF
    raise ValueError("no version resource")


def version_resource(data):
    """The raw VS_VERSIONINFO bytes of a PE file."""
    resource_rva, sections = _sections(data)
    base = _offset(resource_rva, sections)
    entry = 0
    for wanted in (RT_VERSION, None, None):
        is_directory, entry = _first_entry(data, base, entry, wanted)
        if not is_directory:
            break
    rva, size = struct.unpack_from("<II", data, base + entry)
    start = _offset(rva, sections)
    return data[start:start + size]


def _blocks(data, start, end):
    """(key, value bytes, value is text, children start, block end) of each block between start and end."""
    while start + 6 <= end:
        length, value_length, is_text = struct.unpack_from("<HHH", data, start)
        if length == 0:
            break
        key_end = start + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[start + 6:key_end].decode("utf-16-le")
        value = (key_end + 2 + 3) & ~3
        value_size = value_length * 2 if is_text else value_length
        yield key, data[value:value + value_size], is_text, (value + value_size + 3) & ~3, start + length
        start = (start + length + 3) & ~3


def read_version(data):
    """{"FileVersion": ..., "ProductVersion": ..., "fixed file": "a.b.c.d", "fixed product": ...} of a PE file."""
    block = version_resource(data)
    (key, value, _, children, end), = _blocks(block, 0, len(block))
    if key != "VS_VERSION_INFO" or struct.unpack_from("<I", value, 0)[0] != FIXED_SIGNATURE:
        raise ValueError("not a version block")
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", value, 8)
    numbers = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    found = {"fixed file": numbers(file_ms, file_ls), "fixed product": numbers(product_ms, product_ls)}
    for key, _, _, tables, tables_end in _blocks(block, children, end):
        if key != "StringFileInfo":
            continue
        for _, _, _, strings, strings_end in _blocks(block, tables, tables_end):
            for name, text, _, _, _ in _blocks(block, strings, strings_end):
                found[name] = text.decode("utf-16-le").rstrip("\0")
    return found


def main():
    with open(sys.argv[1], "rb") as f:
        for name, value in read_version(f.read()).items():
            print("%s: %s" % (name, value))


if __name__ == "__main__":
    main()
