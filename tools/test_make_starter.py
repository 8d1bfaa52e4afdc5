#!/usr/bin/env python3
"""Tests of make_starter.py. The remake check runs where the package of the recorded version is installed."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_starter as ms  # noqa: E402


class Conversion(unittest.TestCase):
    def test_position_from_the_table_name(self):
        for name, position in [("Thor-5-0.8W", 3592), ("Thor-1.0W", 3590), ("Intelsat-18-180.0E", 1800),
                               ("Foo-0.5E", 5), ("Eutelsat5_5.0W", 3550), ("EutelsatW2-16E", 160),
                               ("Foo-0.0W", 0), ("Astra-1KR-19.2E", 192), ("README", None)]:
            self.assertEqual(ms.position_number(name), position, name)

    def test_entries_fit_and_mark_dvb_s2(self):
        T = ms.Transponder
        for transponder, entry in [(T(10719000, "V", 27500, "34", False), "10719,V,27500,34"),
                                   (T(3652000, "L", 14100, "", False), "3652,L,14100"),
                                   (T(10714250, "H", 22000, "56", False), "10714250,H,22000,56"),
                                   (T(11258000, "H", 27500, "910", True), "11258,H,27500,910,S2"),
                                   (T(12207500, "H", 27500, "910", True), "12207500,H,27500,S2")]:
            self.assertEqual(transponder.entry(), entry)

    def test_channel_reading(self):
        t = ms.transponder({"DELIVERY_SYSTEM": "DVBS2", "FREQUENCY": "12207", "POLARIZATION": "RIGHT",
                            "SYMBOL_RATE": "27500000", "INNER_FEC": "AUTO"})
        self.assertEqual((t.khz, t.polarisation, t.ksps, t.fec, t.s2), (12207000, "R", 27500, "", True))
        self.assertIsNone(ms.transponder({"FREQUENCY": "11000000", "POLARIZATION": "H"}))

    def test_merge_keeps_handmade_and_lists_each_transponder_once(self):
        T = ms.Transponder
        tables = [("A", [T(10758000, "V", 27500, "34", True), T(11000000, "H", 27500, "", True),
                         T(19700000, "V", 27500, "", False)]),
                  ("B", [T(10758000, "V", 27500, "23", False), T(10700000, "H", 990, "", False),
                         T(10719000, "v", 1, "", False), T(10800000, "H", 22000, "", False)])]
        entries, left_out = ms.merge(["10719,v,27500,34 mine"], tables)
        self.assertEqual(entries, ["10719,v,27500,34 mine", "10758,V,27500,23", "10800,H,22000", "11000,H,27500,S2"])
        self.assertEqual(left_out, 3)

    def test_names(self):
        self.assertEqual(ms.satellite_name(["Hotbird-13.0E", "Hotbird-13B-13.0E", "Hotbird-13C-13.0E",
                                            "Hotbird-13E-13.0E"]), "Hot Bird 13B/13C/13E")
        self.assertEqual(ms.satellite_name(["SES-5-5.0E", "Sirius-5.0E"]), "SES 5, Sirius")
        self.assertEqual(ms.satellite_name(["ABS-2-75.0E", "ABS2-75.0E", "Intelsat-10-02-1.0W"]), "ABS 2, Intelsat 10-02")
        long = ms.satellite_name(["AzerSpace-2Intelsat-38-45.0E", "Intelsat-12-45.0E"])
        self.assertTrue(long.startswith("AzerSpace 2") and len(long) <= ms.LONGEST_NAME, long)


@unittest.skipUnless(os.path.isdir(ms.PACKAGE) and ms.package_version() == ms.recorded_version(ms.STARTER),
                     "needs %s %s installed" % (ms.PACKAGE_NAME, ms.recorded_version(ms.STARTER)))
class CommittedFolder(unittest.TestCase):
    def test_remake_gives_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            counts = ms.generate(ms.PACKAGE, ms.HANDMADE, out, ms.package_version())
            print("\nremade: " + ", ".join("%d %s" % (v, k) for k, v in counts.items()), file=sys.stderr)
            names = sorted(os.listdir(out))
            self.assertEqual(names, sorted(n for n in os.listdir(ms.STARTER) if not n.startswith(".")))
            for name in names:
                with open(os.path.join(out, name), "rb") as made, open(os.path.join(ms.STARTER, name), "rb") as kept:
                    self.assertEqual(made.read(), kept.read(), name)

    def test_every_dvb_s_transponder_and_handmade_entry_is_in_its_file(self):
        dvb_s = 0
        for position, tables in ms.read_package(ms.PACKAGE).items():
            name, entries = ms.read_handmade(os.path.join(ms.STARTER, "%04d.ini" % position))
            keys = {ms.entry_key(e) for e in entries}
            for table, found in tables:
                for t in found:
                    if not t.s2 and t.accepted():
                        dvb_s += 1
                        self.assertIn(t.key(), keys, "%s %d %s" % (table, t.khz, t.polarisation))
        for handmade in os.listdir(ms.HANDMADE):
            if handmade.endswith(".ini"):
                name, entries = ms.read_handmade(os.path.join(ms.HANDMADE, handmade))
                starter_name, starter_entries = ms.read_handmade(os.path.join(ms.STARTER, handmade))
                self.assertEqual(starter_name, name)
                self.assertLessEqual(set(entries), set(starter_entries), handmade)
        print("\n%d DVB-S transponders of the package found in their files" % dvb_s, file=sys.stderr)


if __name__ == "__main__":
    unittest.main()
