#include "core/crash_report.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

struct ExceptionName {
  uint32_t code;
  const char* name;
};

constexpr ExceptionName kExceptionNames[] = {
    {0xC0000005u, "access violation"},         {0xC000001Du, "illegal instruction"},
    {0xC0000094u, "integer division by zero"}, {0xC00000FDu, "stack overflow"},
    {0xC0000409u, "stack buffer overrun"},     {0x80000003u, "breakpoint"},
    {0xC0000096u, "privileged instruction"},   {0xC0000006u, "in-page error"},
};

// Appends to text at *used; false once it no longer fits (text stays terminated).
bool append(char* text, size_t size, size_t* used, const char* format, ...) __attribute__((format(printf, 4, 5)));
bool append(char* text, size_t size, size_t* used, const char* format, ...) {
  if (*used >= size) return false;
  va_list arguments;
  va_start(arguments, format);
  const int wrote = std::vsnprintf(text + *used, size - *used, format, arguments);
  va_end(arguments);
  if (wrote < 0) return false;
  const bool fits = static_cast<size_t>(wrote) < size - *used;
  *used = fits ? *used + static_cast<size_t>(wrote) : size;
  return fits;
}

}  // namespace

void setFrameModule(CrashFrame* frame, const char* modulePath, uint64_t moduleBase) {
  const char* name = modulePath;
  for (const char* c = modulePath; *c != '\0'; ++c)
    if (*c == '\\' || *c == '/') name = c + 1;
  std::snprintf(frame->module, sizeof(frame->module), "%s", name);
  frame->moduleBase = moduleBase;
}

void formatFrame(const CrashFrame& frame, char* text, size_t size) {
  if (frame.moduleBase == 0 || frame.module[0] == '\0' || frame.address < frame.moduleBase)
    std::snprintf(text, size, "0x%016" PRIx64, frame.address);
  else
    std::snprintf(text, size, "%s+0x%" PRIx64, frame.module, frame.address - frame.moduleBase);
}

const char* exceptionName(uint32_t code) {
  for (const ExceptionName& known : kExceptionNames)
    if (known.code == code) return known.name;
  return "";
}

bool formatCrashReport(const CrashFacts& facts, char* text, size_t size) {
  if (size == 0) return false;
  text[0] = '\0';
  size_t used = 0;
  char frame[kCrashModuleNameSize + 32];
  formatFrame(facts.where, frame, sizeof(frame));
  const CrashTime& t = facts.time;
  bool fits = append(text, size, &used,
                     "Quorvan crash report\r\ntime: %04d-%02d-%02d %02d:%02d:%02d UTC\r\nversion: %s (%d-bit)\r\n"
                     "exception: 0x%08" PRIX32 " %s\r\naddress: 0x%016" PRIx64 " %s\r\nthread: %" PRIu32
                     "\r\nframes:\r\n",
                     t.year, t.month, t.day, t.hour, t.minute, t.second, facts.version, facts.pointerBits, facts.code,
                     exceptionName(facts.code), facts.where.address, frame, facts.threadId);
  for (int i = 0; fits && i < facts.frameCount && i < kMaxCrashFrames; ++i) {
    formatFrame(facts.frames[i], frame, sizeof(frame));
    fits = append(text, size, &used, "#%d %s\r\n", i, frame);
  }
  return fits;
}
