// What the satellite line says and which sound is owed, from the simulated card's tables, with
// the lock and the time driven by the test.
#include <gtest/gtest.h>

#include <map>

#include "satcheck/satellite_watch.h"
#include "support/fake_clock.h"
#include "tunersim/sim_tables.h"

namespace {

constexpr int32_t kAstra = 192, kHotBird = 130;
const TunedTransponder kTuned{11778000, 0};  // 11778 V

tunersim::SimSatellite satellite(int32_t position, const char* name) {
  return {position, name, {{11778000, 1, 27500, 3, false}, {11954000, 0, 27500, 3, false}}};
}

class ListedNames final : public SatelliteNames {
 public:
  std::map<int32_t, std::string> names;
  std::string nameOf(int32_t position) override { return names.count(position) ? names[position] : ""; }
};

struct Rig {
  FakeClock clock;
  SatelliteWatch watch{clock};
  ListedNames names;
  uint32_t unlockedReads = 0;

  Rig() { watch.start(kTuned, kAstra); }
  void lock(bool locked) {
    if (!locked) ++unlockedReads;
    watch.observeLock(locked, unlockedReads);
  }
  // One repetition of the tables of the satellite the dish points at.
  void hear(int32_t position, const char* name, tunersim::TableOptions options = {}) {
    tunersim::TableStream stream(satellite(position, name), {kTuned.frequencyKHz, kTuned.polarization}, options);
    const std::string bytes = stream.next(50);
    watch.feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  SatelliteLine line() { return watch.line(names); }
};

}  // namespace

TEST(SatelliteWatch, SaysWhatTheStreamNamesAndOwesOneSoundForIt) {
  struct Case {
    int32_t position;
    const char* satellite;
    bool listed;  // the satellite list has a file for the position
    SatelliteLine expected;
    SatelliteCue cue;
  } cases[] = {
      {kAstra, "Astra 1KR/1L/1M/1N", true, {SatelliteVerdict::Chosen, "found 19.2E ASTRA"}, SatelliteCue::Found},
      {kHotBird, "Hot Bird 13F/13G", true,
       {SatelliteVerdict::Other, "13.0E Hot Bird 13F/13G: not the chosen satellite"}, SatelliteCue::Wrong},
      {kHotBird, "Hot Bird 13F/13G", false,
       {SatelliteVerdict::Other, "13.0E HOT BIRD: not the chosen satellite"}, SatelliteCue::Wrong},
      {3550, "Amos 3/7", false, {SatelliteVerdict::Other, "5.0W AMOS: not the chosen satellite"}, SatelliteCue::Wrong},
  };
  for (const Case& c : cases) {
    Rig rig;
    if (c.listed) rig.names.names[c.position] = c.satellite;
    rig.lock(true);
    rig.hear(c.position, c.satellite);
    EXPECT_EQ(rig.line(), c.expected) << c.satellite;
    EXPECT_EQ(rig.watch.takeCue(), c.cue) << c.satellite;
    rig.hear(c.position, c.satellite);
    EXPECT_EQ(rig.watch.takeCue(), SatelliteCue::None) << "the same position heard again: " << c.satellite;
  }
  const std::string list = " 19.2e - Astra";
  EXPECT_EQ(satelliteLineText(list, {}), list);
  EXPECT_EQ(satelliteLineText(list, {SatelliteVerdict::NoNetwork, kNoNetworkText}), list + "   no network information");
  EXPECT_EQ(satelliteLineText(list, {SatelliteVerdict::Other, "13.0E X: not"}), "13.0E X: not");
}

TEST(SatelliteWatch, NoNetworkInformationOnlyAfterTwelveSecondsOfLockWithAStreamAndNoNit) {
  Rig rig;
  rig.lock(true);
  rig.hear(kAstra, "Astra", {.noNit = true});
  rig.clock.now += kNoNetworkAfterMs - 1;
  EXPECT_EQ(rig.line(), SatelliteLine{}) << "just before 12 s";
  rig.clock.now += 1;
  EXPECT_EQ(rig.line(), (SatelliteLine{SatelliteVerdict::NoNetwork, kNoNetworkText}));
  EXPECT_EQ(rig.watch.takeCue(), SatelliteCue::None) << "nothing claimed, nothing sounded";
  // A lock lost restarts the 12 s.
  rig.lock(false);
  rig.lock(true);
  rig.hear(kAstra, "Astra", {.noNit = true});
  rig.clock.now += kNoNetworkAfterMs / 2;
  EXPECT_EQ(rig.line(), SatelliteLine{});
  // A NIT that comes late still names the satellite.
  rig.hear(kAstra, "Astra");
  EXPECT_EQ(rig.line().verdict, SatelliteVerdict::Chosen);

  // A tuner that gives no stream: nothing new, however long the lock.
  Rig silent;
  silent.lock(true);
  silent.clock.now += 10 * kNoNetworkAfterMs;
  EXPECT_EQ(silent.line(), SatelliteLine{});
}

// A lock lost, even one found again between two looks, forgets; stop clears and ignores the stream.
TEST(SatelliteWatch, ALostLockForgetsAndStopClears) {
  Rig rig;
  rig.lock(true);
  rig.hear(kAstra, "Astra");
  EXPECT_EQ(rig.watch.takeCue(), SatelliteCue::Found);
  rig.lock(false);
  EXPECT_EQ(rig.line(), SatelliteLine{}) << "while unlocked";
  rig.lock(true);
  rig.hear(kHotBird, "Hot Bird");
  EXPECT_EQ(rig.watch.takeCue(), SatelliteCue::Wrong) << "the dish moved while the lock was lost";
  rig.unlockedReads += 2;
  rig.lock(true);
  EXPECT_EQ(rig.line(), SatelliteLine{}) << "lost and found again between two looks";
  rig.hear(kAstra, "Astra");
  rig.watch.stop();
  EXPECT_EQ(rig.line(), SatelliteLine{});
  EXPECT_EQ(rig.watch.takeCue(), SatelliteCue::None) << "a sound owed is dropped at stop";
  rig.lock(true);
  rig.hear(kHotBird, "Hot Bird");
  EXPECT_EQ(rig.line(), SatelliteLine{}) << "after stop";
}
