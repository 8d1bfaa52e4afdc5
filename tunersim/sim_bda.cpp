#include "tunersim/sim_bda.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace tunersim {

namespace {

constexpr int32_t kMilliDbPerPercent = 500;
constexpr uint32_t kKHzPerMhz = 1000;
constexpr uint8_t kSyncByte = 0x47;
constexpr uint16_t kNullPid = 0x1FFF;

std::string_view nextWord(std::string_view& line) {
  const size_t start = line.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return {};
  line.remove_prefix(start);
  const size_t end = std::min(line.find_first_of(" \t\r"), line.size());
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(end);
  return word;
}

const char* modulationName(int32_t modulation) {
  switch (modulation) {
    case kModulationQpsk: return "QPSK";
    case kModulationNbcQpsk: return "NBC-QPSK";
    case kModulationNbc8psk: return "NBC-8PSK";
    case kModulationNotSet: return "none";
    default: return "other";
  }
}

}  // namespace

BdaOptions parseBdaOptions(std::string_view script) {
  BdaOptions options;
  while (!script.empty()) {
    const size_t end = script.find('\n');
    std::string_view line = script.substr(0, end);
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    const std::string_view word = nextWord(line);
    const std::string_view value = nextWord(line);
    if (word == "strength" && value == "percent") options.strengthPercent = true;
    int32_t mhz = 0;
    if (word == "s2" && std::from_chars(value.data(), value.data() + value.size(), mhz).ec == std::errc())
      options.dvbS2Mhz.push_back(mhz);
  }
  return options;
}

void applyToCard(const BdaSettings& settings, SimulatedCard& card, int64_t nowMs) {
  const int32_t tone = settings.switchKHz != 0 && settings.frequencyKHz >= settings.switchKHz ? 1 : 0;
  const uint32_t inUse = tone != 0 ? settings.highKHz : settings.lowKHz;
  const uint32_t other = tone != 0 ? settings.lowKHz : settings.highKHz;
  if (settings.lowKHz != 0) {
    const int32_t ku = settings.lowKHz < settings.frequencyKHz ? 1 : 0;
    // The card's Ku oscillators are (high, low) and chosen by the tone; on C it uses the first.
    if (ku != 0)
      card.setLnbFrequencies(1, static_cast<int32_t>(settings.highKHz / kKHzPerMhz),
                             static_cast<int32_t>(settings.lowKHz / kKHzPerMhz));
    else
      card.setLnbFrequencies(0, static_cast<int32_t>(inUse / kKHzPerMhz), static_cast<int32_t>(other / kKHzPerMhz));
  }
  TuneRequest request;
  request.set = true;
  request.mhz = static_cast<int32_t>(settings.frequencyKHz / kKHzPerMhz);
  request.ksps = static_cast<int32_t>(settings.symbolRate);
  request.polarization = settings.polarisation == kPolarisationH ? 1 : 0;
  request.tone = tone;
  request.lnb = settings.diseqcPort + 1;
  card.tune(request, nowMs);
}

bool modulationFits(const BdaSettings& settings, const BdaOptions& options) {
  const int32_t mhz = static_cast<int32_t>(settings.frequencyKHz / kKHzPerMhz);
  const bool dvbS2 = std::find(options.dvbS2Mhz.begin(), options.dvbS2Mhz.end(), mhz) != options.dvbS2Mhz.end();
  if (dvbS2) return settings.modulation == kModulationNbcQpsk || settings.modulation == kModulationNbc8psk;
  return settings.modulation == kModulationQpsk || settings.modulation == kModulationNotSet;
}

int32_t reportedStrength(int32_t levelPercent, const BdaOptions& options) {
  if (options.strengthPercent) return levelPercent;
  return (100 - std::clamp(levelPercent, 0, 100)) * kMilliDbPerPercent;
}

std::string traceCommit(int64_t ms, const BdaSettings& settings) {
  const long long at = static_cast<long long>(ms);
  char port[8] = "none";
  if (settings.diseqcPort >= 0) std::snprintf(port, sizeof(port), "%c", 'A' + settings.diseqcPort);
  char text[512];
  std::snprintf(text, sizeof(text),
                "%lld Frequency %u\n%lld Polarisation %s\n%lld LowOscillator %u\n%lld HighOscillator %u\n"
                "%lld Switch %u\n%lld SymbolRate %u\n%lld Modulation %s\n%lld DiseqcPort %s\n%lld Commit\n",
                at, settings.frequencyKHz, at, settings.polarisation == kPolarisationH ? "H" : "V", at, settings.lowKHz,
                at, settings.highKHz, at, settings.switchKHz, at, settings.symbolRate, at,
                modulationName(settings.modulation), at, port, at);
  return text;
}

std::string traceStop(int64_t ms, uint64_t packetsTaken) {
  char line[64];
  std::snprintf(line, sizeof(line), "%lld Stop %llu\n", static_cast<long long>(ms),
                static_cast<unsigned long long>(packetsTaken));
  return line;
}

void NullPackets::nextPackets(uint8_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i, out += kPacketSize) {
    std::memset(out, 0xFF, kPacketSize);
    out[0] = kSyncByte;
    out[1] = static_cast<uint8_t>(kNullPid >> 8);
    out[2] = static_cast<uint8_t>(kNullPid & 0xFF);
    out[3] = 0x10;  // payload only, continuity counter 0 (null packets carry none)
  }
}

}  // namespace tunersim
