#include "core/env.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
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

struct ConditionStopEvent::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool set = false;
};

ConditionStopEvent::ConditionStopEvent() : state_(new State) {}
ConditionStopEvent::~ConditionStopEvent() { delete state_; }

void ConditionStopEvent::set() {
  {
    std::lock_guard<std::mutex> guard(state_->mutex);
    state_->set = true;
  }
  state_->changed.notify_all();
}

void ConditionStopEvent::reset() {
  std::lock_guard<std::mutex> guard(state_->mutex);
  state_->set = false;
}

bool ConditionStopEvent::isSet() {
  std::lock_guard<std::mutex> guard(state_->mutex);
  return state_->set;
}

bool ConditionStopEvent::pause(uint32_t ms) {
  std::unique_lock<std::mutex> guard(state_->mutex);
  return !state_->changed.wait_for(guard, std::chrono::milliseconds(ms), [this] { return state_->set; });
}
