// A clock whose time moves only when someone sleeps on it; every sleep is recorded and may run
// a hook, so a test can change shared flags at a chosen moment of a thread loop.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "core/env.h"

class FakeClock : public Clock {
 public:
  uint64_t now = 1000;
  std::vector<uint32_t> sleeps;
  std::function<void(uint32_t ms)> onSleep;

  uint64_t nowMs() override { return now; }
  void sleepMs(uint32_t ms) override {
    sleeps.push_back(ms);
    now += ms;
    if (onSleep) onSleep(ms);
  }
};

// Pauses on a fake clock: each pause moves the clock (and runs its hook) unless the event is
// set; a hook that sets the event cuts that pause short.
class FakeStopEvent : public StopEvent {
 public:
  explicit FakeStopEvent(FakeClock& clock) : clock_(clock) {}
  bool stopped = false;
  void set() override { stopped = true; }
  void reset() override { stopped = false; }
  bool isSet() override { return stopped; }
  bool pause(uint32_t ms) override {
    if (stopped) return false;
    clock_.sleepMs(ms);
    return !stopped;
  }

 private:
  FakeClock& clock_;
};
