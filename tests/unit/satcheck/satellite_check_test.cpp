// The satellite named from tables libdvbpsi made: which NIT entry counts, how sections and
// packets may arrive, and what never counts.
#include <gtest/gtest.h>

#include "dvbpsi_support.h"
#include "satcheck/satellite_check.h"

using namespace dvbpsi_support;

namespace {

constexpr uint16_t kStream = 1051, kNetwork = 1;
const TunedTransponder kTuned{11494000, 1};  // 11494 H

struct Stream {
  uint8_t patCounter = 0, nitCounter = 0, sdtCounter = 0;
  std::string pat() { return packets(0x00, patSections(kStream), patCounter); }
  std::string sdt(std::vector<std::string> providers = {"SES ASTRA"}) {
    return packets(0x11, sdtSections(kStream, kNetwork, providers), sdtCounter);
  }
  std::string nit(const std::vector<Delivery>& entries, uint8_t version = 0, uint8_t tableId = 0x40) {
    return packets(0x10, nitSections(tableId, kNetwork, version, "ASTRA", entries), nitCounter);
  }
};

Delivery own(uint16_t tenths, bool east, uint32_t kHz = 11494000, uint8_t polarisation = 0) {
  return {kStream, kNetwork, kHz, tenths, east, polarisation, false};
}

SatelliteIdentity read(const std::string& stream, size_t piece = 188) {
  SatelliteCheck check(kTuned);
  for (size_t at = 0; at < stream.size(); at += piece)
    check.feed(reinterpret_cast<const uint8_t*>(stream.data() + at), std::min(piece, stream.size() - at));
  return check.identity();
}

}  // namespace

TEST(SatelliteCheck, NamesThePositionOfThisStreamsOwnEntry) {
  struct Case {
    uint16_t tenths;
    bool east;
    int32_t number;
    const char* text;
  } cases[] = {{192, true, 192, "19.2E"}, {130, true, 130, "13.0E"}, {50, false, 3550, "5.0W"},
               {8, false, 3592, "0.8W"}, {1800, true, 1800, "180.0E"}, {0, true, 0, "0.0E"}};
  for (const Case& c : cases) {
    Stream s;
    // Another stream of the network at the same frequency comes first: the ids decide.
    const std::vector<Delivery> entries{{7, kNetwork, 11494000, 235, true, 0, false}, own(c.tenths, c.east)};
    const SatelliteIdentity id = read(s.pat() + s.nit(entries) + s.sdt());
    EXPECT_TRUE(id.nitSeen);
    EXPECT_TRUE(id.positionFound && id.foundByIds) << c.tenths;
    EXPECT_EQ(id.positionNumber, c.number) << "got " << id.positionNumber << ", expected " << c.number;
    EXPECT_EQ(id.east, c.east);
    EXPECT_EQ(positionText(id), c.text);
    EXPECT_EQ(id.networkName, "ASTRA");
    EXPECT_EQ(id.providerName, "SES ASTRA");
  }
}

TEST(SatelliteCheck, OwnEntryMustFitTheTuningElseTheTuningDecides) {
  struct Case {
    const char* name;
    std::vector<Delivery> entries;
    bool found, byIds;
    int32_t number;
  } cases[] = {
      {"drift of 5 MHz", {own(192, true, 11499000)}, true, true, 192},
      {"drift below", {own(192, true, 11489000)}, true, true, 192},
      {"6 MHz off, nothing else", {own(192, true, 11500000)}, false, false, 0},
      {"own entry vertical", {own(192, true, 11494000, 1)}, false, false, 0},
      {"left counts as horizontal", {own(192, true, 11494000, 2)}, true, true, 192},
      {"own entry stale, another fits", {own(192, true, 12000000), {9, 9, 11493000, 130, true, 0, false}}, true, false, 130},
      {"nearest of two fitting", {{8, 9, 11490000, 235, true, 0, false}, {9, 9, 11493000, 130, true, 0, false}}, true, false, 130},
      {"two as near at two positions", {{8, 9, 11493000, 235, true, 0, false}, {9, 9, 11495000, 130, true, 0, false}}, false, false, 0},
      {"duplicates agreeing", {{8, 9, 11493000, 130, true, 0, false}, {9, 9, 11495000, 130, true, 0, false}}, true, false, 130},
  };
  for (const Case& c : cases) {
    Stream s;
    const SatelliteIdentity id = read(s.pat() + s.nit(c.entries) + s.sdt());
    EXPECT_EQ(id.positionFound, c.found) << c.name;
    EXPECT_EQ(id.foundByIds, c.byIds) << c.name;
    if (c.found) {
      EXPECT_EQ(id.positionNumber, c.number) << c.name;
    }
  }
}

TEST(SatelliteCheck, WithoutSdtTheTuningDecides) {
  Stream s;
  const SatelliteIdentity id = read(s.pat() + s.nit({own(192, true)}));
  EXPECT_TRUE(id.positionFound);
  EXPECT_FALSE(id.foundByIds);
  EXPECT_EQ(id.providerName, "");
}

TEST(SatelliteCheck, NitOfOtherNetworksAndDamagedSectionsNeverCount) {
  Stream s;
  std::string other = s.nit({own(130, true)}, 0, 0x41);
  std::string damaged = s.nit({own(130, true)});
  // Flip one byte of the CRC: the last bytes of the section before the stuffing.
  const size_t sectionEnd = 4 + 1 + 3 + ((static_cast<uint8_t>(damaged[6]) & 0x0F) << 8 | static_cast<uint8_t>(damaged[7]));
  damaged[sectionEnd - 1] ^= 0x01;
  EXPECT_FALSE(read(s.pat() + other + s.sdt()).nitSeen);
  EXPECT_FALSE(read(s.pat() + damaged + s.sdt()).nitSeen);
  const SatelliteIdentity id = read(s.pat() + other + damaged + s.nit({own(192, true)}) + s.sdt());
  EXPECT_EQ(id.positionNumber, 192);
}

TEST(SatelliteCheck, MultiSectionNitNeedsEverySectionOfOneVersion) {
  std::vector<Delivery> many;
  for (uint16_t i = 0; i < 120; ++i) many.push_back({static_cast<uint16_t>(2000 + i), 5, 10700000u + i * 10000u, 130, true, 1, i % 2 == 0});
  many.push_back(own(192, true));
  const std::vector<Bytes> v0 = nitSections(0x40, kNetwork, 0, "ASTRA", many);
  ASSERT_GE(v0.size(), 2u) << "libdvbpsi made one section";
  std::vector<Delivery> moved = many;
  moved.back() = own(130, true);
  const std::vector<Bytes> v1 = nitSections(0x40, kNetwork, 1, "ASTRA", moved);
  uint8_t counter = 0;
  auto carry = [&counter](const std::vector<Bytes>& v, size_t from, size_t to) {
    return packets(0x10, std::vector<Bytes>(v.begin() + from, v.begin() + to), counter);
  };
  const std::string last = carry(v0, v0.size() - 1, v0.size()), first = carry(v0, 0, 1);
  const std::string rest = carry(v0, 1, v0.size() - 1);
  const std::string firstOfNext = carry(v1, 0, 1), restOfNext = carry(v1, 1, v1.size());

  Stream s;
  const std::string head = s.pat() + s.sdt();
  EXPECT_FALSE(read(head + last + first).nitSeen) << "complete before the middle sections came";
  EXPECT_FALSE(read(head + last + firstOfNext + rest).nitSeen) << "sections of two versions made one table";
  SatelliteIdentity id = read(head + last + first + rest);
  EXPECT_TRUE(id.nitSeen && id.foundByIds);
  EXPECT_EQ(id.positionNumber, 192);
  // A new version: the old table holds until the new one is whole.
  id = read(head + last + first + rest + firstOfNext);
  EXPECT_EQ(id.positionNumber, 192);
  id = read(head + last + first + rest + firstOfNext + restOfNext);
  EXPECT_EQ(id.positionNumber, 130) << "got " << id.positionNumber << ", expected 130 after the new version";
}

TEST(SatelliteCheck, AnyPiecesAnyNoiseSameAnswer) {
  Stream s;
  const std::string stream = s.pat() + s.nit({own(192, true)}) + s.sdt();
  for (size_t piece : {1u, 7u, 187u, 188u, 189u, 1000u}) EXPECT_EQ(read(stream, piece).positionNumber, 192) << piece;
  // Noise before and between packets, with stray sync bytes in it: a packet may be lost at the
  // glitch, and the next repetition of the tables makes up for it.
  const std::string noisy = std::string("\x47\x00\x12\x47", 4) + stream.substr(0, 376) + "\x47zz" +
                            stream.substr(376) + s.pat() + s.nit({own(192, true)}) + s.sdt();
  EXPECT_EQ(read(noisy).providerName, "SES ASTRA");
  EXPECT_TRUE(read(noisy).nitSeen) << "the NIT after the noise was lost";
}

TEST(SatelliteCheck, LostRepeatedAndMarkedPackets) {
  std::vector<Delivery> many;
  for (uint16_t i = 0; i < 30; ++i) many.push_back({static_cast<uint16_t>(2000 + i), 5, 10700000u + i * 10000u, 130, true, 1, false});
  many.push_back(own(192, true));
  Stream s;
  const std::string nit = s.nit(many);
  ASSERT_GE(nit.size(), 3 * 188u);
  const std::string head = s.pat() + s.sdt();
  const std::string withoutSecond = nit.substr(0, 188) + nit.substr(376);
  EXPECT_FALSE(read(head + withoutSecond).nitSeen) << "a section with a hole was taken";
  const std::string repeated = nit.substr(0, 376) + nit.substr(188);
  EXPECT_TRUE(read(head + repeated).nitSeen) << "a repeated packet broke the section";
  std::string marked = nit;
  marked[188 + 1] = static_cast<char>(marked[188 + 1] | 0x80);  // transport error indicator
  EXPECT_FALSE(read(head + marked).nitSeen);
}

TEST(SatelliteCheck, ResetForgetsEverything) {
  Stream s;
  const std::string stream = s.pat() + s.nit({own(192, true)}) + s.sdt();
  SatelliteCheck check(kTuned);
  check.feed(reinterpret_cast<const uint8_t*>(stream.data()), stream.size() - 100);
  check.reset({12000000, 0});
  EXPECT_FALSE(check.identity().nitSeen);
  EXPECT_EQ(check.identity().providerName, "");
  check.feed(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
  EXPECT_TRUE(check.identity().nitSeen);
  EXPECT_FALSE(check.identity().positionFound) << "the new tuning (12000 V) fits no entry";
}
