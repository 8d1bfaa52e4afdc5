// The tables of the simulated card's transport stream: PAT, NIT actual and SDT of the satellite
// the dish points at, made from that satellite's transponder file, repeated every 500 ms with
// null packets between. Written apart from the program's own stream reader, so that each checks
// the other.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tunersim {

constexpr int64_t kTablePeriodMs = 500;
constexpr int64_t kStreamPacketsPerSecond = 1000;  // 1.5 Mbit/s: plenty for tables alone
constexpr size_t kPacketBytes = 188;

// One entry of a transponder file with what a satellite delivery descriptor says of it.
struct SimTransponder {
  int32_t frequencyKHz = 0;
  int polarisation = 0;  // 0 horizontal, 1 vertical, 2 left, 3 right
  int32_t symbolRateKsps = 0;
  int fec = 0;           // 1 for 1/2 .. 9 for 9/10; 0 when the entry gives none
  bool s2 = false;       // the entry ends in ",S2"
};

struct SimSatellite {
  int32_t positionNumber = 0;  // tenths of a degree eastward, 0..3599
  std::string name;            // the file's satellite name
  std::vector<SimTransponder> transponders;  // entries the program would tune, in file order
};

// A transponder file's name and entries; entries the program would refuse are left out.
SimSatellite readSimSatellite(int32_t positionNumber, std::string_view fileBytes);

// What the tables get wrong or leave out, as real broadcasters' tables do.
struct TableOptions {
  bool noNit = false;               // the stream carries no NIT
  bool otherPositionsFirst = false; // the NIT lists the neighbouring positions' transponders first
  bool staleSystem = false;         // the tuned transponder's entry has DVB-S and DVB-S2 swapped
  bool nitOther = false;            // a NIT of another network (0x41) shares the PID
};

// The ids the simulated broadcaster gives: one network per position, transport streams
// numbered after the file's entries.
uint16_t simNetworkId(int32_t positionNumber);
// The network name a satellite's tables give: its name up to the first digit, in capitals
// ("Astra 1KR/1L/1M/1N" gives "ASTRA").
std::string simNetworkName(const std::string& satelliteName);

// The tuned transponder's stream: the file's entry nearest the tuning (same polarisation,
// within 5 MHz), or one made from the tuning when the file has none.
struct TunedStream {
  int32_t frequencyKHz = 0;
  int32_t polarization = 0;  // 1 horizontal or left, 0 vertical or right
};

// Every section of one repetition of the tables, each with its PID.
struct SimSection {
  uint16_t pid = 0;
  std::vector<uint8_t> bytes;
};
std::vector<SimSection> buildTables(const SimSatellite& satellite, const TunedStream& tuned, const TableOptions& options);

// The 188-byte packets of the stream: the tables at the start of every 500 ms, null packets between.
class TableStream {
 public:
  TableStream(const SimSatellite& satellite, const TunedStream& tuned, const TableOptions& options);
  // The next count packets.
  std::string next(size_t count);
  // The packets up to msSinceLock that were not given yet.
  std::string until(int64_t msSinceLock);

 private:
  std::vector<std::string> tablePackets_;  // one repetition
  std::map<uint16_t, uint8_t> counters_;   // continuity counter of each table PID
  uint64_t sent_ = 0;
};

}  // namespace tunersim
