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

namespace {

HMODULE thisModule = nullptr;
ULONGLONG loadTickMs = 0;
std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};
constexpr const char* kScriptVariable = "QUORVAN_SIM_SCRIPT";
constexpr const char* kTraceVariable = "QUORVAN_SIM_TRACE";
// Where a script's crash line writes: volatile, so the compiler cannot see it is null and the
// write stays a real access violation.
int* volatile crashTarget = nullptr;

// A function of its own, so that the optimiser cannot move the write into a cold part of
// ReadSignal whose lines read back as the function's first line.
__attribute__((noinline)) void crashLikeAFaultyDriver() {
  *crashTarget = 1;
}

int64_t msSinceLoad() { return static_cast<int64_t>(GetTickCount64() - loadTickMs); }

std::string environmentValue(const char* name) {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  if (length == 0 || length >= sizeof(value)) return {};
  return std::string(value, length);
}

// One open, append and close per line, so every line is on disk before the call returns
// and a crash of the program loses nothing.
void traceLine(const std::string& line) {
  const std::string path = environmentValue(kTraceVariable);
  if (path.empty()) return;
  FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fflush(file);
  std::fclose(file);
}

// An unreadable script plays as one long silence, so a broken test setup shows no signal.
tunersim::Script loadScript(const std::string& path) {
  std::string text;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return tunersim::parseScript(text);
}

class SimulatedFilter final : public IBaseFilter, public TunerControl {
 public:
  SimulatedFilter() {
    InitializeCriticalSection(&lock_);
    const std::string scriptPath = environmentValue(kScriptVariable);
    if (!scriptPath.empty()) card_.useScript(loadScript(scriptPath));
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

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // The factory is static; its count only keeps the server loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    SimulatedFilter* filter = new (std::nothrow) SimulatedFilter();
    if (filter == nullptr) return E_OUTOFMEMORY;
    const HRESULT result = filter->QueryInterface(iid, out);
    filter->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ++serverLocks;
    else
      --serverLocks;
    return S_OK;
  }
};

ClassFactory classFactory;

std::string classKeyPath() {
  wchar_t wide[64];
  StringFromGUID2(kSourceFilterClsid, wide, 64);
  char narrow[64];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
  return std::string("CLSID\\") + narrow;
}

bool setKeyValue(const std::string& keyPath, const char* name, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    loadTickMs = GetTickCount64();
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (classId != kSourceFilterClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return classFactory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return liveObjects.load() == 0 && serverLocks.load() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(thisModule, path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) return SELFREG_E_CLASS;
  const std::string classKey = classKeyPath();
  if (!setKeyValue(classKey, nullptr, "Simulated DVB-S tuner (Quorvan)") ||
      !setKeyValue(classKey + "\\InprocServer32", nullptr, path) ||
      !setKeyValue(classKey + "\\InprocServer32", "ThreadingModel", "Both"))
    return SELFREG_E_CLASS;
  return S_OK;
}

STDAPI DllUnregisterServer() {
  const LONG result = RegDeleteTreeA(HKEY_CLASSES_ROOT, classKeyPath().c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
