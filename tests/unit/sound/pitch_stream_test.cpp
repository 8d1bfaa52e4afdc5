#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound/sound_fakes.h"

using Played = std::vector<std::string>;

TEST(PitchMode, StreamsBackToBackBuffersThatFollowTheReadingAtOnce) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 20}, {500, 80}};
  rig.signal.watchUntilMs = 1000;
  EXPECT_EQ(rig.run(), Played{});
  EXPECT_EQ(rig.tone.opens, 1);
  EXPECT_EQ(rig.tone.closeTimes, std::vector<uint64_t>{1000 + kToneBufferMs});  // the one cycle after watching
  for (size_t i = 0; i < rig.tone.starts.size(); ++i) EXPECT_EQ(rig.tone.starts[i], i * kToneBufferMs) << i;
  // The first buffer made from a snapshot at 500 ms or later plays at most the queue's length later.
  size_t first = 0;
  while (first < rig.tone.starts.size() && rig.signal.snapshotTimes[first] < 500) ++first;
  ASSERT_LT(first, rig.tone.starts.size());
  EXPECT_LE(rig.tone.starts[first], 500u + kToneBufferCount * kToneBufferMs);
}

TEST(PitchMode, StopDuringABufferEndsTheStreamThen) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 60}};
  rig.signal.watchUntilMs = 60000;  // only the event ends it
  rig.clock.onSleep = [&rig](uint32_t) {
    if (rig.clock.now >= 1010) rig.stop.set();
  };
  rig.run();
  ASSERT_FALSE(rig.tone.closeTimes.empty());
  EXPECT_EQ(rig.tone.closeTimes, std::vector<uint64_t>{rig.clock.now});
  EXPECT_LE(rig.clock.now, 1010u + kToneBufferMs);
  EXPECT_LE(rig.tone.starts.back(), rig.clock.now + (kToneBufferCount - 1) * kToneBufferMs);
  EXPECT_EQ(rig.running.load(), 0);
}

TEST(PitchMode, OtherModesCloseTheDeviceFirstAndPitchOpensItAgain) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 35}};
  rig.signal.modeChanges = {{1000, kSoundModeTone}, {2000, kSoundModePitch}};
  rig.signal.watchUntilMs = 3000;
  EXPECT_EQ(rig.run(), Played{"1000 TONE"});
  EXPECT_EQ(rig.tone.opens, 2);
  EXPECT_EQ(rig.tone.closeTimes, (std::vector<uint64_t>{1000, 3000 + kToneBufferMs}));
}

TEST(PitchMode, WithoutADeviceSilentInQuietCyclesAndOpenedOnce) {
  SoundRig rig;
  rig.tone.present = false;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 70}};
  rig.signal.watchUntilMs = 500;
  EXPECT_EQ(rig.run(), Played{});
  EXPECT_EQ(rig.tone.opens, 1);
  EXPECT_TRUE(rig.tone.closeTimes.empty());
  EXPECT_EQ(rig.signal.snapshotTimes, (std::vector<uint64_t>{0, 100, 200, 300, 400, 500}));
}
