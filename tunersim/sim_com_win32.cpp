#include "tunersim/sim_com_win32.h"

#include <cstdio>

namespace tunersim {

std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};

namespace {

HMODULE thisModule = nullptr;
ULONGLONG loadTickMs = 0;
constexpr const char* kScriptVariable = "QUORVAN_SIM_SCRIPT";
constexpr const char* kTraceVariable = "QUORVAN_SIM_TRACE";

std::string environmentValue(const char* name) {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  if (length == 0 || length >= sizeof(value)) return {};
  return std::string(value, length);
}

std::string classKeyPath(const CLSID& id) {
  wchar_t wide[64];
  StringFromGUID2(id, wide, 64);
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

bool canUnload() { return liveObjects.load() == 0 && serverLocks.load() == 0; }

BOOL attachDll(HINSTANCE instance, DWORD reason) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    loadTickMs = GetTickCount64();
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT classObject(REFCLSID asked, REFCLSID served, IClassFactory& factory, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (asked != served) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, out);
}

HMODULE loadedModule() { return thisModule; }

int64_t msSinceLoad() { return static_cast<int64_t>(GetTickCount64() - loadTickMs); }

bool namedScript(std::string* text) {
  const std::string path = environmentValue(kScriptVariable);
  if (path.empty()) return false;
  text->clear();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return true;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text->append(buffer, got);
  std::fclose(file);
  return true;
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

bool registerClass(const CLSID& id, const char* description) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(thisModule, path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) return false;
  const std::string classKey = classKeyPath(id);
  return setKeyValue(classKey, nullptr, description) && setKeyValue(classKey + "\\InprocServer32", nullptr, path) &&
         setKeyValue(classKey + "\\InprocServer32", "ThreadingModel", "Both");
}

bool unregisterClass(const CLSID& id) {
  const LONG result = RegDeleteTreeA(HKEY_CLASSES_ROOT, classKeyPath(id).c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace tunersim
