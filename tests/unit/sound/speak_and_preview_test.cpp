#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/globals.h"
#include "sound/sound_fakes.h"

using Played = std::vector<std::string>;

TEST(SpeakReading, SaysTheFirstTwoCharactersInAThirteenHundredMillisecondCycle) {
  const struct {
    int32_t reading;
    int32_t language;
    Played expected;
    uint64_t elapsed;
  } cases[] = {
      {57, 5, {"0 FR5", "500 FR7"}, 1300},
      {7, 0, {"0 EN7"}, 1300},
      {100, 0, {"0 EN1", "500 EN0"}, 1300},  // the level is never capped: spoken as ten
      {10, 2, {"0 RU1", "500 RU0"}, 1300},
      {99, 7, {"0 PR9", "500 PR9"}, 1300},
      {42, 1, {"0 DE4", "500 DE2"}, 1300},
      {1234567, 3, {"0 IT1", "500 IT2"}, 1300},
      {INT32_MAX, 4, {"0 CH2", "500 CH1"}, 1300},  // more digits than the text holds
      {57, 8, {}, 800},
      {57, -1, {}, 800},
      {57, INT32_MAX, {}, 800},
  };
  for (const auto& c : cases) {
    ZeroClock clock;
    FakeStopEvent stop(clock);
    RecordingPlayer player(clock);
    speakReading(c.reading, c.language, player, stop);
    EXPECT_EQ(player.played, c.expected) << "reading " << c.reading << " language " << c.language;
    EXPECT_EQ(clock.now, c.elapsed) << "reading " << c.reading << " language " << c.language;
  }
}

TEST(ModePreview, PlaysWhatEachNewModeSoundsLike) {
  const struct {
    int32_t mode;
    int32_t language;
    Played expected;
    uint64_t elapsed;
  } cases[] = {
      {kSoundModeAuto, 0, {"0 TONE"}, 0},
      {kSoundModeTone, 3, {"0 TONE"}, 0},
      {kSoundModeVoice, 0, {"0 EN0"}, 0},
      {kSoundModeVoice, 1, {"0 DE0"}, 0},
      {kSoundModeVoice, 2, {"0 RU0"}, 0},
      {kSoundModeVoice, 7, {"0 PR0"}, 0},
      {kSoundModeVoice, 8, {}, 0},
      {kSoundModeVoice, -1, {}, 0},
      {kSoundModeMute, 0, {}, 0},
      {kSoundModeBirds, 0, {"0 BIRD0", "1000 BIRD1"}, 1000},
      {kSoundModePitch, 0, {"0 GLIDE"}, 0},
      {6, 0, {}, 0},
      {-1, 0, {}, 0},
  };
  for (const auto& c : cases) {
    ZeroClock clock;
    RecordingPlayer player(clock);
    playModePreview(c.mode, c.language, player, clock);
    EXPECT_EQ(player.played, c.expected) << "mode " << c.mode << " language " << c.language;
    EXPECT_EQ(clock.now, c.elapsed) << "mode " << c.mode;
  }
}

TEST(SoundSnapshot, ReadsTheSelectedReadingAndTheSettings) {
  const struct {
    int32_t selector;
    int32_t expectedReading;
  } cases[] = {{0, 61}, {1, 44}, {5, 44}, {-1, 44}};
  for (const auto& c : cases) {
    SignalState signal;
    signal.level.store(61);
    signal.quality.store(44);
    signal.watch.store(1);
    SettingsRecord settings{};
    settings.readingSelector = c.selector;
    settings.languageIndex = 6;
    settings.soundMode = kSoundModeBirds;
    const SoundSnapshot snapshot = readSoundSnapshot(signal, settings);
    EXPECT_EQ(snapshot.reading, c.expectedReading) << "selector " << c.selector;
    EXPECT_EQ(snapshot.watch, 1);
    EXPECT_EQ(snapshot.languageIndex, 6);
    EXPECT_EQ(snapshot.soundMode, kSoundModeBirds);
  }
}
