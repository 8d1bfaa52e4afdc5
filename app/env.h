// Seams between the program's logic and the system, so thread loops can run against fakes.
#pragma once
#include <cstdint>

// Time and sleeping. The real one wraps GetTickCount64/Sleep; tests use a fake clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t nowMs() = 0;
  virtual void sleepMs(uint32_t ms) = 0;
};

// The process's real clock (Win32 build) or std::chrono (native build).
Clock& systemClock();
