#include "tunersim/sim_card.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tunersim {

namespace {

constexpr int32_t kKuHighBandStartMhz = 11700;
constexpr int32_t kKuLowBandStartMhz = 10700;
constexpr int32_t kKuHighOscillatorMhz = 10600;
constexpr int32_t kKuLowOscillatorMhz = 9750;
constexpr int32_t kCBandOscillatorMhz = 5150;
constexpr int32_t kCBandTopMhz = 4200;
constexpr double kPi = 3.14159265358979323846;

bool received(int32_t mhz, const std::vector<FrequencyRange>& reception) {
  for (const FrequencyRange& range : reception)
    if (mhz >= range.lowMhz && mhz <= range.highMhz) return true;
  return false;
}

// The oscillator a band and tone select, as a universal LNB (Ku) or a C-band LNB would.
int32_t oscillatorInUse(const LnbSetting& lnb, int32_t tone) {
  if (lnb.band == 0) return lnb.lo1;
  return tone != 0 ? lnb.lo1 : lnb.lo2;
}

// Small deterministic noise of -2..2 for a 100 ms time slot, so runs repeat exactly.
int32_t noise(int64_t msSinceTune, uint32_t salt) {
  uint32_t x = static_cast<uint32_t>(msSinceTune / 100) * 2654435761u ^ salt;
  x ^= x >> 15;
  x *= 2246822519u;
  x ^= x >> 13;
  return static_cast<int32_t>(x % 5) - 2;
}

int32_t clampPercent(double value) {
  return static_cast<int32_t>(std::clamp(std::lround(value), 0L, 100L));
}

// Whole decimal number (optionally negative) at the front of text; advances past it.
bool takeNumber(std::string_view& text, int64_t* value) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  text.remove_prefix(start);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  if (error != std::errc() || (end != text.data() + text.size() && *end != ' ' && *end != '\t' && *end != '\r'))
    return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

// Longer than any test waits for one read; keeps a typo from hanging the caller for days.
constexpr int64_t kLongestReadMs = 60000;

constexpr std::string_view kCrashWord = "crash";

// "<ms> crash", spaces around the word allowed.
bool parseCrashLine(std::string_view line, ScriptLine* out) {
  int64_t ms = 0;
  if (!takeNumber(line, &ms) || ms < 0) return false;
  const size_t start = line.find_first_not_of(" \t");
  const size_t end = line.find_last_not_of(" \t\r");
  if (start == std::string_view::npos || line.substr(start, end - start + 1) != kCrashWord) return false;
  *out = ScriptLine{};
  out->ms = ms;
  out->crash = true;
  return true;
}

bool parseScriptLine(std::string_view line, ScriptLine* out) {
  if (parseCrashLine(line, out)) return true;
  int64_t fields[5] = {};
  for (int i = 0; i < 4; ++i)
    if (!takeNumber(line, &fields[i])) return false;
  if (line.find_first_not_of(" \t\r") != std::string_view::npos && !takeNumber(line, &fields[4])) return false;
  if (line.find_first_not_of(" \t\r") != std::string_view::npos) return false;
  if (fields[0] < 0 || fields[2] < INT32_MIN || fields[2] > INT32_MAX || fields[3] < INT32_MIN || fields[3] > INT32_MAX)
    return false;
  if (fields[4] < 0 || fields[4] > kLongestReadMs) return false;
  out->ms = fields[0];
  out->reading = {fields[1] != 0, static_cast<int32_t>(fields[2]), static_cast<int32_t>(fields[3])};
  out->readMs = fields[4];
  return true;
}

}  // namespace

std::vector<FrequencyRange> defaultReception() { return {{10700, 12750}, {3400, 4200}}; }

bool tuningFits(const LnbSetting& lnb, const TuneRequest& tune, const std::vector<FrequencyRange>& reception) {
  if (!lnb.set || !tune.set || !received(tune.mhz, reception)) return false;
  const int32_t oscillator = oscillatorInUse(lnb, tune.tone);
  if (tune.mhz >= kKuHighBandStartMhz)
    return lnb.band == 1 && tune.tone != 0 && oscillator == kKuHighOscillatorMhz;
  if (tune.mhz >= kKuLowBandStartMhz) return lnb.band == 1 && tune.tone == 0 && oscillator == kKuLowOscillatorMhz;
  if (tune.mhz <= kCBandTopMhz) return lnb.band == 0 && oscillator == kCBandOscillatorMhz;
  return false;
}

double beamGain(double errorDegrees) {
  const double relative = errorDegrees / kBeamWidthDegrees;
  return std::exp(-4.0 * std::log(2.0) * relative * relative);
}

Reading pannedDishReading(int64_t msSinceTune) {
  const double phase = kPi * static_cast<double>(msSinceTune - kFirstPassMs) / (kPanPeriodMs / 2.0);
  const double gain = beamGain(kPanAmplitudeDegrees * std::sin(phase));
  if (gain < kLockGain) return {};
  Reading reading;
  reading.lock = true;
  reading.level = clampPercent(20.0 + 78.0 * gain + noise(msSinceTune, 0x1EE1u));
  reading.quality = clampPercent(95.0 * std::pow(gain, 1.5) + noise(msSinceTune, 0x0A11u));
  if (reading.quality >= reading.level) reading.quality = std::max(0, reading.level - 1);
  return reading;
}

Script parseScript(std::string_view text) {
  Script script;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    ScriptLine parsed;
    if (parseScriptLine(line, &parsed)) script.push_back(parsed);
  }
  std::stable_sort(script.begin(), script.end(), [](const ScriptLine& a, const ScriptLine& b) { return a.ms < b.ms; });
  return script;
}

Reading scriptReading(const Script& script, int64_t msSinceTune) {
  Reading reading;
  for (const ScriptLine& line : script) {
    if (line.ms > msSinceTune) break;
    reading = line.reading;
  }
  return reading;
}

int64_t scriptReadMs(const Script& script, int64_t msSinceTune) {
  int64_t readMs = 0;
  for (const ScriptLine& line : script) {
    if (line.ms > msSinceTune) break;
    readMs = line.readMs;
  }
  return readMs;
}

bool scriptCrashes(const Script& script, int64_t msSinceTune) {
  bool crash = false;
  for (const ScriptLine& line : script) {
    if (line.ms > msSinceTune) break;
    crash = line.crash;
  }
  return crash;
}

SimulatedCard::SimulatedCard() : reception_(defaultReception()) {}

void SimulatedCard::useScript(Script script) {
  scripted_ = true;
  script_ = std::move(script);
}

void SimulatedCard::setLnbFrequencies(int32_t band, int32_t lo1, int32_t lo2) { lnb_ = {true, band, lo1, lo2}; }

void SimulatedCard::tune(const TuneRequest& request, int64_t nowMs) {
  lastTune_ = request;
  lastTune_.set = true;
  if (!tuned_) firstTuneMs_ = nowMs;
  tuned_ = true;
}

Reading SimulatedCard::readSignal(int64_t nowMs) const {
  if (!tuningFits(lnb_, lastTune_, reception_)) return {};
  const int64_t sinceTune = nowMs - firstTuneMs_;
  const Reading reading = scripted_ ? scriptReading(script_, sinceTune) : pannedDishReading(sinceTune);
  if (!reading.lock) return {};
  return reading;
}

int64_t SimulatedCard::readDelayMs(int64_t nowMs) const {
  if (!scripted_ || !tuned_) return 0;
  return scriptReadMs(script_, nowMs - firstTuneMs_);
}

bool SimulatedCard::readCrashes(int64_t nowMs) const {
  return scripted_ && tuned_ && scriptCrashes(script_, nowMs - firstTuneMs_);
}

std::string traceSetLnbFrequencies(int64_t ms, int32_t band, int32_t lo1, int32_t lo2) {
  char line[96];
  std::snprintf(line, sizeof(line), "%lld SetLnbFrequencies %d %d %d\n", static_cast<long long>(ms), band, lo1, lo2);
  return line;
}

std::string traceTune(int64_t ms, const TuneRequest& request) {
  char line[128];
  std::snprintf(line, sizeof(line), "%lld Tune %d %d %d %d %d\n", static_cast<long long>(ms), request.mhz, request.ksps,
                request.polarization, request.tone, request.lnb);
  return line;
}

std::string traceReadSignal(int64_t ms, const Reading& reading) {
  char line[96];
  std::snprintf(line, sizeof(line), "%lld ReadSignal %d %d %d\n", static_cast<long long>(ms), reading.lock ? 1 : 0,
                reading.level, reading.quality);
  return line;
}

std::string traceRelease(int64_t ms) {
  char line[48];
  std::snprintf(line, sizeof(line), "%lld Release\n", static_cast<long long>(ms));
  return line;
}

}  // namespace tunersim
