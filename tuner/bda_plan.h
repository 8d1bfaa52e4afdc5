// What a BDA satellite tuner is told for one tune and how its readings become percentages,
// decided without Windows. The Win32 side (bda_tuner_win32.cpp) only passes these on.
#pragma once
#include <cstdint>

// Modulation types as the BDA ModulationType enumeration numbers them.
enum class BdaModulation : int32_t { Qpsk = 20, NbcQpsk = 31, Nbc8psk = 32 };
// Polarisation as the BDA Polarisation enumeration numbers it.
enum class BdaPolarisation : int32_t { LinearH = 1, LinearV = 2 };

// The universal LNB's switch: from here up the high oscillator and the 22 kHz tone.
constexpr uint32_t kKuSwitchKHz = 11700000;
constexpr uint32_t kKHzPerMhz = 1000;
// No DiSEqC command for this LNB selection.
constexpr int32_t kNoDiseqcPort = -1;

// The LNB node's three values in kHz, as the tuner's default frequency multiplier wants them.
struct BdaLnb {
  bool set = false;  // nothing sent to the LNB node until the tune operation chose a band
  uint32_t lowKHz = 0;
  uint32_t highKHz = 0;
};

// Everything one tune commits, control node by control node.
struct BdaTuning {
  uint32_t frequencyKHz;
  BdaPolarisation polarisation;
  BdaLnb lnb;
  uint32_t switchKHz;
  uint32_t symbolRate;  // kS/s
  BdaModulation modulation;
  int32_t diseqcPort;  // 0..3 for ports A..D, or kNoDiseqcPort
};

// The oscillators of a SetLnbFrequencies call (MHz, in either order): the lower one serves the
// low band, the higher one the high band. Ku (10600, 9750) gives 9750/10600 MHz, C (5150, 5750)
// 5150/5750 MHz, where 5150 MHz is the one used without the tone.
BdaLnb bdaOscillators(int32_t lo1Mhz, int32_t lo2Mhz);
// The switch frequency that makes the tuner choose the band the tone flag chose: the Ku switch,
// moved just below or above the frequency where the two would disagree (C band, or the kHz
// digits the tune call dropped).
uint32_t bdaSwitchKHz(uint32_t frequencyKHz, int32_t tone);
// LNB1..LNB4 are DiSEqC ports A..D (0..3); None (0), the stored -1 and anything else send nothing.
int32_t diseqcPort(int32_t lnbSelection);
// The modulations tried in turn: DVB-S2 8PSK then QPSK (the NBC types), DVB-S QPSK alone.
BdaModulation bdaModulation(bool dvbS2, uint32_t attempt);

// Remembers the oscillators and counts repeated tunes of one transponder, so each retune after
// a failed lock tries the next modulation.
class BdaTunePlanner {
 public:
  void setLnbFrequencies(int32_t lo1Mhz, int32_t lo2Mhz) { lnb_ = bdaOscillators(lo1Mhz, lo2Mhz); }
  BdaTuning plan(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone, int32_t lnbSelection,
                 bool dvbS2);

 private:
  BdaLnb lnb_;
  int32_t last_[5] = {};
  bool lastS2_ = false;
  bool tunedBefore_ = false;
  uint32_t attempt_ = 0;
};

// Signal strength to percent. IBDA_SignalStatistics documents milli-dB with 0 as the nominal
// strength and weaker signals positive, but many drivers give a percentage instead. A value of 0
// to 100 is taken as a percentage until the tuner has once given a value outside that range;
// from then on every value is milli-dB: nominal and above is 100 %, each kMilliDbPerPercent
// below nominal one percent less, 0 % from kMilliDbAtZeroPercent below.
constexpr int32_t kMilliDbPerPercent = 500;
constexpr int32_t kMilliDbAtZeroPercent = 100 * kMilliDbPerPercent;
class StrengthScale {
 public:
  int32_t percent(int32_t strength);
  bool milliDb() const { return milliDb_; }

 private:
  bool milliDb_ = false;
};
int32_t milliDbToPercent(int32_t milliDbBelowNominal);
// Quality is documented in percent; anything outside is held to 0..100.
int32_t qualityPercent(int32_t quality);
