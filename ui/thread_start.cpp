#include "ui/thread_start.h"

bool waitUntilRaised(Clock& clock, const std::atomic<uint8_t>& runningFlag, uint32_t limitMs) {
  const uint64_t start = clock.nowMs();
  while (runningFlag.load() == 0) {
    if (clock.nowMs() - start >= limitMs) return false;
    clock.sleepMs(kThreadStartCheckMs);
  }
  return true;
}
