#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "feedback/meter.h"
#include "support/fake_clock.h"
#include "support/fake_tuner.h"
#include "tuner/poll.h"

namespace {

// Records the frames' value texts ("50%|0%") and the final repaint.
class RecordingCanvas : public MeterCanvas {
 public:
  std::mutex mutex;
  std::vector<std::string> frames;
  int repaints = 0;
  const SignalState* signal = nullptr;
  std::vector<uint8_t> meterRunningWhileDrawing;

  void drawFrame(const MeterFrame& frame) override {
    std::string texts;
    for (int i = 0; i < frame.count; ++i) {
      const MeterStep& step = frame.steps[i];
      if (step.kind == MeterStep::Kind::CentredText) texts += (texts.empty() ? "" : "|") + std::string(step.text);
    }
    std::lock_guard<std::mutex> hold(mutex);
    frames.push_back(texts);
    if (signal != nullptr) meterRunningWhileDrawing.push_back(signal->meterRunning.load());
  }
  void repaintWindow() override {
    std::lock_guard<std::mutex> hold(mutex);
    ++repaints;
  }
};

class MeterThreadTest : public ::testing::Test {
 protected:
  RecordingCanvas canvas;
  FakeClock clock;
  FakeStopEvent stop{clock};
  SignalState signal;
  void SetUp() override { canvas.signal = &signal; }
};

TEST_F(MeterThreadTest, DrawsEvery400MsWhileThePollThreadRunsThenRepaints) {
  signal.watch.store(1);
  signal.pollRunning.store(1);
  signal.level.store(50);
  int frameSleeps = 0;
  clock.onSleep = [&](uint32_t ms) {
    if (ms == kMeterFrameMs && ++frameSleeps == 3) signal.pollRunning.store(0);
  };
  runMeterThread(canvas, stop, signal);
  EXPECT_EQ(canvas.frames, (std::vector<std::string>{"50%|0%", "50%|0%", "50%|0%"}));
  EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{400, 400, 400}));
  EXPECT_EQ(canvas.meterRunningWhileDrawing, (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(canvas.repaints, 1);
  EXPECT_EQ(signal.meterRunning.load(), 0);
}

TEST_F(MeterThreadTest, EachFrameShowsTheReadingsOfItsMoment) {
  signal.watch.store(1);
  signal.pollRunning.store(1);
  int frameSleeps = 0;
  clock.onSleep = [&](uint32_t) {
    ++frameSleeps;
    if (frameSleeps == 1) signal.quality.store(99);
    if (frameSleeps == 2) signal.level.store(7);
    if (frameSleeps == 3) signal.pollRunning.store(0);
  };
  runMeterThread(canvas, stop, signal);
  EXPECT_EQ(canvas.frames, (std::vector<std::string>{"0%|0%", "0%|99%", "7%|99%"}));
}

TEST_F(MeterThreadTest, NotWatchingDrawsNothingAndStillRepaintsAndClearsItsFlag) {
  runMeterThread(canvas, stop, signal);
  EXPECT_TRUE(canvas.frames.empty());
  EXPECT_TRUE(clock.sleeps.empty());
  EXPECT_EQ(canvas.repaints, 1);
  EXPECT_EQ(signal.meterRunning.load(), 0);
}

// The meter thread may run before the poll thread has taken its first step.
TEST_F(MeterThreadTest, WaitsForAPollThreadThatStartsLate) {
  signal.watch.store(1);
  int checks = 0;
  int frames = 0;
  clock.onSleep = [&](uint32_t ms) {
    if (ms == kPollStartCheckMs && ++checks == 4) signal.pollRunning.store(1);
    if (ms == kMeterFrameMs && ++frames == 2) signal.pollRunning.store(0);
  };
  runMeterThread(canvas, stop, signal);
  EXPECT_EQ(checks, 4);
  EXPECT_EQ(canvas.frames.size(), 2u) << "got " << canvas.frames.size() << " frames, expected 2";
}

// However late the poll thread comes, the meter must not give up while watching lasts.
TEST_F(MeterThreadTest, KeepsWaitingForAPollThreadAsLongAsWatchingLasts) {
  signal.watch.store(1);
  int checks = 0;
  int frames = 0;
  clock.onSleep = [&](uint32_t ms) {
    if (ms == kPollStartCheckMs && ++checks == 20000) signal.pollRunning.store(1);
    if (ms == kMeterFrameMs && ++frames == 1) signal.pollRunning.store(0);
  };
  runMeterThread(canvas, stop, signal);
  EXPECT_EQ(canvas.frames.size(), 1u) << "got " << canvas.frames.size() << " frames after a poll thread 100 s late";
  EXPECT_EQ(canvas.repaints, 1);
  EXPECT_EQ(signal.meterRunning.load(), 0);
}

TEST_F(MeterThreadTest, StopsWaitingAsSoonAsWatchingEnds) {
  signal.watch.store(1);
  clock.onSleep = [&](uint32_t) {
    if (clock.sleeps.size() == 2) signal.watch.store(0);
  };
  runMeterThread(canvas, stop, signal);
  EXPECT_EQ(clock.sleeps.size(), 2u);
  EXPECT_TRUE(canvas.frames.empty());
  EXPECT_EQ(signal.meterRunning.load(), 0);
}

}  // namespace
