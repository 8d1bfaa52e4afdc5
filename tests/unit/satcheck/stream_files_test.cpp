// Streams the simulated card sends, kept as files: the program's reader and libdvbpsi must
// agree on the satellite each names, whatever the tables leave out or add.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dvbpsi_support.h"
#include "satcheck/satellite_check.h"

namespace {

std::string streamFile(const char* name) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "data" / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The position libdvbpsi reads for the stream's own entry; -1 without one.
int32_t libdvbpsiPosition(const dvbpsi_support::Decoded& decoded) {
  for (const dvbpsi_support::Decoded::Nit& nit : decoded.nits)
    for (const dvbpsi_support::Delivery& e : nit.entries)
      if (nit.tableId == 0x40 && e.tsid == decoded.sdtStreamId && e.onid == decoded.sdtNetworkId)
        return e.east ? e.tenths : 3600 - e.tenths;
  return -1;
}

}  // namespace

TEST(StreamFiles, ReaderAndLibdvbpsiNameTheSameSatellite) {
  struct Case {
    const char* file;
    TunedTransponder tuned;
    bool nit;
    int32_t position;  // -1: none claimed
    const char* network;
    const char* provider;
  } cases[] = {
      {"0192_11494H.ts", {11494000, 1}, true, 192, "ASTRA", "Astra 1KR/1L/1M/1N"},
      {"0192_11494H_no_nit.ts", {11494000, 1}, false, -1, "", "Astra 1KR/1L/1M/1N"},
      {"0130_11747H_others_first_nit_other.ts", {11747000, 1}, true, 130, "HOT BIRD", "Hot Bird 13F/13G"},
      {"3550_11017H_stale_s2.ts", {11017000, 1}, true, 3550, "EUTELSAT", "Eutelsat 5 West B"},
  };
  for (const Case& c : cases) {
    const std::string stream = streamFile(c.file);
    ASSERT_FALSE(stream.empty()) << c.file;
    SatelliteCheck check(c.tuned);
    check.feed(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    const SatelliteIdentity id = check.identity();
    EXPECT_EQ(id.nitSeen, c.nit) << c.file;
    EXPECT_EQ(id.positionFound ? id.positionNumber : -1, c.position) << c.file;
    EXPECT_EQ(id.foundByIds, c.position >= 0) << c.file;
    EXPECT_EQ(id.networkName, c.network) << c.file;
    EXPECT_EQ(id.providerName, c.provider) << c.file;
    EXPECT_EQ(libdvbpsiPosition(dvbpsi_support::decode(stream)), c.position) << c.file;
  }
}

TEST(StreamFiles, WithoutItsIdsTheNeighboursListedFirstAreNoAnswer) {
  // Only the NIT of the stream that lists 10.0E and 16.0E before 13.0E: the tuning alone
  // fits three positions, so nothing is claimed.
  const std::string stream = streamFile("0130_11747H_others_first_nit_other.ts");
  std::string nitOnly;
  for (size_t at = 0; at + 188 <= stream.size(); at += 188)
    if (((stream[at + 1] & 0x1F) << 8 | static_cast<uint8_t>(stream[at + 2])) == 0x10) nitOnly += stream.substr(at, 188);
  SatelliteCheck check({11747000, 1});
  check.feed(reinterpret_cast<const uint8_t*>(nitOnly.data()), nitOnly.size());
  EXPECT_TRUE(check.identity().nitSeen);
  EXPECT_FALSE(check.identity().positionFound) << "got " << check.identity().positionNumber << ", expected none";
}
