// The simulated BDA satellite tuner's behaviour, free of Windows: what its committed control
// node settings mean to the simulated card's model, when it locks, what it reports as strength,
// its trace lines and the transport stream it sends while locked.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tunersim/sim_card.h"

namespace tunersim {

// BDA ModulationType numbers the tuner understands.
constexpr int32_t kModulationNotSet = -1;
constexpr int32_t kModulationQpsk = 20;
constexpr int32_t kModulationNbcQpsk = 31;
constexpr int32_t kModulationNbc8psk = 32;
// BDA Polarisation numbers.
constexpr int32_t kPolarisationH = 1;
constexpr int32_t kPolarisationV = 2;
constexpr int32_t kNoPort = -1;

// What a script says about the tuner besides its readings, in lines of their own that the card
// skips: "strength percent" (strength in percent instead of milli-dB below nominal) and
// "s2 <MHz>" (a DVB-S2 transponder, one line each).
struct BdaOptions {
  bool strengthPercent = false;
  std::vector<int32_t> dvbS2Mhz;
};
BdaOptions parseBdaOptions(std::string_view script);

// The control nodes' settings, as put between StartChanges and CommitChanges.
struct BdaSettings {
  uint32_t frequencyKHz = 0;
  int32_t polarisation = 0;
  uint32_t lowKHz = 0;
  uint32_t highKHz = 0;
  uint32_t switchKHz = 0;
  uint32_t symbolRate = 0;  // kS/s
  int32_t modulation = kModulationNotSet;
  int32_t diseqcPort = kNoPort;  // 0..3 = A..D
};

// Hands committed settings to the card model as the maker's card would have been called: the
// tone from frequency against the switch, the oscillator in use from the tone, the band from
// where the oscillator sits (below the frequency on Ku, above it on C).
void applyToCard(const BdaSettings& settings, SimulatedCard& card, int64_t nowMs);
// A DVB-S2 transponder locks only on an NBC modulation, a DVB-S one only on QPSK (or none set).
bool modulationFits(const BdaSettings& settings, const BdaOptions& options);
// The strength the statistics report for a level in percent: milli-dB below nominal, 500 a
// percent (the program's own curve), or the percent itself.
int32_t reportedStrength(int32_t levelPercent, const BdaOptions& options);

// Trace lines, each ending in '\n': one per committed setting, then "Commit"; and at the
// graph's stop the packets the downstream pin took.
std::string traceCommit(int64_t ms, const BdaSettings& settings);
std::string traceStop(int64_t ms, uint64_t packetsTaken);

// Transport stream packets for the output pin. The stream is a source of whole 188-byte packets;
// until the tuner sends tables it sends null packets.
constexpr size_t kPacketSize = 188;
class PacketSource {
 public:
  virtual ~PacketSource() = default;
  // Writes count packets to out (count * kPacketSize bytes).
  virtual void nextPackets(uint8_t* out, size_t count) = 0;
};
class NullPackets final : public PacketSource {
 public:
  void nextPackets(uint8_t* out, size_t count) override;
};

}  // namespace tunersim
