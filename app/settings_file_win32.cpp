// The settings file "qvnth.dat" and the debug log "log.txt".
#include <windows.h>

#include "app/app_win32.h"
#include "app/file_io.h"
#include "app/globals.h"
#include "app/shell.h"

namespace {
constexpr const char* kSettingsFile = "qvnth.dat";
constexpr const char* kDebugLog = "log.txt";
}  // namespace

void loadSettings() {
  enterProgramFolder();
  HANDLE file = CreateFileA(kSettingsFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  uint8_t bytes[kSettingsSize];
  DWORD read = 0;
  if (ReadFile(file, bytes, sizeof(bytes), &read, nullptr)) settingsFromBytes(settingsRecord, bytes, read);
  CloseHandle(file);
}

// Written through a temporary file and a rename, so a failed write keeps the old settings.
int saveSettings() {
  enterProgramFolder();
  uint8_t bytes[kSettingsSize];
  settingsToBytes(settingsRecord, bytes);
  const bool saved = replaceFileContents(systemFileSystem(), kSettingsFile,
                                         std::string_view(reinterpret_cast<const char*>(bytes), sizeof(bytes)));
  return saved ? 0 : 1;
}

void appendLogMarker(std::string_view text) {
  enterProgramFolder();
  HANDLE file = CreateFileA(kDebugLog, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const MarkerBytes marker = markerBytes(text);
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, marker.data(), static_cast<DWORD>(marker.size()), &written, nullptr);
  CloseHandle(file);
}
