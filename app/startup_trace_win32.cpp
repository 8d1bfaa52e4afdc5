#include "app/startup_trace_win32.h"

#ifdef QV_STARTUP_TRACE
#include <windows.h>

#include <cstdio>

#include "core/program_folder_win32.h"

namespace {

struct Note {
  const char* step;
  unsigned long long microseconds;
};
Note notes[64];
int noteCount = 0;

// The precise clock where the system has it (Windows 8 on; Wine), else the coarse one.
unsigned long long nowMicroseconds() {
  using Precise = void(WINAPI*)(LPFILETIME);
  static const Precise precise = reinterpret_cast<Precise>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  FILETIME time;
  if (precise != nullptr) {
    precise(&time);
  } else {
    GetSystemTimeAsFileTime(&time);
  }
  const unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  constexpr unsigned long long kTicksFrom1601To1970 = 116444736000000000ULL;
  return (ticks - kTicksFrom1601To1970) / 10;
}

}  // namespace

void traceStartupStep(const char* step) {
  if (noteCount < static_cast<int>(sizeof(notes) / sizeof(notes[0]))) notes[noteCount++] = {step, nowMicroseconds()};
}

void writeStartupTrace() {
  enterProgramFolder();
  std::FILE* file = std::fopen("startup_trace.txt", "w");
  if (file == nullptr) return;
  for (int i = 0; i < noteCount; ++i) std::fprintf(file, "%s %llu\n", notes[i].step, notes[i].microseconds);
  std::fclose(file);
}
#endif
