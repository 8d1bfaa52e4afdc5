// The simulated card's behaviour, kept free of Windows so it can be tested natively:
// which tunings lock, how the signal moves while a dish is panned, the test script
// that can replace that movement, and the trace lines that record every call.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tunersim {

// What the LNB was last told to use (SetLnbFrequencies). Nothing set: nothing locks.
struct LnbSetting {
  bool set = false;
  int32_t band = 0;  // 1 Ku, 0 C
  int32_t lo1 = 0;   // MHz; on Ku the tone selects it
  int32_t lo2 = 0;   // MHz; on Ku it is used without the tone
};

struct TuneRequest {
  bool set = false;
  int32_t mhz = 0;
  int32_t ksps = 0;
  int32_t polarization = 0;
  int32_t tone = 0;
  int32_t lnb = 0;
};

struct FrequencyRange {
  int32_t lowMhz;
  int32_t highMhz;  // inclusive
};

// The bands this card can receive by default: Ku 10700-12750 MHz and C 3400-4200 MHz.
std::vector<FrequencyRange> defaultReception();

// True when the last tune asked for a received frequency and the oscillator and tone in
// use fit its band: Ku high band (11700 and up) needs 10600 MHz with the tone, Ku low band
// 9750 MHz without it, C band 5150 MHz.
bool tuningFits(const LnbSetting& lnb, const TuneRequest& tune, const std::vector<FrequencyRange>& reception);

struct Reading {
  bool lock = false;
  int32_t level = 0;    // percent
  int32_t quality = 0;  // percent
};

// A dish slowly panned back and forth across the satellite: the pointing error swings
// as a sine of period kPanPeriodMs, crossing the satellite every half period (first at
// kFirstPassMs after the first tune). The beam pattern turns the error into a gain; the
// card locks while the gain is above kLockGain. Quality stays below level; both 0..100.
constexpr int64_t kPanPeriodMs = 40000;
constexpr int64_t kFirstPassMs = 4000;
constexpr double kPanAmplitudeDegrees = 6.0;
constexpr double kBeamWidthDegrees = 2.0;  // full width at half power
constexpr double kLockGain = 0.05;
// Gain 0..1 of the beam pattern for a pointing error in degrees.
double beamGain(double errorDegrees);
// The panned dish's reading msSinceTune after the first tune; deterministic in time.
Reading pannedDishReading(int64_t msSinceTune);

// Script mode: lines "<ms> <lock> <level> <quality>", optionally followed by "<read ms>", how
// long each ReadSignal takes while the line holds (a card whose driver is slow to answer).
// Each line holds from its time (counted from the first tune) until the next line's time; the
// last holds for ever. Blank lines and lines starting with '#' are skipped, and so are
// malformed lines. A line "<ms> crash" makes every ReadSignal from then on crash, as a faulty
// driver would.
struct ScriptLine {
  int64_t ms = 0;
  Reading reading;
  int64_t readMs = 0;
  bool crash = false;
};
using Script = std::vector<ScriptLine>;
// Lines come back ordered by time; lines with equal times keep their file order.
Script parseScript(std::string_view text);
// Before the first line's time: unlocked, no signal.
Reading scriptReading(const Script& script, int64_t msSinceTune);
// How long a read takes at that time; 0 before the first line.
int64_t scriptReadMs(const Script& script, int64_t msSinceTune);
// Whether the line holding at that time is a crash line.
bool scriptCrashes(const Script& script, int64_t msSinceTune);

// The card itself: remembers the last oscillator setting and tune, and answers reads.
class SimulatedCard {
 public:
  SimulatedCard();
  void useScript(Script script);
  void setLnbFrequencies(int32_t band, int32_t lo1, int32_t lo2);
  void tune(const TuneRequest& request, int64_t nowMs);
  // Unlocked reads report 0 for level and quality.
  Reading readSignal(int64_t nowMs) const;
  // How long a read that starts now takes (only a script makes reads slow).
  int64_t readDelayMs(int64_t nowMs) const;
  // Whether a read that starts now crashes (only a script's crash line does that).
  bool readCrashes(int64_t nowMs) const;

 private:
  std::vector<FrequencyRange> reception_;
  LnbSetting lnb_;
  TuneRequest lastTune_;
  bool tuned_ = false;
  int64_t firstTuneMs_ = 0;
  bool scripted_ = false;
  Script script_;
};

// Trace lines, each ending in '\n'. <ms> counts from the DLL's load.
std::string traceSetLnbFrequencies(int64_t ms, int32_t band, int32_t lo1, int32_t lo2);
std::string traceTune(int64_t ms, const TuneRequest& request);
std::string traceReadSignal(int64_t ms, const Reading& reading);
std::string traceRelease(int64_t ms);

}  // namespace tunersim
