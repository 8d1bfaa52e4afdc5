// Fakes for running the sound thread against pauses on a clock that only moves when paused.
#pragma once
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/env.h"
#include "support/fake_clock.h"
#include "feedback/sound_table.h"
#include "feedback/sound_thread.h"

// Sound sequences count from 0.
struct ZeroClock : FakeClock {
  ZeroClock() { now = 0; }
};

// Records "<ms> <name>" for every sound asked for.
class RecordingPlayer : public SoundPlayer {
 public:
  explicit RecordingPlayer(Clock& clock) : clock_(clock) {}
  std::vector<std::string> played;
  void play(int entry) override {
    const char* name = soundEntryName(entry);
    played.push_back(std::to_string(clock_.nowMs()) + " " + (name != nullptr ? name : "INVALID"));
  }
  void playGlidePreview() override { played.push_back(std::to_string(clock_.nowMs()) + " GLIDE"); }

 private:
  Clock& clock_;
};

// A sound device on the fake clock: queued buffers play back to back, kToneBufferMs each, and a
// write waits on the stop event while all kToneBufferCount are still playing.
class FakeToneOutput : public ToneOutput {
 public:
  explicit FakeToneOutput(FakeClock& clock) : clock_(clock) {}
  bool present = true;
  int opens = 0;
  std::vector<uint64_t> closeTimes;
  std::vector<uint64_t> starts;  // when each queued buffer starts playing

  bool open() override {
    ++opens;
    playingUntil_ = clock_.now;
    return present;
  }
  bool write(const int16_t*, StopEvent& stop) override {
    const uint64_t queuedMs = playingUntil_ > clock_.now ? playingUntil_ - clock_.now : 0;
    const uint64_t fullMs = uint64_t{kToneBufferCount} * kToneBufferMs;
    if (queuedMs >= fullMs && !stop.pause(static_cast<uint32_t>(queuedMs - fullMs + kToneBufferMs))) return false;
    if (stop.isSet()) return false;
    starts.push_back(std::max(playingUntil_, clock_.now));
    playingUntil_ = starts.back() + kToneBufferMs;
    return true;
  }
  void close() override { closeTimes.push_back(clock_.now); }

 private:
  FakeClock& clock_;
  uint64_t playingUntil_ = 0;
};

// Hands out a fixed sequence, then repeats its last value.
class ScriptedRandom : public RandomSource {
 public:
  std::vector<int32_t> values;
  size_t drawn = 0;
  int32_t next() override {
    const int32_t value = values.empty() ? 0 : values[drawn < values.size() ? drawn : values.size() - 1];
    ++drawn;
    return value;
  }
};

// A signal scripted in time: readings from given moments on, mode changes made the way the
// main window makes them (new mode and the auto-tone counter reset together), and watching
// that stops at a given moment.
class ScriptedSignal : public SnapshotSource {
 public:
  struct Step {
    uint64_t fromMs;
    int32_t value;
  };
  ScriptedSignal(Clock& clock, std::atomic<int32_t>& counter) : clock_(clock), counter_(counter) {}

  std::vector<Step> readings{{0, 0}};
  std::vector<Step> modeChanges;  // each applied once, at the first snapshot at or after its moment
  uint64_t watchUntilMs = 0;
  int32_t languageIndex = 0;
  int32_t soundMode = kSoundModeAuto;
  std::vector<uint64_t> snapshotTimes;
  static constexpr size_t kSpinLimit = 100000;

  SoundSnapshot take() override {
    const uint64_t now = clock_.nowMs();
    snapshotTimes.push_back(now);
    while (nextChange_ < modeChanges.size() && modeChanges[nextChange_].fromMs <= now) {
      soundMode = modeChanges[nextChange_++].value;
      counter_.store(0);
    }
    int32_t reading = 0;
    for (const Step& step : readings)
      if (step.fromMs <= now) reading = step.value;
    // A thread that cycles without sleeping would never reach watchUntilMs: stop it so the
    // test fails on the sequence instead of hanging.
    const bool spinning = snapshotTimes.size() > kSpinLimit;
    return SoundSnapshot{reading, now < watchUntilMs && !spinning ? 1 : 0, languageIndex, soundMode};
  }

 private:
  Clock& clock_;
  std::atomic<int32_t>& counter_;
  size_t nextChange_ = 0;
};

// Everything one run of the sound thread needs, wired together.
struct SoundRig {
  ZeroClock clock;
  FakeStopEvent stop{clock};
  RecordingPlayer player{clock};
  ScriptedRandom random;
  std::atomic<int32_t> counter{0};
  ScriptedSignal signal{clock, counter};
  std::atomic<uint8_t> running{0};
  FakeToneOutput tone{clock};
  PitchStream pitch{tone};
  SoundSeams seams{signal, player, stop, random, counter, pitch};

  std::vector<std::string> run() {
    runSoundThread(seams, running);
    return player.played;
  }
};
