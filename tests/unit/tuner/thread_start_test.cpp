#include <gtest/gtest.h>

#include "support/fake_clock.h"
#include "ui/thread_start.h"

namespace {

TEST(ThreadStart, WaitsForTheFlagWithinTheLimit) {
  const struct {
    int raisedAfterSleeps;  // -1: never
    bool expected;
    uint64_t expectedWaitMs;
  } cases[] = {
      {0, true, 0},  // already up: no sleep at all
      {3, true, 3},
      {-1, false, kThreadStartLimitMs},
  };
  for (const auto& c : cases) {
    FakeClock clock;
    std::atomic<uint8_t> running{0};
    if (c.raisedAfterSleeps == 0) running.store(1);
    clock.onSleep = [&](uint32_t) {
      if (static_cast<int>(clock.sleeps.size()) == c.raisedAfterSleeps) running.store(1);
    };
    EXPECT_EQ(waitUntilRaised(clock, running, kThreadStartLimitMs), c.expected) << c.raisedAfterSleeps;
    EXPECT_EQ(clock.now - 1000, c.expectedWaitMs) << c.raisedAfterSleeps;
  }
}

}  // namespace
