// Which satellite the dish sees, from the tables in the tuned transport stream: the network
// information table (NIT actual) names each transponder's orbital position; the PAT and the SDT
// say which of its transponders this stream is. Feed the stream's bytes in any pieces and ask
// what is known so far; reset when the lock is lost.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "satcheck/si_tables.h"
#include "satcheck/ts_packets.h"

// How far an LNB's oscillator may drift: a NIT frequency this close to the tuned one matches.
constexpr int32_t kLnbDriftKHz = 5000;
constexpr int32_t kFullCircleTenths = 3600;

// The transponder the card was tuned to, as the program's own tuning values say it.
struct TunedTransponder {
  int32_t frequencyKHz = 0;
  int32_t polarization = 0;  // 1 horizontal or left, 0 vertical or right
};

struct SatelliteIdentity {
  bool nitSeen = false;       // every section of one NIT actual version arrived
  bool positionFound = false;
  int32_t positionNumber = 0; // tenths of a degree eastward, 0..3599, as transponder files are named
  int32_t positionTenths = 0; // as the stream gives it, with east telling the side
  bool east = false;
  bool foundByIds = false;    // the entry was this stream's own; else one matching the tuning
  std::string networkName;    // Windows-1252; empty until a NIT names its network
  std::string providerName;   // Windows-1252, of the first service that names one
};

// The position as the stream names it: "19.2E", "5.0W".
std::string positionText(const SatelliteIdentity& identity);

class SatelliteCheck {
 public:
  explicit SatelliteCheck(const TunedTransponder& tuned);
  // The packet gatherer calls back into this object: it stays where it was made.
  SatelliteCheck(const SatelliteCheck&) = delete;
  SatelliteCheck& operator=(const SatelliteCheck&) = delete;
  void feed(const uint8_t* bytes, size_t size);
  SatelliteIdentity identity() const { return identity_; }
  // Forgets everything the stream said (the lock was lost or another transponder was tuned).
  void reset(const TunedTransponder& tuned);

 private:
  void takeSection(const Section& section);
  void takeNit(const SectionHeader& header, const uint8_t* bytes, size_t size);
  void findPosition();

  TunedTransponder tuned_;
  SectionGatherer gatherer_;
  bool patSeen_ = false;
  uint16_t patStreamId_ = 0;
  bool sdtSeen_ = false;
  struct StreamIds {
    uint16_t transportStreamId = 0;
    uint16_t originalNetworkId = 0;
  } streamIds_;
  static constexpr int kNoSection = 256;
  int providerSection_ = kNoSection;
  // The NIT version being gathered: which sections have come, and what they hold.
  int pendingVersion_ = -1;
  int pendingLast_ = -1;
  std::vector<bool> pendingHave_;
  std::vector<NitSection> pending_;
  std::vector<NitEntry> entries_;  // of the last whole NIT
  SatelliteIdentity identity_;
};
