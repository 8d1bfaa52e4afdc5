"""The laid-out binaries carry no symbols; each names, in its debuglink, the symbol file that stays
in the build beside the unstripped binary, and that file is the one the debuglink's checksum fits."""
import os
import struct
import unittest
import zlib

from quorvan_e2e import BUILD, DIST

# dist folder, build folder, binary's path in the build
BINARIES = [(arch, arch, path) for arch in ("win64", "win32") for path in ("Quorvan.exe", "tunersim/tunersim.ax",
                                                                             "tunersim/bdasim.ax")]


def pe_sections(data):
    """(symbol count, {section name: bytes}) of a PE file; long names are looked up in the string table."""
    header = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[header:header + 4] == b"PE\0\0", "not a PE file"
    count, symbol_table, symbols, optional_size = struct.unpack_from("<2xH4xIIH", data, header + 4)
    strings = symbol_table + 18 * symbols
    sections = {}
    for index in range(count):
        entry = header + 24 + optional_size + 40 * index
        name = data[entry:entry + 8].rstrip(b"\0")
        if name.startswith(b"/"):
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)]
        raw_size, raw_pointer = struct.unpack_from("<II", data, entry + 16)
        sections[name.decode("latin-1")] = data[raw_pointer:raw_pointer + raw_size]
    return symbols, sections


class StrippedBinariesTest(unittest.TestCase):
    def test_each_dist_binary_is_stripped_and_links_its_symbols_in_the_build(self):
        for arch, build, path in BINARIES:
            with self.subTest(binary="%s/%s" % (arch, os.path.basename(path))):
                with open(os.path.join(DIST, arch, os.path.basename(path)), "rb") as f:
                    symbols, sections = pe_sections(f.read())
                self.assertEqual(symbols, 0, "symbols left in the laid-out binary")
                self.assertEqual([name for name in sections if name.startswith(".debug")], [])
                link = sections[".gnu_debuglink"]
                name = link[:link.index(b"\0")].decode()
                self.assertEqual(name, os.path.basename(path) + ".debug")
                debug_path = os.path.join(BUILD, build, os.path.dirname(path), name)
                with open(debug_path, "rb") as f:
                    debug = f.read()
                (checksum,) = struct.unpack_from("<I", link, (len(name) + 4) // 4 * 4)
                self.assertEqual(checksum, zlib.crc32(debug), "%s is not the symbol file of this binary" % debug_path)
                debug_symbols, _ = pe_sections(debug)
                self.assertGreater(debug_symbols, 0, "no symbols kept in " + debug_path)


if __name__ == "__main__":
    unittest.main()
