// The card as the tune operation and the poll thread see it, and the tune operation itself.
// The Win32 side adapts the card maker's COM interface to Tuner; tests use a fake.
#pragma once
#include <cstdint>

class Tuner {
 public:
  virtual ~Tuner() = default;
  // band 1 Ku, 0 C; oscillator frequencies in MHz.
  virtual void setLnbFrequencies(int32_t band, int32_t lo1Mhz, int32_t lo2Mhz) = 0;
  // polarization 1 H/L, 0 V/R; tone 1 on; lnb as stored in the settings (0..4, or -1).
  virtual void tune(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone,
                    int32_t lnbSelection) = 0;
  // Writes lock on every call; level and quality (percent) only when locked.
  virtual void readSignal(uint8_t* lock, int32_t* level, int32_t* quality) = 0;
};

// Band edges in kHz. Above the Ku edge the universal LNB's oscillators are set; below the C
// edge the C-band ones; in between the card keeps whatever it was last given.
constexpr int32_t kKuBandAboveKHz = 10699000;
constexpr int32_t kCBandBelowKHz = 4201000;
constexpr int32_t kHighBandAboveKHz = 11699000;
constexpr int32_t kKuLo1Mhz = 10600;
constexpr int32_t kKuLo2Mhz = 9750;
constexpr int32_t kCLo1Mhz = 5150;
constexpr int32_t kCLo2Mhz = 5750;

enum class OscillatorChoice { Keep, KuBand, CBand };

// Everything the tune operation sends to the card for one transponder.
struct TuneRequest {
  int32_t frequencyKHz;
  int32_t symbolRate;
  int32_t polarization;
  int32_t lnbSelection;
};

OscillatorChoice oscillatorChoice(int32_t frequencyKHz);
int32_t toneFlag(int32_t frequencyKHz);
// kHz to MHz truncated toward zero: the kHz digits are dropped, as the card expects whole MHz.
inline int32_t tuneFrequencyMhz(int32_t frequencyKHz) { return frequencyKHz / 1000; }

// The tune operation: oscillators when the band needs them, then one tune call. Never fails,
// so it always returns false (callers treat true as "do not go on").
bool tuneOperation(Tuner& tuner, const TuneRequest& request);
// The current transponder: frequency and LNB from the settings record, the rest from the parse.
TuneRequest currentTuneRequest();
