#include "core/debug_log_win32.h"

#include <windows.h>

#include "core/debug_log.h"
#include "core/program_folder_win32.h"

void appendLogMarker(std::string_view text) {
  enterProgramFolder();
  HANDLE file = CreateFileA(kDebugLogFile, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const MarkerBytes marker = markerBytes(text);
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, marker.data(), static_cast<DWORD>(marker.size()), &written, nullptr);
  CloseHandle(file);
}
