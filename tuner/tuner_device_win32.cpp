// The tuner, opened once at start-up and released at shutdown: the card maker's source filter
// and its tuner interface through COM, or, only when that filter's class is not registered,
// the first BDA satellite tuner the system device enumerator lists.
#include "tuner/tuner_device_win32.h"

#include <string>

#include "core/debug_log_win32.h"
#include "tuner/bda_tuner_win32.h"
#include "window/message_dialog.h"
#include "window/message_dialog_win32.h"

IBaseFilter* sourceFilter = nullptr;
TunerControl* tunerControl = nullptr;

namespace {
// CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER: the filter is a DLL in our process.
constexpr DWORD kFilterContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
static_assert(kFilterContext == 3);
constexpr const char* kTunerNotePrefix = "tuner ";
constexpr const char* kAboutTunerLabel = "Tuner: ";

// The card's results are never examined: only the lock byte says whether it is tuned.
// Without an interface (never the case once the message loop runs) the card reads as unlocked.
class CardTuner final : public Tuner {
 public:
  void setLnbFrequencies(int32_t band, int32_t lo1Mhz, int32_t lo2Mhz) override {
    if (tunerControl != nullptr) tunerControl->SetLnbFrequencies(band, lo1Mhz, lo2Mhz);
  }
  void tune(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone, int32_t lnbSelection,
            bool) override {
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
BdaTuner bdaTuner;

bool openBdaTuner() {
  if (!bdaTuner.open()) return false;
  appendLogNote(std::string(kTunerNotePrefix) + bdaTuner.name());
  return true;
}

}  // namespace

Tuner& tunerInUse() {
  if (bdaTuner.isOpen()) return bdaTuner;
  return cardTuner;
}

void setTransportStreamReader(TransportStreamReader* reader) {
  if (bdaTuner.isOpen() && bdaTuner.sink() != nullptr) bdaTuner.sink()->setReader(reader);
}

std::string tunerNote() { return bdaTuner.isOpen() ? std::string(kAboutTunerLabel) + bdaTuner.name() : std::string(); }

bool openTuner() {
  void* filter = nullptr;
  const HRESULT created = CoCreateInstance(kSourceFilterClsid, nullptr, kFilterContext, IID_IBaseFilter, &filter);
  if (FAILED(created) || filter == nullptr) {
    if (created == REGDB_E_CLASSNOTREG && openBdaTuner()) return true;
    showMessage(kMessageNoFilter);
    return false;
  }
  sourceFilter = static_cast<IBaseFilter*>(filter);
  void* control = nullptr;
  if (FAILED(sourceFilter->QueryInterface(kTunerControlIid, &control)) || control == nullptr) return false;
  tunerControl = static_cast<TunerControl*>(control);
  return true;
}

void releaseTunerInterface() {
  bdaTuner.releaseNodes();
  if (tunerControl == nullptr) return;
  tunerControl->Release();
  tunerControl = nullptr;
}

void releaseSourceFilter() {
  bdaTuner.releaseGraph();
  if (sourceFilter == nullptr) return;
  sourceFilter->Release();
  sourceFilter = nullptr;
}
