#include "tuner/bda_plan.h"

#include <algorithm>

BdaLnb bdaOscillators(int32_t lo1Mhz, int32_t lo2Mhz) {
  const uint32_t a = static_cast<uint32_t>(std::max(lo1Mhz, 0)) * kKHzPerMhz;
  const uint32_t b = static_cast<uint32_t>(std::max(lo2Mhz, 0)) * kKHzPerMhz;
  return BdaLnb{true, std::min(a, b), std::max(a, b)};
}

uint32_t bdaSwitchKHz(uint32_t frequencyKHz, int32_t tone) {
  if (tone != 0 && frequencyKHz < kKuSwitchKHz) return frequencyKHz;
  if (tone == 0 && frequencyKHz >= kKuSwitchKHz) return frequencyKHz + kKHzPerMhz;
  return kKuSwitchKHz;
}

int32_t diseqcPort(int32_t lnbSelection) {
  if (lnbSelection < 1 || lnbSelection > 4) return kNoDiseqcPort;
  return lnbSelection - 1;
}

BdaModulation bdaModulation(bool dvbS2, uint32_t attempt) {
  if (!dvbS2) return BdaModulation::Qpsk;
  return attempt % 2 == 0 ? BdaModulation::Nbc8psk : BdaModulation::NbcQpsk;
}

BdaTuning BdaTunePlanner::plan(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone,
                               int32_t lnbSelection, bool dvbS2) {
  const int32_t call[5] = {frequencyMhz, symbolRate, polarization, tone, lnbSelection};
  const bool again = tunedBefore_ && dvbS2 == lastS2_ && std::equal(call, call + 5, last_);
  attempt_ = again ? attempt_ + 1 : 0;
  std::copy(call, call + 5, last_);
  lastS2_ = dvbS2;
  tunedBefore_ = true;
  const uint32_t frequencyKHz = static_cast<uint32_t>(std::max(frequencyMhz, 0)) * kKHzPerMhz;
  return BdaTuning{frequencyKHz,
                   polarization == 1 ? BdaPolarisation::LinearH : BdaPolarisation::LinearV,
                   lnb_,
                   bdaSwitchKHz(frequencyKHz, tone),
                   static_cast<uint32_t>(std::max(symbolRate, 0)),
                   bdaModulation(dvbS2, attempt_),
                   diseqcPort(lnbSelection)};
}

int32_t milliDbToPercent(int32_t milliDbBelowNominal) {
  if (milliDbBelowNominal <= 0) return 100;
  if (milliDbBelowNominal >= kMilliDbAtZeroPercent) return 0;
  return 100 - milliDbBelowNominal / kMilliDbPerPercent;
}

int32_t StrengthScale::percent(int32_t strength) {
  if (strength < 0 || strength > 100) milliDb_ = true;
  return milliDb_ ? milliDbToPercent(strength) : strength;
}

int32_t qualityPercent(int32_t quality) { return std::clamp(quality, 0, 100); }
