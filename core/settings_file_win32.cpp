#include "core/settings_file_win32.h"

#include <windows.h>

#include "core/file_io.h"
#include "core/file_io_win32.h"
#include "core/globals.h"
#include "core/program_folder_win32.h"

namespace {
constexpr const char* kSettingsFile = "qvnth.dat";
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
bool saveSettings() {
  enterProgramFolder();
  uint8_t bytes[kSettingsSize];
  settingsToBytes(settingsRecord, bytes);
  return replaceFileContents(systemFileSystem(), kSettingsFile,
                             std::string_view(reinterpret_cast<const char*>(bytes), sizeof(bytes)));
}
