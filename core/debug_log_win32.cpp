#include "core/debug_log_win32.h"

#include <windows.h>

#include "core/debug_log.h"
#include "core/program_folder_win32.h"

namespace {

void appendLogBytes(const uint8_t* bytes, size_t size) {
  enterProgramFolder();
  HANDLE file = CreateFileA(kDebugLogFile, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

void appendLogMarker(std::string_view text) {
  const MarkerBytes marker = markerBytes(text);
  appendLogBytes(marker.data(), marker.size());
}

void appendLogNote(std::string_view text) {
  const std::vector<uint8_t> note = noteBytes(text);
  appendLogBytes(note.data(), note.size());
}
