// What a crash report says and how it is laid out, apart from how the facts are gathered.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr const char* kCrashReportName = "crash.txt";
constexpr const char* kCrashDumpName = "Quorvan.dmp";
constexpr int kMaxCrashFrames = 48;
constexpr size_t kCrashModuleNameSize = 64;
constexpr size_t kCrashReportSize = 8192;  // room for every frame with the longest module names

// A code address and the module that holds it.
struct CrashFrame {
  uint64_t address = 0;
  uint64_t moduleBase = 0;               // 0: no module holds the address
  char module[kCrashModuleNameSize] = {};  // the module's file name without its folder
};

struct CrashTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // UTC
};

struct CrashFacts {
  CrashTime time;
  const char* version = "";
  int pointerBits = 0;  // 32 or 64: which build's symbols read the offsets
  uint32_t code = 0;
  uint32_t threadId = 0;
  CrashFrame where;  // the exception's address
  CrashFrame frames[kMaxCrashFrames];  // the stack walk, innermost first
  int frameCount = 0;
};

// Keeps the file name part of the module's path (after the last backslash or slash), cut to fit.
void setFrameModule(CrashFrame* frame, const char* modulePath, uint64_t moduleBase);
// "tunersim.ax+0x1a2b", or the bare address when no module holds it; cut and terminated to fit.
void formatFrame(const CrashFrame& frame, char* text, size_t size);
// A name for the commonest exception codes; "" for the others.
const char* exceptionName(uint32_t code);
// The whole report; cut and terminated when it does not fit, and then false.
bool formatCrashReport(const CrashFacts& facts, char* text, size_t size);
