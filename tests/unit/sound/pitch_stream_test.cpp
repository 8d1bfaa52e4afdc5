#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound/sound_fakes.h"

using Played = std::vector<std::string>;
using Times = std::vector<uint64_t>;

TEST(PitchMode, StreamsBackToBackBuffersThatFollowTheReadingAtOnce) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 20}, {500, 80}};
  rig.signal.watchUntilMs = 1000;
  EXPECT_EQ(rig.run(), Played{});
  EXPECT_EQ(rig.tone.opens, 1);
  EXPECT_EQ(rig.tone.closeTimes, Times{1000 + kToneBufferMs});  // the one cycle after watching
  for (size_t i = 0; i < rig.tone.starts.size(); ++i) ASSERT_EQ(rig.tone.starts[i], i * kToneBufferMs) << i;
  // The first buffer made from a snapshot at 500 ms or later plays at most the queue's length later.
  size_t first = 0;
  while (rig.signal.snapshotTimes.at(first) < 500) ++first;
  EXPECT_LE(rig.tone.starts.at(first), 500u + kToneBufferCount * kToneBufferMs);
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
  EXPECT_LE(rig.clock.now, 1010u + kToneBufferMs);
  EXPECT_EQ(rig.tone.closeTimes, Times{rig.clock.now});
  EXPECT_LE(rig.tone.starts.back(), rig.clock.now + (kToneBufferCount - 1) * kToneBufferMs);
}

TEST(PitchMode, OtherModesCloseTheDeviceFirstAndPitchOpensItAgain) {
  SoundRig rig;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 35}};
  rig.signal.modeChanges = {{1000, kSoundModeTone}, {2000, kSoundModePitch}};
  rig.signal.watchUntilMs = 3000;
  EXPECT_EQ(rig.run(), Played{"1000 TONE"});
  EXPECT_EQ(rig.tone.opens, 2);
  EXPECT_EQ(rig.tone.closeTimes, (Times{1000, 3000 + kToneBufferMs}));
}

TEST(PitchMode, WithoutADeviceSilentInQuietCyclesAndOpenedOnce) {
  SoundRig rig;
  rig.tone.present = false;
  rig.signal.soundMode = kSoundModePitch;
  rig.signal.readings = {{0, 70}};
  rig.signal.watchUntilMs = 500;
  EXPECT_EQ(rig.run(), Played{});
  EXPECT_EQ(rig.tone.opens, 1);
  EXPECT_EQ(rig.tone.closeTimes, Times{});
  EXPECT_EQ(rig.signal.snapshotTimes, (Times{0, 100, 200, 300, 400, 500}));
}
