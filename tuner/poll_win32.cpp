// The tune operation and the poll thread on the card maker's tuner interface.
#include "tuner/poll_win32.h"

#include "core/env_win32.h"
#include "core/globals.h"
#include "tuner/poll.h"
#include "tuner/tune.h"
#include "tuner/tuner_control_win32.h"
#include "tuner/tuner_device_win32.h"

namespace {

// The card's results are never examined: only the lock byte says whether it is tuned.
// Without an interface (never the case once the message loop runs) the card reads as unlocked.
class CardTuner final : public Tuner {
 public:
  void setLnbFrequencies(int32_t band, int32_t lo1Mhz, int32_t lo2Mhz) override {
    if (tunerControl != nullptr) tunerControl->SetLnbFrequencies(band, lo1Mhz, lo2Mhz);
  }
  void tune(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone,
            int32_t lnbSelection) override {
    if (tunerControl != nullptr) tunerControl->Tune(frequencyMhz, symbolRate, polarization, tone, lnbSelection);
  }
  void readSignal(uint8_t* lock, int32_t* level, int32_t* quality) override {
    BYTE lockByte = 0;
    LONG levelValue = *level;
    LONG qualityValue = *quality;
    if (tunerControl != nullptr) tunerControl->ReadSignal(&lockByte, &levelValue, &qualityValue);
    *lock = lockByte;
    *level = levelValue;
    *quality = qualityValue;
  }
};

CardTuner cardTuner;

}  // namespace

void tuneOperation() { tuneOperation(cardTuner, currentTuneRequest()); }

DWORD WINAPI pollThread(LPVOID) {
  runPollThread(cardTuner, watchStopEvent(), signalState, currentTuneRequest);
  return 0;
}
