#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_tuner.h"
#include "tuner/poll.h"

namespace {

TuneRequest ku2HighBand() { return TuneRequest{11778000, 27500, 1, 2}; }

class PollTest : public ::testing::Test {
 protected:
  FakeTuner tuner;
  FakeClock clock;
  FakeStopEvent stop{clock};
  SignalState signal;
  uint8_t lock = 0;

  void SetUp() override {
    // Sleeps go into the same trace as the card's calls, so the order can be checked.
    clock.onSleep = [this](uint32_t ms) { tuner.trace.push_back("sleep " + std::to_string(ms)); };
  }
  void cycle() { pollCycle(tuner, stop, signal, lock, ku2HighBand); }
};

TEST_F(PollTest, LockedCycleSleepsThenReadsAndStoresTheReadings) {
  const struct {
    ScriptedReading card;
    int32_t level, quality;
    uint8_t levelSeen, qualitySeen;
  } cases[] = {
      {{1, 50, 60}, 50, 60, 1, 1},
      {{1, 100, 100}, 100, 99, 1, 1},  // a perfect quality is shown as 99; level keeps 100
      {{1, 100, 99}, 100, 99, 1, 1},
      {{1, 0, 0}, 0, 0, 0, 0},  // locked but nothing: nothing seen
      {{1, 0, 40}, 0, 40, 0, 1},
      {{1, 40, 0}, 40, 0, 1, 0},
      {{7, 10, 20}, 10, 20, 1, 1},  // any non-zero lock byte counts
  };
  for (const auto& c : cases) {
    FakeTuner card;
    FakeClock quietClock;
    FakeStopEvent quietStop{quietClock};
    SignalState state;
    uint8_t lockByte = 0;
    card.script = {c.card};
    pollCycle(card, quietStop, state, lockByte, ku2HighBand);
    EXPECT_EQ(quietClock.sleeps, std::vector<uint32_t>{100});
    EXPECT_EQ(card.trace, std::vector<std::string>{"ReadSignal"});
    EXPECT_EQ(state.level.load(), c.level) << "card level " << c.card.level;
    EXPECT_EQ(state.quality.load(), c.quality) << "card quality " << c.card.quality;
    EXPECT_EQ(state.levelSeen.load(), c.levelSeen) << "card level " << c.card.level;
    EXPECT_EQ(state.qualitySeen.load(), c.qualitySeen) << "card quality " << c.card.quality;
  }
}

TEST_F(PollTest, UnlockedCycleZeroesAndRetunesInTheSameCycleKeepingSeenFlags) {
  tuner.script = {{1, 70, 80}, {0, 55, 66}};
  cycle();
  ASSERT_EQ(signal.levelSeen.load(), 1);
  tuner.trace.clear();
  cycle();
  EXPECT_EQ(tuner.trace,
            (std::vector<std::string>{"sleep 100", "ReadSignal", "SetLnbFrequencies 1 10600 9750",
                                      "Tune 11778 27500 1 1 2"}));
  EXPECT_EQ(signal.level.load(), 0);
  EXPECT_EQ(signal.quality.load(), 0);
  EXPECT_EQ(signal.levelSeen.load(), 1);
  EXPECT_EQ(signal.qualitySeen.load(), 1);
}

TEST_F(PollTest, SeenFlagsStayRaisedWhenTheReadingDropsWhileLocked) {
  tuner.script = {{1, 30, 30}, {1, 0, 0}};
  cycle();
  cycle();
  EXPECT_EQ(signal.level.load(), 0);
  EXPECT_EQ(signal.levelSeen.load(), 1);
  EXPECT_EQ(signal.qualitySeen.load(), 1);
  EXPECT_EQ(tuner.trace, (std::vector<std::string>{"sleep 100", "ReadSignal", "sleep 100", "ReadSignal"}));
}

TEST_F(PollTest, ThreadWithWatchFlagAlreadyClearMakesNoReadAndEndsAtOnce) {
  signal.watch.store(0);
  signal.level.store(12);  // left over: cleared on the way out
  runPollThread(tuner, stop, signal, ku2HighBand);
  EXPECT_TRUE(tuner.trace.empty()) << "got " << tuner.trace.size() << " card calls, expected none";
  EXPECT_EQ(signal.pollRunning.load(), 0);
  EXPECT_EQ(signal.level.load(), 0);
}

TEST_F(PollTest, ThreadRunsUntilTheWatchFlagDropsAndLeavesEverythingZero) {
  signal.watch.store(1);
  tuner.script = {{1, 50, 100}, {0, 0, 0}, {1, 60, 70}};
  std::vector<uint8_t> runningDuringReads;
  tuner.afterRead = [&](int reads) {
    runningDuringReads.push_back(signal.pollRunning.load());
    if (reads == 3) signal.watch.store(0);  // the user presses stop during the third cycle
  };
  runPollThread(tuner, stop, signal, ku2HighBand);
  EXPECT_EQ(tuner.reads, 3) << "the thread must end within the cycle in which the watch flag dropped";
  EXPECT_EQ(runningDuringReads, (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(tuner.trace,
            (std::vector<std::string>{"sleep 100", "ReadSignal", "sleep 100", "ReadSignal",
                                      "SetLnbFrequencies 1 10600 9750", "Tune 11778 27500 1 1 2", "sleep 100",
                                      "ReadSignal"}));
  EXPECT_EQ(signal.level.load(), 0);
  EXPECT_EQ(signal.quality.load(), 0);
  EXPECT_EQ(signal.levelSeen.load(), 0);
  EXPECT_EQ(signal.qualitySeen.load(), 0);
  EXPECT_EQ(signal.pollRunning.load(), 0);
  EXPECT_EQ(clock.now - 1000, 300u) << "three cycles of 100 ms";
}

TEST_F(PollTest, RetuneUsesTheTransponderCurrentAtThatMoment) {
  static TuneRequest current{4000000, 6111, 0, 1};
  tuner.script = {{0, 0, 0}};
  pollCycle(tuner, stop, signal, lock, [] { return current; });
  current.frequencyKHz = 10700000;
  pollCycle(tuner, stop, signal, lock, [] { return current; });
  EXPECT_EQ(tuner.trace, (std::vector<std::string>{"sleep 100", "ReadSignal", "SetLnbFrequencies 0 5150 5750",
                                                   "Tune 4000 6111 0 0 1", "sleep 100", "ReadSignal",
                                                   "SetLnbFrequencies 1 10600 9750", "Tune 10700 6111 0 0 1"}));
}

}  // namespace
