// The simulated card's tables as libdvbpsi reads them: what the transponder file says, and what
// each script option makes of it; the dish lines of a script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "satcheck/dvbpsi_support.h"
#include "tunersim/sim_dish.h"
#include "tunersim/sim_tables.h"

using namespace tunersim;
using dvbpsi_support::Decoded;

namespace {

std::string starterFile(int32_t position) {
  char name[16];
  std::snprintf(name, sizeof(name), "%04d.ini", position);
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "../../../transponders/starter" / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const TunedStream k11494H{11494000, 1};

Decoded decodeOneRepetition(const SimSatellite& satellite, const TableOptions& options) {
  TableStream stream(satellite, k11494H, options);
  return dvbpsi_support::decode(stream.until(kTablePeriodMs));
}

const Decoded::Nit* table(const Decoded& decoded, uint8_t tableId) {
  for (const Decoded::Nit& nit : decoded.nits)
    if (nit.tableId == tableId) return &nit;
  return nullptr;
}

}  // namespace

TEST(SimTables, NitListsEveryTransponderOfTheFileWithItsDeliveryValues) {
  const SimSatellite astra = readSimSatellite(192, starterFile(192));
  ASSERT_GT(astra.transponders.size(), 100u);
  EXPECT_EQ(astra.name, "Astra 1KR/1L/1M/1N");
  EXPECT_EQ(astra.transponders[0].fec, 4) << "10714,H,22000,56 is FEC 5/6";
  const Decoded decoded = decodeOneRepetition(astra, {});
  const Decoded::Nit* nit = table(decoded, 0x40);
  ASSERT_NE(nit, nullptr) << "libdvbpsi found no whole NIT";
  EXPECT_EQ(nit->name, "ASTRA");
  ASSERT_EQ(nit->entries.size(), astra.transponders.size());
  size_t s2 = 0;
  for (size_t i = 0; i < nit->entries.size(); ++i) {
    const dvbpsi_support::Delivery& e = nit->entries[i];
    EXPECT_EQ(e.frequencyKHz, static_cast<uint32_t>(astra.transponders[i].frequencyKHz)) << i;
    EXPECT_EQ(e.polarisation, astra.transponders[i].polarisation) << i;
    EXPECT_EQ(e.s2, astra.transponders[i].s2) << i;
    EXPECT_TRUE(e.tenths == 192 && e.east) << i;
    EXPECT_EQ(e.onid, simNetworkId(192));
    s2 += e.s2 ? 1 : 0;
  }
  EXPECT_GT(s2, 0u) << "the file's S2 entries lost their mark";
  // This stream is the entry of 11494 H: the PAT and SDT give its ids.
  ASSERT_GE(decoded.patStreamId, 1);
  const dvbpsi_support::Delivery& tuned = nit->entries[static_cast<size_t>(decoded.patStreamId - 1)];
  EXPECT_EQ(tuned.frequencyKHz, 11494000u);
  EXPECT_EQ(decoded.sdtStreamId, decoded.patStreamId);
  EXPECT_EQ(decoded.sdtNetworkId, simNetworkId(192));
  ASSERT_EQ(decoded.providers.size(), 2u);
  EXPECT_EQ(decoded.providers[0], "Astra 1KR/1L/1M/1N");
}

TEST(SimTables, OptionsAsLibdvbpsiSeesThem) {
  const SimSatellite astra = readSimSatellite(192, starterFile(192));
  EXPECT_TRUE(decodeOneRepetition(astra, {true, false, false, false}).nits.empty()) << "no-nit gave a NIT";

  const Decoded others = decodeOneRepetition(astra, {false, true, false, false});
  const Decoded::Nit* nit = table(others, 0x40);
  ASSERT_NE(nit, nullptr);
  ASSERT_EQ(nit->entries.size(), 3 * astra.transponders.size());
  EXPECT_EQ(nit->entries.front().tenths, 162) << "first listed: 3 degrees west of 19.2E";
  EXPECT_EQ(nit->entries.back().tenths, 192);

  const Decoded stale = decodeOneRepetition(astra, {false, false, true, false});
  const size_t tuned = static_cast<size_t>(stale.patStreamId - 1);
  EXPECT_NE(table(stale, 0x40)->entries[tuned].s2, astra.transponders[tuned].s2);
  EXPECT_EQ(table(stale, 0x40)->entries[tuned + 1].s2, astra.transponders[tuned + 1].s2);

  const Decoded other = decodeOneRepetition(astra, {false, false, false, true});
  const Decoded::Nit* nitOther = table(other, 0x41);
  ASSERT_NE(nitOther, nullptr);
  ASSERT_EQ(nitOther->entries.size(), 1u);
  EXPECT_EQ(nitOther->entries[0].tsid, other.patStreamId) << "the other network lists this very stream";
  EXPECT_EQ(nitOther->entries[0].tenths, 222);
}

TEST(SimTables, WestPositionsAndATuningTheFileLacks) {
  SimSatellite west = readSimSatellite(3550, starterFile(3550));
  ASSERT_FALSE(west.transponders.empty());
  const Decoded decoded = dvbpsi_support::decode(TableStream(west, {12345000, 0}, {}).until(kTablePeriodMs));
  const Decoded::Nit* nit = table(decoded, 0x40);
  ASSERT_NE(nit, nullptr);
  const dvbpsi_support::Delivery& tuned = nit->entries[static_cast<size_t>(decoded.patStreamId - 1)];
  EXPECT_TRUE(tuned.tenths == 50 && !tuned.east) << "got " << tuned.tenths << (tuned.east ? "E" : "W");
  EXPECT_EQ(tuned.frequencyKHz, 12345000u);
  EXPECT_EQ(tuned.polarisation, 1);
}

TEST(SimTables, TablesEvery500MsWithNullPacketsBetween) {
  TableStream stream(readSimSatellite(192, starterFile(192)), k11494H, {});
  const std::string first = stream.until(kTablePeriodMs);
  ASSERT_EQ(first.size(), 500 * kPacketBytes);
  EXPECT_EQ(stream.until(kTablePeriodMs), "") << "packets given twice";
  const std::string second = stream.until(2 * kTablePeriodMs);
  ASSERT_EQ(second.size(), first.size());
  size_t tablePackets = 0;
  for (size_t at = 0; at < first.size(); at += kPacketBytes) {
    ASSERT_EQ(first[at], 0x47);
    const bool null = (first[at + 1] & 0x1F) == 0x1F && static_cast<uint8_t>(first[at + 2]) == 0xFF;
    if (null) continue;
    EXPECT_EQ(at / kPacketBytes, tablePackets++) << "tables not at the period's start";
    // The repetition goes on counting: each table packet's counter moved on by the packets before it.
    EXPECT_NE(first[at + 3], second[at + 3]);
  }
  EXPECT_GT(tablePackets, 5u);
  EXPECT_LT(tablePackets, 40u);
}

TEST(SimDish, ScriptLinesNameThePositionAndOptions) {
  const std::vector<DishLine> lines = parseDishLines(
      "0 1 70 60\n"
      "2500 dish 13.0E\r\n"
      "800 dish 19.2e no-nit\n"
      "3000 dish 5w others-first stale-s2 nit-other\n"
      "4000 dish 180.1E\n"
      "4000 dish 19.2E bogus\n"
      "4000 dish 19.25E\n"
      "-1 dish 19.2E\n"
      "4000 dish\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].positionNumber, 192);
  EXPECT_TRUE(lines[0].options.noNit);
  EXPECT_EQ(lines[1].positionNumber, 130);
  EXPECT_FALSE(lines[1].options.noNit);
  EXPECT_EQ(lines[2].positionNumber, 3550);
  EXPECT_TRUE(lines[2].options.otherPositionsFirst && lines[2].options.staleSystem && lines[2].options.nitOther);
  EXPECT_FALSE(dishAt(lines, 799).has_value());
  EXPECT_EQ(dishAt(lines, 2500)->positionNumber, 130);
  EXPECT_EQ(dishAt(lines, 1 << 30)->positionNumber, 3550);
}
