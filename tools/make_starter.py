#!/usr/bin/env python3
"""make starter: the shipped Transponders folder (transponders/starter) from the DVB-S scan tables
of Debian's dtv-scan-tables package (/usr/share/dvb/dvb-s), merged with the hand-made files in
transponders/handmade.

One file per orbital position, named %04d.ini after the position number, in the program's own
format (CR LF lines):

    [SATTYPE]
    1=0130
    2=Hot Bird 13B/13C/13E

    [DVB]
    0=95
    1=10719,V,27500,34       MHz, polarisation letter, kS/s, FEC digits where known
    ...
    90=10758,V,27500,34,S2   DVB-S2: after the DVB-S ones; the mark follows the symbol rate,
                             so the program reads the entry as it reads any other

A hand-made file keeps its name and every entry as written; the package adds the transponders it
lacks (one frequency and polarisation each). Entries the program would refuse (outside 3399 to
15000 MHz or 1000 to 45000 kS/s) are left out and counted. Standard library only.

Usage: make_starter.py [--package DIR] [--handmade DIR] [--out DIR]
"""
import argparse
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE = "/usr/share/dvb/dvb-s"
PACKAGE_NAME = "dtv-scan-tables"
HANDMADE = os.path.join(ROOT, "transponders", "handmade")
STARTER = os.path.join(ROOT, "transponders", "starter")
SOURCE_NOTE = "SOURCE.txt"

LONGEST_ENTRY = 22          # what the program lists and parses
LONGEST_NAME = 24           # what the satellite list shows beside the position
LOWEST_KHZ, HIGHEST_KHZ = 3399000, 15000000
LOWEST_KSPS, HIGHEST_KSPS = 1000, 45000
S2_MARK = "S2"
FULL_CIRCLE = 3600

# "Astra-1KR-19.2E", "Eutelsat5_5.0W", "EutelsatW2-16E"
POSITION_SUFFIX = re.compile(r"[-_](\d+(?:\.\d+)?)([EW])$")
# Spellings in the package's file names that read badly once split into words.
NAME_FIXES = [
    (r"^Hotbird", "Hot-Bird"), (r"^Trksat", "Turksat"), (r"^G-Sat", "GSAT"), (r"^ExpressAM", "Express-AM"),
    (r"^BrasilsatB", "BrasilSat-B"), (r"^Optus([CD])", r"Optus-\1"), (r"^PalapaC", "Palapa-C"),
    (r"^EutelsatW", "Eutelsat-W"), (r"^Intel(\d)", r"Intelsat-\1"), (r"^TurkmenlemMonacoSat", "TurkmenAlem MonacoSat"),
]
POLARISATIONS = {"HORIZONTAL": "H", "VERTICAL": "V", "LEFT": "L", "RIGHT": "R"}


def position_number(file_name):
    """Tenths of a degree eastward: d east gives d x 10, d west 3600 - d x 10; None without a suffix."""
    match = POSITION_SUFFIX.search(file_name)
    if not match:
        return None
    tenths = round(float(match.group(1)) * 10)
    return tenths % FULL_CIRCLE if match.group(2) == "E" else (FULL_CIRCLE - tenths) % FULL_CIRCLE


def read_channels(path):
    """The channels of one scan table: dicts of its KEY = value lines, one per [section]."""
    channels = []
    with open(path, encoding="utf-8", errors="replace") as table:
        for line in table:
            line = line.strip()
            if line.startswith("["):
                channels.append({})
            elif "=" in line and channels and not line.startswith("#"):
                key, value = line.split("=", 1)
                channels[-1][key.strip()] = value.strip()
    return channels


class Transponder:
    def __init__(self, khz, polarisation, ksps, fec, s2):
        self.khz, self.polarisation, self.ksps, self.fec, self.s2 = khz, polarisation, ksps, fec, s2

    def key(self):
        return (self.khz, self.polarisation)

    def accepted(self):
        return LOWEST_KHZ <= self.khz <= HIGHEST_KHZ and LOWEST_KSPS <= self.ksps <= HIGHEST_KSPS

    def entry(self):
        """MHz (kHz when not whole), letter, kS/s, FEC digits, S2 mark; FEC dropped when too long."""
        frequency = str(self.khz // 1000) if self.khz % 1000 == 0 else str(self.khz)
        mark = [S2_MARK] if self.s2 else []
        for fec in ([self.fec] if self.fec else []) + [None]:
            text = ",".join([frequency, self.polarisation, str(self.ksps)] + ([fec] if fec else []) + mark)
            if len(text) <= LONGEST_ENTRY:
                return text
        raise ValueError("entry too long: %s" % text)


def transponder(channel):
    """A Transponder from a channel, or None when the channel lacks what tuning needs."""
    try:
        khz = int(channel["FREQUENCY"])
        ksps = int(channel["SYMBOL_RATE"]) // 1000
        polarisation = POLARISATIONS[channel["POLARIZATION"].upper()]
    except (KeyError, ValueError):
        return None
    if khz < 100000:
        khz *= 1000  # a few tables give MHz where kHz belongs
    fec = channel.get("INNER_FEC", "AUTO")
    fec = fec.replace("/", "") if re.fullmatch(r"\d+/\d+", fec) else ""
    return Transponder(khz, polarisation, ksps, fec, channel.get("DELIVERY_SYSTEM", "DVBS") == "DVBS2")


def read_package(folder):
    """{position: [(table name, [Transponder])]} for every table with a position suffix."""
    positions = {}
    for name in sorted(os.listdir(folder)):
        position = position_number(name)
        path = os.path.join(folder, name)
        if position is None or not os.path.isfile(path):
            continue
        found = [t for t in (transponder(c) for c in read_channels(path)) if t]
        positions.setdefault(position, []).append((name, found))
    return positions


def words(table_name):
    """The satellite name of a table as (brand, model): "Astra-1KR-19.2E" gives ("Astra", "1KR")."""
    name = POSITION_SUFFIX.sub("", table_name)
    name = re.sub(r"_C$", "", name)  # the C-band table of a satellite
    for pattern, fixed in NAME_FIXES:
        name = re.sub(pattern, fixed, name)
    name = re.sub(r"(\d)([A-Z][a-z])", r"\1/\2", name)  # two satellites in one name
    names = []
    for part in name.split("/"):
        part = re.sub(r"^([A-Za-z]+?)(\d)", r"\1-\2", part)  # "Galaxy28", "ABS2"
        tokens = [t for t in re.split(r"[-_ ]", part) if t]
        first_model = next((i for i, t in enumerate(tokens) if re.search(r"\d", t)), len(tokens))
        brand = " ".join(tokens[:first_model]) or tokens[0]
        model = ""
        for previous, token in zip([""] + tokens[first_model:], tokens[first_model:]):
            joiner = "-" if previous.isdigit() and token.isdigit() else " "
            model += (joiner if model else "") + token
        names.append((brand, model))
    return names


def satellite_name(table_names):
    """ "Hot Bird 13B/13C/13E", "SES 5, Sirius": brands in order of first appearance, each with its
    models; brands, then models, are dropped from the end while the name is too long."""
    brands = {}
    for table in table_names:
        for brand, model in words(table):
            spellings, models = brands.setdefault(brand.lower(), ([], []))
            spellings.append(brand)
            keys = [re.sub(r"[^a-z0-9+]", "", m.lower()) for m in models]
            if model and re.sub(r"[^a-z0-9+]", "", model.lower()) not in keys:
                models.append(model)
    parts = [(max(set(s), key=lambda b: (s.count(b), b != b.lower(), -s.index(b))), m) for s, m in brands.values()]

    def compose(parts):
        return ", ".join((brand + " " + "/".join(models)).strip() for brand, models in parts)

    while len(parts) > 1 and len(compose(parts)) > LONGEST_NAME:
        parts.pop()
    while len(compose(parts)) > LONGEST_NAME and len(parts[0][1]) > 1:
        parts[0] = (parts[0][0], parts[0][1][:-1])
    return compose(parts)


def read_handmade(path):
    """(name, [entry text]) of a hand-made file in the program's format."""
    with open(path, "rb") as handmade:
        lines = handmade.read().decode("latin-1").replace("\r\n", "\n").split("\n")
    equals = 0
    name, entries = "", []
    for line in lines:
        if "=" not in line:
            continue
        equals += 1
        value = line.split("=", 1)[1]
        if equals == 2:
            name = value
        elif equals > 3:
            entries.append(value)
    return name, entries


def entry_key(text):
    """(kHz, letter) of an entry text, as the program reads its frequency and first letter."""
    number = int(re.match(r"\s*(\d+)", text).group(1))
    letter = re.search(r"[HLVR]", text.upper()).group(0)
    return (number * 1000 if number <= 15000 else number, letter)


def merge(handmade_entries, tables):
    """Hand-made entries with every accepted package transponder they lack: DVB-S (and hand-made)
    first, then DVB-S2, each in frequency order. Returns (entries, left out)."""
    plain = [(entry_key(e), e) for e in handmade_entries]
    seen = {key for key, _ in plain}
    s2 = []
    left_out = 0
    candidates = [t for _, found in tables for t in found]
    # A transponder listed as DVB-S by one table and DVB-S2 by another goes in as DVB-S.
    candidates.sort(key=lambda t: t.s2)
    for t in candidates:
        if not t.accepted():
            left_out += 1
            continue
        if t.key() in seen:
            continue
        seen.add(t.key())
        (s2 if t.s2 else plain).append((t.key(), t.entry()))
    return [e for _, e in sorted(plain, key=lambda p: p[0])] + [e for _, e in sorted(s2)], left_out


def file_bytes(position, name, entries):
    lines = ["[SATTYPE]", "1=%04d" % position, "2=" + name, "", "[DVB]", "0=%d" % len(entries)]
    lines += ["%d=%s" % (i, e) for i, e in enumerate(entries, 1)]
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def package_version():
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", PACKAGE_NAME], capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else ""


def degrees(position):
    """ "13.0E", "0.8W": a position number as the package's file names give it."""
    east = position <= 1800
    tenths = position if east else FULL_CIRCLE - position
    return "%d.%d%s" % (tenths // 10, tenths % 10, "E" if east else "W")


def source_note(version, handmade_positions):
    """What SOURCE.txt beside the files says: where the entries come from and under which licence."""
    lines = [
        "Transponder files: where they come from",
        "",
        "The files in this folder are made from the DVB-S scan tables of LinuxTV's dtv-scan-tables",
        "(https://git.linuxtv.org/dtv-scan-tables.git), as packaged by Debian: %s %s." % (PACKAGE_NAME, version),
        "Licence of those tables: LGPL-2.1+ (GNU Lesser General Public License, version 2.1 or later,",
        "https://www.gnu.org/licenses/old-licenses/lgpl-2.1.html). Copyright their authors, among them",
        "Oliver Schinagl, Jiri Slaby, Jonathan McCrohan, Marcel Siegert, Michael Krufky, Andrew de Quincey,",
        "Christoph Pfister, Mauro Carvalho Chehab, Patrick Boettcher, Holger Waechtler, Manu Abraham and",
        "Johannes Stezenbach.",
        "",
        "Each file holds the transponders of one orbital position: frequency in MHz (kHz where it is",
        "not a whole MHz), polarisation, symbol rate in kS/s and FEC where known. Entries ending in S2",
        "are DVB-S2, which a DVB-S card cannot lock. The files of %s" % ", ".join(map(degrees, handmade_positions)),
        "start from Quorvan's own hand-made lists, which the tables complete.",
    ]
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def recorded_version(out):
    """The package version the folder was made from, as SOURCE.txt gives it; "" when unknown."""
    try:
        with open(os.path.join(out, SOURCE_NOTE), encoding="latin-1") as note:
            match = re.search(re.escape(PACKAGE_NAME) + r" (\S+)\.\r?$", note.read(), re.M)
    except OSError:
        return ""
    return match.group(1) if match else ""


def generate(package, handmade, out, version):
    """Writes every file into out; returns the counts made."""
    tables = read_package(package)
    handmade_files = {}
    for name in sorted(os.listdir(handmade)):
        if name.endswith(".ini"):
            handmade_files[int(name[:4])] = read_handmade(os.path.join(handmade, name))
    counts = {"positions": 0, "tables": 0, "entries": 0, "dvb-s2 entries": 0, "left out": 0}
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        if old.endswith(".ini"):
            os.remove(os.path.join(out, old))
    for position in sorted(set(tables) | set(handmade_files)):
        found = tables.get(position, [])
        name, kept = handmade_files.get(position, (None, []))
        if name is None:
            name = satellite_name([table for table, _ in found])
        entries, left_out = merge(kept, found)
        if not entries:
            continue
        with open(os.path.join(out, "%04d.ini" % position), "wb") as written:
            written.write(file_bytes(position, name, entries))
        counts["positions"] += 1
        counts["tables"] += len(found)
        counts["entries"] += len(entries)
        counts["dvb-s2 entries"] += sum(1 for e in entries if e.endswith("," + S2_MARK))
        counts["left out"] += left_out
    with open(os.path.join(out, SOURCE_NOTE), "wb") as note:
        note.write(source_note(version, sorted(handmade_files)))
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--package", default=PACKAGE)
    parser.add_argument("--handmade", default=HANDMADE)
    parser.add_argument("--out", default=STARTER)
    args = parser.parse_args()
    if not os.path.isdir(args.package):
        sys.exit("%s is missing: apt-get install %s" % (args.package, PACKAGE_NAME))
    version = package_version() or "(version unknown)"
    counts = generate(args.package, args.handmade, args.out, version)
    print("%s %s: %s" % (PACKAGE_NAME, version, ", ".join("%d %s" % (v, k) for k, v in counts.items())))


if __name__ == "__main__":
    main()
