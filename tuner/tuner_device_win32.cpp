// The card maker's source filter and its tuner interface, created through COM once at
// start-up and released at shutdown.
#include "tuner/tuner_device_win32.h"

#include "window/message_dialog.h"
#include "window/message_dialog_win32.h"

IBaseFilter* sourceFilter = nullptr;
TunerControl* tunerControl = nullptr;

namespace {
// CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER: the filter is a DLL in our process.
constexpr DWORD kFilterContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
static_assert(kFilterContext == 3);
}  // namespace

bool openTuner() {
  void* filter = nullptr;
  if (FAILED(CoCreateInstance(kSourceFilterClsid, nullptr, kFilterContext, IID_IBaseFilter, &filter)) ||
      filter == nullptr) {
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
  if (tunerControl == nullptr) return;
  tunerControl->Release();
  tunerControl = nullptr;
}

void releaseSourceFilter() {
  if (sourceFilter == nullptr) return;
  sourceFilter->Release();
  sourceFilter = nullptr;
}
