#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/globals.h"
#include "sound/sound_fakes.h"

using Played = std::vector<std::string>;

TEST(AutoMode, ThreeBeepsThenTheValueEveryThirteenHundredMilliseconds) {
  SoundRig rig;
  rig.signal.readings = {{0, 0}, {1000, 57}};
  rig.signal.watchUntilMs = 8000;
  const Played expected = {"1000 TONE", "2400 TONE", "3800 TONE", "5200 EN5", "5700 EN7", "6500 EN5",
                           "7000 EN7",  "7800 EN5",  "8300 EN7",  "9100 EN5", "9600 EN7"};
  EXPECT_EQ(rig.run(), expected);
  EXPECT_EQ(rig.counter.load(), 3);
}

TEST(AutoMode, BeepsAgainAfterTheReadingDropsToZeroAndComesBack) {
  SoundRig rig;
  rig.signal.languageIndex = 1;
  rig.signal.readings = {{0, 42}, {5000, 0}, {6000, 42}};
  rig.signal.watchUntilMs = 9000;
  const Played expected = {"0 TONE",    "1400 TONE", "2800 TONE", "4200 DE4",  "4700 DE2",
                           "6000 TONE", "7400 TONE", "8800 TONE", "10200 DE4", "10700 DE2"};
  EXPECT_EQ(rig.run(), expected);
}

// Five clicks on the sound button within one cycle come back to Auto with the counter reset.
TEST(AutoMode, BeepsAgainWhenTheModeIsCycledBackToAuto) {
  SoundRig rig;
  rig.signal.readings = {{0, 35}};
  rig.signal.modeChanges = {{5000, kSoundModeAuto}};
  rig.signal.watchUntilMs = 9000;
  const Played expected = {"0 TONE",    "1400 TONE", "2800 TONE", "4200 EN3", "4700 EN5",
                           "5500 TONE", "6900 TONE", "8300 TONE", "9700 EN3", "10200 EN5"};
  EXPECT_EQ(rig.run(), expected);
}

TEST(AutoMode, SwitchingFromToneToAutoRestartsTheBeeps) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModeTone;
  rig.counter.store(3);  // left over from an earlier watch
  rig.signal.readings = {{0, 35}};
  rig.signal.modeChanges = {{1000, kSoundModeVoice}, {1000, kSoundModeMute}, {1000, kSoundModeBirds},
                            {1000, kSoundModeAuto}};
  rig.signal.watchUntilMs = 5000;
  const Played expected = {"0 TONE", "1500 TONE", "2900 TONE", "4300 TONE", "5700 EN3", "6200 EN5"};
  EXPECT_EQ(rig.run(), expected);
}

// The counter survives the end of watching; only a zero reading or a mode change resets it.
TEST(AutoMode, CounterIsKeptFromOneWatchToTheNext) {
  SoundRig rig;
  rig.signal.readings = {{0, 50}};
  rig.signal.watchUntilMs = 3000;
  rig.run();
  ASSERT_EQ(rig.counter.load(), 3);
  rig.player.played.clear();
  const uint64_t start = rig.clock.now;
  rig.signal.watchUntilMs = start;  // stopped again at once: one cycle
  const Played expected = {std::to_string(start) + " EN5", std::to_string(start + 500) + " EN0"};
  EXPECT_EQ(rig.run(), expected);
}

// Only a zero reading restarts the beeps; a negative one (never reported by a healthy card)
// is skipped without touching the count.
TEST(AutoMode, NegativeReadingInBetweenDoesNotRestartTheBeeps) {
  SoundRig rig;
  rig.signal.readings = {{0, 42}, {5000, -1}, {6000, 42}};
  rig.signal.watchUntilMs = 6000;
  const Played expected = {"0 TONE", "1400 TONE", "2800 TONE", "4200 EN4", "4700 EN2", "6000 EN4", "6500 EN2"};
  EXPECT_EQ(rig.run(), expected);
  EXPECT_EQ(rig.counter.load(), 3);
}

TEST(AutoMode, OneDigitValueIsSpokenAloneAfterTheBeeps) {
  SoundRig rig;
  rig.signal.languageIndex = 6;
  rig.signal.readings = {{0, 8}};
  rig.signal.watchUntilMs = 5000;
  const Played expected = {"0 TONE", "1400 TONE", "2800 TONE", "4200 PL8", "5500 PL8"};
  EXPECT_EQ(rig.run(), expected);
  EXPECT_EQ(rig.clock.now, 6800u);
}

// Whatever the mode, a zero reading is a quiet 100 ms that starts the Auto count again.
TEST(ZeroReading, SilentHundredMillisecondsThatResetsTheCountInEveryMode) {
  for (int32_t mode : {kSoundModeAuto, kSoundModeTone, kSoundModeVoice, kSoundModeMute, kSoundModeBirds, 6}) {
    SoundRig rig;
    rig.counter.store(3);
    runSoundCycle(SoundSnapshot{0, 1, 0, mode}, rig.seams);
    EXPECT_EQ(rig.player.played, Played{}) << "mode " << mode;
    EXPECT_EQ(rig.clock.now, 100u) << "mode " << mode;
    EXPECT_EQ(rig.counter.load(), 0) << "mode " << mode;
    EXPECT_EQ(rig.random.drawn, 0u) << "mode " << mode;
  }
}

TEST(ToneMode, BeepsEveryFifteenHundredMilliseconds) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModeTone;
  rig.signal.readings = {{0, 0}, {250, 12}};
  rig.signal.watchUntilMs = 4000;
  const Played expected = {"300 TONE", "1800 TONE", "3300 TONE", "4800 TONE"};
  EXPECT_EQ(rig.run(), expected);
}

TEST(VoiceMode, FiftySevenInFrenchIsFiveThenSeven) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModeVoice;
  rig.signal.languageIndex = 5;
  rig.signal.readings = {{0, 57}};
  rig.signal.watchUntilMs = 2000;
  const Played expected = {"0 FR5", "500 FR7", "1300 FR5", "1800 FR7", "2600 FR5", "3100 FR7"};
  EXPECT_EQ(rig.run(), expected);
  EXPECT_EQ(rig.clock.now, 3900u);
}

TEST(VoiceMode, SevenAloneInAThirteenHundredMillisecondCycle) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModeVoice;
  rig.signal.readings = {{0, 7}};
  rig.signal.watchUntilMs = 2000;
  EXPECT_EQ(rig.run(), (Played{"0 EN7", "1300 EN7", "2600 EN7"}));
  EXPECT_EQ(rig.signal.snapshotTimes, (std::vector<uint64_t>{0, 1300, 2600}));
}

TEST(VoiceMode, LanguageOfEightOrMoreWaitsWithoutASound) {
  for (int32_t language : {8, 9, 1000, -1}) {
    SoundRig rig;
    rig.signal.soundMode = kSoundModeVoice;
    rig.signal.languageIndex = language;
    rig.signal.readings = {{0, 57}};
    rig.signal.watchUntilMs = 1000;
    EXPECT_EQ(rig.run(), Played{}) << "language " << language;
    EXPECT_EQ(rig.signal.snapshotTimes, (std::vector<uint64_t>{0, 800, 1600})) << "language " << language;
  }
}

TEST(MuteMode, NeverPlaysAndCyclesEveryHundredMilliseconds) {
  for (int32_t reading : {0, 1, 57, 100}) {
    SoundRig rig;
    rig.signal.soundMode = kSoundModeMute;
    rig.signal.readings = {{0, reading}};
    rig.signal.watchUntilMs = 1000;
    EXPECT_EQ(rig.run(), Played{}) << "reading " << reading;
    EXPECT_EQ(rig.signal.snapshotTimes.size(), 11u) << "reading " << reading;
    EXPECT_EQ(rig.clock.now, 1100u) << "reading " << reading;
  }
}

TEST(BirdsMode, PlaysTheDrawnCallAndPausesOneToTwoSeconds) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModeBirds;
  rig.signal.readings = {{0, 30}};
  rig.signal.watchUntilMs = 4000;
  rig.random.values = {5, 1234, 2, 0, 7, 999, -3, 5};
  const Played expected = {"0 BIRD1", "1234 BIRD2", "2234 BIRD3", "4233 BIRD1"};
  EXPECT_EQ(rig.run(), expected);
  EXPECT_EQ(rig.clock.now, 5238u);
  EXPECT_EQ(rig.random.drawn, 8u);
}

// A snapshot source reading the process-wide shapes of the state, as the Win32 side does.
class StateSnapshots : public SnapshotSource {
 public:
  SignalState signal;
  SettingsRecord settings{};
  int cyclesLeft = 5;
  SoundSnapshot take() override {
    signal.watch.store(--cyclesLeft > 0 ? 1 : 0);
    return readSoundSnapshot(signal, settings);
  }
};

TEST(ReadingSelector, QualitySelectedWhileOnlyTheLevelIsUpStaysSilent) {
  const struct {
    int32_t selector;
    int32_t level, quality;
    size_t tones;
  } cases[] = {{1, 60, 0, 0}, {0, 60, 0, 5}, {1, 0, 40, 5}, {0, 0, 40, 0}};
  for (const auto& c : cases) {
    SoundRig rig;
    StateSnapshots state;
    state.signal.level.store(c.level);
    state.signal.quality.store(c.quality);
    state.settings.readingSelector = c.selector;
    state.settings.soundMode = kSoundModeTone;
    SoundSeams seams{state, rig.player, rig.stop, rig.random, rig.counter, rig.pitch};
    runSoundThread(seams, rig.running);
    EXPECT_EQ(rig.player.played.size(), c.tones) << "selector " << c.selector << " level " << c.level
                                                 << " quality " << c.quality;
  }
}

// A negative reading or a mode counted past Birds by a damaged settings file must not make the
// thread spin: nothing plays and the cycle waits like Mute.
TEST(DamagedInput, NegativeReadingOrUnknownModePlaysNothingAndWaitsAHundredMilliseconds) {
  const struct {
    int32_t reading;
    int32_t mode;
  } cases[] = {{-1, kSoundModeTone}, {-57, kSoundModeAuto}, {INT32_MIN, kSoundModeVoice}, {-3, kSoundModeBirds},
               {50, 6},           {50, 7},                {1, INT32_MAX},              {99, -1}};
  for (const auto& c : cases) {
    SoundRig rig;
    rig.signal.soundMode = c.mode;
    rig.signal.readings = {{0, c.reading}};
    rig.signal.watchUntilMs = 500;
    EXPECT_EQ(rig.run(), Played{}) << "reading " << c.reading << " mode " << c.mode;
    EXPECT_EQ(rig.signal.snapshotTimes, (std::vector<uint64_t>{0, 100, 200, 300, 400, 500}))
        << "reading " << c.reading << " mode " << c.mode;
    EXPECT_EQ(rig.counter.load(), 0) << "reading " << c.reading << " mode " << c.mode;
  }
}

// Whatever the snapshot holds, a cycle sleeps at least 100 ms and only asks for real entries.
TEST(DamagedInput, EveryCycleSleepsAndPlaysOnlyTableEntries) {
  const int32_t readings[] = {INT32_MIN, -100, -1, 0, 1, 9, 10, 57, 100, 12345678, INT32_MAX};
  const int32_t modes[] = {INT32_MIN, -1, 0, 1, 2, 3, 4, 6, 7, 100, INT32_MAX};  // Pitch paces by its buffers
  const int32_t languages[] = {INT32_MIN, -1, 0, 3, 7, 8, INT32_MAX};
  for (int32_t reading : readings) {
    for (int32_t mode : modes) {
      for (int32_t language : languages) {
        SoundRig rig;
        rig.random.values = {INT32_MIN, -1, INT32_MAX};
        runSoundCycle(SoundSnapshot{reading, 1, language, mode}, rig.seams);
        EXPECT_GE(rig.clock.now, 100u) << "reading " << reading << " mode " << mode << " language " << language;
        for (const std::string& sound : rig.player.played)
          EXPECT_EQ(sound.find("INVALID"), std::string::npos) << sound << " for reading " << reading << " mode "
                                                              << mode << " language " << language;
      }
    }
  }
}

TEST(ThreadEnd, AtMostOneCycleAfterWatchingStops) {
  for (int32_t mode : {kSoundModeAuto, kSoundModeTone, kSoundModeVoice, kSoundModeMute, kSoundModeBirds,
                       kSoundModePitch, 6}) {
    SoundRig rig;
    rig.signal.soundMode = mode;
    rig.signal.readings = {{0, 50}};
    rig.signal.watchUntilMs = 1000;
    rig.run();
    size_t afterStop = 0;
    for (uint64_t t : rig.signal.snapshotTimes) afterStop += t >= 1000 ? 1 : 0;
    EXPECT_EQ(afterStop, 1u) << "mode " << mode;
    EXPECT_EQ(rig.running.load(), 0) << "mode " << mode;
  }
}

TEST(ThreadEnd, RunsOneCycleWhenWatchingHasAlreadyStopped) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModeTone;
  rig.signal.readings = {{0, 50}};
  rig.signal.watchUntilMs = 0;
  EXPECT_EQ(rig.run(), Played{"0 TONE"});
  EXPECT_EQ(rig.signal.snapshotTimes.size(), 1u);
}

class FlagWatchingPlayer : public SoundPlayer {
 public:
  explicit FlagWatchingPlayer(const std::atomic<uint8_t>& running) : running_(running) {}
  std::vector<int> flagsSeen;
  void play(int) override { flagsSeen.push_back(running_.load()); }
  void playGlidePreview() override {}

 private:
  const std::atomic<uint8_t>& running_;
};

TEST(ThreadEnd, RunningFlagIsRaisedForTheThreadsLifetime) {
  SoundRig rig;
  FlagWatchingPlayer player(rig.running);
  SoundSeams seams{rig.signal, player, rig.stop, rig.random, rig.counter, rig.pitch};
  rig.signal.soundMode = kSoundModeTone;
  rig.signal.readings = {{0, 50}};
  rig.signal.watchUntilMs = 3000;
  runSoundThread(seams, rig.running);
  EXPECT_EQ(player.flagsSeen, (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(rig.running.load(), 0);
}

namespace {

class CountingLock : public Lock {
 public:
  int held = 0;
  int entered = 0;
  void enter() override {
    ++held;
    ++entered;
  }
  void leave() override { --held; }
};

// Snapshots of the real settings record, as the program takes them, until a moment.
class RecordSnapshots : public SnapshotSource {
 public:
  RecordSnapshots(Clock& clock, const SettingsRecord& settings) : clock_(clock), settings_(settings) {}
  SignalState signal;
  uint64_t watchUntilMs = 0;
  SoundSnapshot take() override {
    signal.watch.store(clock_.nowMs() < watchUntilMs ? 1 : 0);
    return readSoundSnapshot(signal, settings_);
  }

 private:
  Clock& clock_;
  const SettingsRecord& settings_;
};

}  // namespace

// The main window's own cycle, round from Auto to Auto while the value is being spoken: the
// counter reset that goes with it brings the three beeps back.
TEST(SoundModeCycle, RoundToAutoWhileSpeakingRestartsTheBeeps) {
  SoundRig rig;
  SettingsRecord settings{};
  settings.soundMode = kSoundModeAuto;
  CountingLock lock;
  RecordSnapshots snapshots(rig.clock, settings);
  snapshots.signal.level.store(50);
  snapshots.watchUntilMs = 6900;  // the cycle at 6900 is the last
  bool cycled = false;
  rig.clock.onSleep = [&](uint32_t) {
    if (cycled || rig.clock.now < 5000) return;
    cycled = true;
    for (int i = 0; i < kSoundModeCount; ++i) cycleSoundMode(settings, rig.counter, lock);
  };
  SoundSeams seams{snapshots, rig.player, rig.stop, rig.random, rig.counter, rig.pitch};
  runSoundThread(seams, rig.running);
  const Played expected = {"0 TONE", "1400 TONE", "2800 TONE", "4200 EN5", "4700 EN0", "5500 TONE", "6900 TONE"};
  EXPECT_EQ(rig.player.played, expected);
  EXPECT_EQ(settings.soundMode, kSoundModeAuto);
  EXPECT_EQ(lock.entered, kSoundModeCount);
  EXPECT_EQ(lock.held, 0);
}

TEST(SoundModeCycle, WrapsFromPitchToAutoAndKeepsCountingADamagedMode) {
  const struct {
    int32_t from, to;
  } cases[] = {{0, 1}, {3, 4}, {4, 5}, {5, 0}, {6, 7}, {-1, 0}, {INT32_MAX, INT32_MIN}};
  for (const auto& c : cases) {
    SettingsRecord settings{};
    settings.soundMode = c.from;
    std::atomic<int32_t> counter{3};
    CountingLock lock;
    EXPECT_EQ(cycleSoundMode(settings, counter, lock), c.to) << c.from;
    EXPECT_EQ(settings.soundMode, c.to) << c.from;
    EXPECT_EQ(counter.load(), 0) << c.from;
  }
}

// The satellite check's sounds, owed from given moments on.
class ScheduledCues final : public CueSource {
 public:
  ScheduledCues(Clock& clock, std::vector<std::pair<uint64_t, int>> cues) : clock_(clock), cues_(std::move(cues)) {}
  int takeCue() override {
    if (next_ >= cues_.size() || cues_[next_].first > clock_.nowMs()) return -1;
    return cues_[next_++].second;
  }

 private:
  Clock& clock_;
  std::vector<std::pair<uint64_t, int>> cues_;
  size_t next_ = 0;
};

// A cue waits for the thread's own sound to play out (700 ms into its pause), not for the whole pause.
TEST(SatelliteCues, PlayBetweenTheThreadsOwnSoundsAndPlayOutBeforeTheNext) {
  struct Case {
    int32_t mode;
    Played expected;
  } cases[] = {
      {kSoundModeTone, {"0 TONE", "1000 FOUND", "1700 TONE", "2500 WRONG", "3200 TONE", "4700 TONE"}},
      {kSoundModeVoice, {"0 EN4", "500 EN2", "1200 FOUND", "1900 EN4", "2400 EN2", "3100 WRONG", "3800 EN4", "4300 EN2",
                         "5100 EN4", "5600 EN2"}},
      // Mute drops them unheard: not one comes later either.
      {kSoundModeMute, {}},
  };
  for (const Case& c : cases) {
    SoundRig rig;
    rig.signal.soundMode = c.mode;
    rig.signal.readings = {{0, 42}};
    rig.signal.watchUntilMs = 4100;
    ScheduledCues cues(rig.clock, {{1000, kFoundEntry}, {2500, kWrongEntry}});
    rig.seams.cues = &cues;
    EXPECT_EQ(rig.run(), c.expected) << "mode " << c.mode;
  }
}
