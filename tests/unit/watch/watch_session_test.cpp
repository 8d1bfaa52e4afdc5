// The watch session's handshake with its threads. Pauses cut short by stop are checked against
// fake pauses (what still happens after a stop arrives in each kind of pause); the session is
// checked with real threads running the real loops, in order and outcome, never in time.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "feedback/meter.h"
#include "feedback/sound_table.h"
#include "feedback/sound_thread.h"
#include "sound/sound_fakes.h"
#include "support/fake_clock.h"
#include "support/fake_tuner.h"
#include "tuner/poll.h"
#include "watch/watch_session.h"

namespace {

TuneRequest anyTransponder() { return TuneRequest{11778000, 27500, 1, 2}; }

class ListPlayer : public SoundPlayer {
 public:
  std::mutex mutex;
  std::vector<std::string> played;
  void play(int entry) override {
    std::lock_guard<std::mutex> hold(mutex);
    played.push_back(soundEntryName(entry));
  }
  void playGlidePreview() override {}
  size_t count() {
    std::lock_guard<std::mutex> hold(mutex);
    return played.size();
  }
};

class FixedSnapshots : public SnapshotSource {
 public:
  SoundSnapshot snapshot{57, 1, 5, kSoundModeVoice};
  SoundSnapshot take() override { return snapshot; }
};

class FrameCounter : public MeterCanvas {
 public:
  std::atomic<int> frames{0};
  std::atomic<int> repaints{0};
  void drawFrame(const MeterFrame&) override { ++frames; }
  void repaintWindow() override { ++repaints; }
};

// Stop arrives during the n-th pause of the given length: that pause is cut short and nothing
// after it happens.
struct StopDuring {
  uint32_t pauseMs;
  int occurrence = 1;
};

void stopDuring(FakeClock& clock, FakeStopEvent& stop, StopDuring when) {
  clock.onSleep = [&stop, when, seen = 0](uint32_t ms) mutable {
    if (ms == when.pauseMs && ++seen == when.occurrence) stop.set();
  };
}

TEST(StopCutsPausesShort, SoundThreadPlaysNothingMoreInAnyKindOfPause) {
  const struct {
    const char* what;
    SoundSnapshot snapshot;
    StopDuring when;
    std::vector<std::string> played;
  } cases[] = {
      {"quiet cycle of a zero reading", {0, 1, 0, kSoundModeTone}, {100, 2}, {}},
      {"Mute", {50, 1, 0, kSoundModeMute}, {100, 3}, {}},
      {"Auto beep", {50, 1, 0, kSoundModeAuto}, {1400, 2}, {"TONE", "TONE"}},
      {"Tone", {50, 1, 0, kSoundModeTone}, {1500, 1}, {"TONE"}},
      {"first digit", {57, 1, 5, kSoundModeVoice}, {500, 1}, {"FR5"}},
      {"after the digits", {57, 1, 5, kSoundModeVoice}, {800, 1}, {"FR5", "FR7"}},
      {"bird call", {50, 1, 0, kSoundModeBirds}, {1000, 1}, {"BIRD0"}},
  };
  for (const auto& c : cases) {
    FakeClock clock;
    FakeStopEvent stop(clock);
    ListPlayer player;
    FixedSnapshots snapshots;
    snapshots.snapshot = c.snapshot;
    class ZeroRandom : public RandomSource {
      int32_t next() override { return 0; }
    } random;
    std::atomic<int32_t> counter{0};
    std::atomic<uint8_t> running{0};
    FakeToneOutput tone(clock);
    PitchStream pitch(tone);
    SoundSeams seams{snapshots, player, stop, random, counter, pitch};
    stopDuring(clock, stop, c.when);
    runSoundThread(seams, running);  // the snapshot never says stop: only the event ends it
    EXPECT_EQ(player.played, c.played) << c.what;
    EXPECT_EQ(running.load(), 0) << c.what;
  }
}

TEST(StopCutsPausesShort, PollThreadReadsNothingAfterItsPauseIsCut) {
  FakeClock clock;
  FakeStopEvent stop(clock);
  FakeTuner tuner;
  SignalState signal;
  signal.watch.store(1);
  stopDuring(clock, stop, {kPollIntervalMs, 3});
  runPollThread(tuner, stop, signal, anyTransponder);
  EXPECT_EQ(tuner.reads, 2) << "the watch flag is still up: only the event ends the loop";
  EXPECT_EQ(signal.pollRunning.load(), 0);
  EXPECT_EQ(signal.level.load(), 0);
}

TEST(StopCutsPausesShort, MeterEndsInItsFramePauseAndInItsWaitForThePollThread) {
  const struct {
    const char* what;
    uint8_t pollRunning;
    StopDuring when;
    int frames;
  } cases[] = {{"frame pause", 1, {kMeterFrameMs, 2}, 2}, {"waiting for the poll thread", 0, {kPollStartCheckMs, 1}, 0}};
  for (const auto& c : cases) {
    FakeClock clock;
    FakeStopEvent stop(clock);
    FrameCounter canvas;
    SignalState signal;
    signal.watch.store(1);
    signal.pollRunning.store(c.pollRunning);  // the poll thread never ends here
    stopDuring(clock, stop, c.when);
    runMeterThread(canvas, stop, signal);
    EXPECT_EQ(canvas.frames.load(), c.frames) << c.what;
    EXPECT_EQ(canvas.repaints.load(), 1) << c.what;
    EXPECT_EQ(signal.meterRunning.load(), 0) << c.what;
  }
}

// Real threads on the real loops; each worker may be held back before its first step.
class TestWorkers : public WorkerThreads {
 public:
  TestWorkers(SignalState& signal, StopEvent& stop) : signal_(signal), stop_(stop) {}
  std::chrono::milliseconds startDelay[kWorkerCount] = {};
  std::atomic<int> alive[kWorkerCount] = {};
  std::atomic<int> mostAlive[kWorkerCount] = {};
  std::atomic<int> readsAfterStop{0};
  FakeTuner tuner;
  ListPlayer player;
  FrameCounter canvas;
  std::atomic<bool> stopRequested{false};

  int failing = -1;  // the worker whose thread cannot be started

  bool start(Worker worker) override {
    const int i = static_cast<int>(worker);
    if (i == failing) return false;
    threads_[i] = std::thread([this, worker, i] {
      std::this_thread::sleep_for(startDelay[i]);
      const int now = ++alive[i];
      int most = mostAlive[i].load();
      while (now > most && !mostAlive[i].compare_exchange_weak(most, now)) {
      }
      run(worker);
      --alive[i];
    });
    return true;
  }
  void join(Worker worker) override {
    std::thread& t = threads_[static_cast<int>(worker)];
    if (t.joinable()) t.join();
  }

 private:
  void run(Worker worker) {
    switch (worker) {
      case Worker::Poll:
        tuner.afterRead = [this](int) { readsAfterStop += stopRequested.load() ? 1 : 0; };
        runPollThread(tuner, stop_, signal_, anyTransponder);
        return;
      case Worker::Sound: {
        class SignalSnapshots : public SnapshotSource {
         public:
          explicit SignalSnapshots(SignalState& signal) : signal_(signal) { settings_.soundMode = kSoundModeTone; }
          SoundSnapshot take() override { return readSoundSnapshot(signal_, settings_); }

         private:
          SignalState& signal_;
          SettingsRecord settings_{};
        } snapshots(signal_);
        std::atomic<int32_t> counter{0};
        FakeClock clock;
        FakeToneOutput tone(clock);  // the mode is Tone: never opened
        PitchStream pitch(tone);
        SoundSeams seams{snapshots, player, stop_, libraryRandom(), counter, pitch};
        runSoundThread(seams, signal_.soundRunning);
        return;
      }
      case Worker::Meter:
        runMeterThread(canvas, stop_, signal_);
        return;
    }
  }
  SignalState& signal_;
  StopEvent& stop_;
  std::thread threads_[kWorkerCount];
};

struct SessionRig {
  SignalState signal;
  ConditionStopEvent stop;
  TestWorkers workers{signal, stop};
  WatchSession session{signal, stop, workers};

  bool start() {
    session.open();
    return session.startThreads();
  }
  void stop_() {
    workers.stopRequested = true;
    session.stop();
  }
  void expectAllEnded(const char* when) {
    for (int i = 0; i < kWorkerCount; ++i) EXPECT_EQ(workers.alive[i].load(), 0) << when << ", worker " << i;
    EXPECT_EQ(signal.pollRunning.load(), 0) << when;
    EXPECT_EQ(signal.soundRunning.load(), 0) << when;
    EXPECT_EQ(signal.meterRunning.load(), 0) << when;
    EXPECT_EQ(signal.level.load(), 0) << when;
    EXPECT_EQ(workers.readsAfterStop.load(), 0) << when;
  }
};

template <typename Condition>
void waitUntil(Condition condition) {
  while (!condition()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

TEST(WatchSession, WatchesUntilStoppedThenEveryThreadHasEnded) {
  SessionRig rig;
  rig.start();
  EXPECT_TRUE(rig.session.watching());
  waitUntil([&] { return rig.workers.player.count() >= 1 && rig.workers.canvas.frames.load() >= 1; });
  rig.stop_();
  EXPECT_FALSE(rig.session.watching());
  EXPECT_TRUE(rig.stop.isSet());
  rig.expectAllEnded("after stop");
  EXPECT_EQ(rig.workers.canvas.repaints.load(), 1);
}

TEST(WatchSession, StopAtOnceAfterStartStillWaitsForEveryThread) {
  SessionRig rig;
  rig.start();
  rig.stop_();
  rig.expectAllEnded("after an immediate stop");
  EXPECT_EQ(rig.workers.tuner.reads, 0);
  EXPECT_EQ(rig.workers.player.count(), 0u);
}

// A worker that cannot be started ends the session: whatever had started has ended on return.
TEST(WatchSession, AWorkerThatCannotStartStopsTheSession) {
  for (Worker failing : kWorkerOrder) {
    SessionRig rig;
    rig.workers.failing = static_cast<int>(failing);
    rig.workers.stopRequested = true;  // no read may follow the failed start
    EXPECT_FALSE(rig.start()) << "worker " << static_cast<int>(failing);
    EXPECT_FALSE(rig.session.watching());
    rig.expectAllEnded("after the failed start");
  }
}

// A thread the system starts two seconds late belongs to its own session: the next session's
// threads never run beside it, and after the last stop (as shutdown makes it) none is left.
TEST(WatchSession, ALateThreadNeverOverlapsTheNextSessionNorOutlivesShutdown) {
  for (Worker late : kWorkerOrder) {
    SessionRig rig;
    rig.workers.startDelay[static_cast<int>(late)] = std::chrono::milliseconds(2000);
    rig.start();
    rig.stop_();
    rig.expectAllEnded("after the first stop");
    rig.workers.startDelay[static_cast<int>(late)] = std::chrono::milliseconds(0);
    rig.workers.stopRequested = false;
    rig.start();
    waitUntil([&] { return rig.workers.tuner.reads >= 2; });
    rig.stop_();
    rig.expectAllEnded("after shutdown's stop");
    for (int i = 0; i < kWorkerCount; ++i)
      EXPECT_EQ(rig.workers.mostAlive[i].load(), 1) << "worker " << i << " ran twice at once, late worker "
                                                    << static_cast<int>(late);
  }
}

}  // namespace
