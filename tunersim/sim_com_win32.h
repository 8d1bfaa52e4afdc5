// What both simulated tuners' COM servers share: the script and trace files the environment
// names, the time since the DLL's load, and their registry keys.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <string>

namespace tunersim {

// The body of each simulator's DllMain: notes the load on process attach.
BOOL attachDll(HINSTANCE instance, DWORD reason);
// The body of each simulator's DllGetClassObject: the one class it serves, through its factory.
HRESULT classObject(REFCLSID asked, REFCLSID served, IClassFactory& factory, REFIID iid, void** out);
HMODULE loadedModule();
int64_t msSinceLoad();
// True when QUORVAN_SIM_SCRIPT names a script; text is then the file's text (empty when it
// cannot be read).
bool namedScript(std::string* text);
// Appends to the file QUORVAN_SIM_TRACE names, one open and close per call.
void traceLine(const std::string& line);
// HKCR\CLSID\{...} with the DLL as its in-process server, both threading models.
bool registerClass(const CLSID& id, const char* description);
bool unregisterClass(const CLSID& id);

}  // namespace tunersim

namespace tunersim {

// Objects alive and LockServer locks held, for DllCanUnloadNow.
extern std::atomic<long> liveObjects;
extern std::atomic<long> serverLocks;
bool canUnload();

// The factory is static; its count only keeps the server loaded. Object starts with one
// reference of its own, which CreateInstance hands over through QueryInterface.
template <class Object>
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
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Object* object = new (std::nothrow) Object();
    if (object == nullptr) return E_OUTOFMEMORY;
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
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

}  // namespace tunersim
