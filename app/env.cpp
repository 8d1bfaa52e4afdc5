#include "app/env.h"

#include <chrono>
#include <thread>

namespace {
class SteadyClock final : public Clock {
 public:
  uint64_t nowMs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
  void sleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
}  // namespace

Clock& systemClock() {
  static SteadyClock clock;
  return clock;
}
