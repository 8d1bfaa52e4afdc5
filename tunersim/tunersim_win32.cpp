// The simulated card as an in-process COM server standing in for the card maker's
// source filter: one object offering IBaseFilter and TunerControl, registered under the
// filter's class id. Its behaviour lives in sim_card.*; this file is the COM and file glue.
#include <windows.h>
#include <olectl.h>
#include <strmif.h>

#include <atomic>
#include <new>
#include <cstdio>
#include <string>

#include "tuner/tuner_control_win32.h"
#include "tunersim/sim_card.h"
#include "tunersim/sim_com_win32.h"

namespace {

using tunersim::liveObjects;
using tunersim::msSinceLoad;
using tunersim::traceLine;

// Where a script's crash line writes: volatile, so the compiler cannot see it is null and the
// write stays a real access violation.
int* volatile crashTarget = nullptr;

// A function of its own, so that the optimiser cannot move the write into a cold part of
// ReadSignal whose lines read back as the function's first line.
__attribute__((noinline)) void crashLikeAFaultyDriver() {
  *crashTarget = 1;
}

class SimulatedFilter final : public IBaseFilter, public TunerControl {
 public:
  SimulatedFilter() {
    InitializeCriticalSection(&lock_);
    // An unreadable script plays as one long silence, so a broken test setup shows no signal.
    std::string script;
    if (tunersim::namedScript(&script)) card_.useScript(tunersim::parseScript(script));
    ++liveObjects;
  }
  ~SimulatedFilter() {
    DeleteCriticalSection(&lock_);
    --liveObjects;
  }

  // IUnknown, shared by both interfaces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
      *out = static_cast<IBaseFilter*>(this);
    } else if (iid == kTunerControlIid) {
      *out = static_cast<TunerControl*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      traceLine(tunersim::traceRelease(msSinceLoad()));
      delete this;
    }
    return left;
  }

  // IPersist, IMediaFilter, IBaseFilter: a source filter nobody puts in a graph.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
    if (id == nullptr) return E_POINTER;
    *id = kSourceFilterClsid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

  // TunerControl.
  HRESULT STDMETHODCALLTYPE SetLnbFrequencies(LONG band, LONG lo1, LONG lo2) override {
    EnterCriticalSection(&lock_);
    card_.setLnbFrequencies(band, lo1, lo2);
    traceLine(tunersim::traceSetLnbFrequencies(msSinceLoad(), band, lo1, lo2));
    LeaveCriticalSection(&lock_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unused4() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Tune(LONG mhz, LONG ksps, LONG polarization, LONG tone, LONG lnb) override {
    EnterCriticalSection(&lock_);
    const tunersim::TuneRequest request{true, mhz, ksps, polarization, tone, lnb};
    const int64_t now = msSinceLoad();
    card_.tune(request, now);
    traceLine(tunersim::traceTune(now, request));
    LeaveCriticalSection(&lock_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unused6() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unused7() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unused8() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unused9() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ReadSignal(BYTE* lock, LONG* level, LONG* quality) override {
    if (lock == nullptr || level == nullptr || quality == nullptr) return E_POINTER;
    EnterCriticalSection(&lock_);
    const int64_t delay = card_.readDelayMs(msSinceLoad());
    const bool crash = card_.readCrashes(msSinceLoad());
    LeaveCriticalSection(&lock_);
    if (crash) crashLikeAFaultyDriver();  // the script's crash line
    if (delay > 0) Sleep(static_cast<DWORD>(delay));  // a slow driver: the caller waits in here
    EnterCriticalSection(&lock_);
    const int64_t now = msSinceLoad();
    const tunersim::Reading reading = card_.readSignal(now);
    *lock = reading.lock ? 1 : 0;
    *level = reading.level;
    *quality = reading.quality;
    traceLine(tunersim::traceReadSignal(now, reading));
    LeaveCriticalSection(&lock_);
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{1};
  CRITICAL_SECTION lock_;
  tunersim::SimulatedCard card_;
};

tunersim::ClassFactory<SimulatedFilter> classFactory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return tunersim::attachDll(instance, reason);
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  return tunersim::classObject(classId, kSourceFilterClsid, classFactory, iid, out);
}

STDAPI DllCanUnloadNow() { return tunersim::canUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  return tunersim::registerClass(kSourceFilterClsid, "Simulated DVB-S tuner (Quorvan)") ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  return tunersim::unregisterClass(kSourceFilterClsid) ? S_OK : SELFREG_E_CLASS;
}
