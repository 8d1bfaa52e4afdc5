#include "tuner/tune.h"

#include "core/globals.h"

OscillatorChoice oscillatorChoice(int32_t frequencyKHz) {
  if (frequencyKHz > kKuBandAboveKHz) return OscillatorChoice::KuBand;
  if (frequencyKHz < kCBandBelowKHz) return OscillatorChoice::CBand;
  return OscillatorChoice::Keep;
}

int32_t toneFlag(int32_t frequencyKHz) { return frequencyKHz > kHighBandAboveKHz ? 1 : 0; }

void tuneOperation(Tuner& tuner, const TuneRequest& request) {
  switch (oscillatorChoice(request.frequencyKHz)) {
    case OscillatorChoice::KuBand:
      tuner.setLnbFrequencies(1, kKuLo1Mhz, kKuLo2Mhz);
      break;
    case OscillatorChoice::CBand:
      tuner.setLnbFrequencies(0, kCLo1Mhz, kCLo2Mhz);
      break;
    case OscillatorChoice::Keep:
      break;
  }
  tuner.tune(tuneFrequencyMhz(request.frequencyKHz), request.symbolRate, request.polarization,
             toneFlag(request.frequencyKHz), request.lnbSelection, request.dvbS2);
}

TuneRequest currentTuneRequest() {
  return TuneRequest{readShared(settingsRecord.frequencyKHz), tuningValues.symbolRate, tuningValues.polarization,
                     readShared(settingsRecord.lnbSelection), tuningValues.dvbS2};
}
