// The tune operation: which oscillators and tone a frequency needs, and the one tune call.
#pragma once
#include <cstdint>

#include "tuner/tuner.h"

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
  bool dvbS2 = false;
};

OscillatorChoice oscillatorChoice(int32_t frequencyKHz);
int32_t toneFlag(int32_t frequencyKHz);
// kHz to MHz truncated toward zero: the kHz digits are dropped, as the card expects whole MHz.
inline int32_t tuneFrequencyMhz(int32_t frequencyKHz) { return frequencyKHz / 1000; }

// Oscillators when the band needs them, then one tune call. Nothing the card answers is
// examined, so it cannot fail.
void tuneOperation(Tuner& tuner, const TuneRequest& request);
// The current transponder: frequency and LNB from the settings record, the rest from the parse.
TuneRequest currentTuneRequest();
