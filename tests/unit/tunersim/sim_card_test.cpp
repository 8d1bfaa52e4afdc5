#include <gtest/gtest.h>

#include "tunersim/sim_card.h"

using namespace tunersim;

namespace {

LnbSetting ku() { return {true, 1, 10600, 9750}; }
LnbSetting cBand() { return {true, 0, 5150, 5750}; }
TuneRequest tuneTo(int32_t mhz, int32_t tone) { return {true, mhz, 27500, 1, tone, 1}; }

}  // namespace

TEST(LockRule, NeedsReceivedFrequencyAndFittingOscillatorAndTone) {
  struct Case {
    const char* name;
    LnbSetting lnb;
    TuneRequest tune;
    bool fits;
  } cases[] = {
      {"high band with tone", ku(), tuneTo(11720, 1), true},
      {"high band top edge", ku(), tuneTo(12750, 1), true},
      {"above the Ku range", ku(), tuneTo(12751, 1), false},
      {"high band without tone", ku(), tuneTo(11720, 0), false},
      {"band edge 11700 needs tone", ku(), tuneTo(11700, 0), false},
      {"band edge 11700 with tone", ku(), tuneTo(11700, 1), true},
      {"low band without tone", ku(), tuneTo(10700, 0), true},
      {"11699 is low band", ku(), tuneTo(11699, 0), true},
      {"11699 with tone uses the wrong oscillator", ku(), tuneTo(11699, 1), false},
      {"low band with tone", ku(), tuneTo(11000, 1), false},
      {"below the Ku range", ku(), tuneTo(10699, 0), false},
      {"C band", cBand(), tuneTo(3400, 0), true},
      {"C band top edge", cBand(), tuneTo(4200, 0), true},
      {"C band ignores the tone", cBand(), tuneTo(4000, 1), true},
      {"above C band", cBand(), tuneTo(4201, 0), false},
      {"below C band", cBand(), tuneTo(3399, 0), false},
      {"Ku frequency on a C setting", cBand(), tuneTo(11000, 0), false},
      {"C frequency on a Ku setting", ku(), tuneTo(4000, 0), false},
      {"swapped Ku oscillators", {true, 1, 9750, 10600}, tuneTo(11720, 1), false},
      {"no oscillator setting yet", {}, tuneTo(11720, 1), false},
      {"no tune yet", ku(), {}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(tuningFits(c.lnb, c.tune, defaultReception()), c.fits) << c.name;
}

TEST(PannedDish, PassesTheSatelliteEveryTwentySecondsWithQualityBelowLevel) {
  int strongStretches = 0;
  bool wasStrong = false;
  int strongMs = 0;
  int lockedMs = 0;
  for (int64_t ms = 0; ms < 60000; ms += 100) {
    const Reading reading = pannedDishReading(ms);
    EXPECT_GE(reading.level, 0) << ms;
    EXPECT_LE(reading.level, 100) << ms;
    EXPECT_GE(reading.quality, 0) << ms;
    if (reading.lock) {
      lockedMs += 100;
      EXPECT_LT(reading.quality, reading.level) << ms;
    } else {
      EXPECT_EQ(reading.level, 0) << ms;
      EXPECT_EQ(reading.quality, 0) << ms;
    }
    const bool strong = reading.lock && reading.level >= 70;
    if (strong) strongMs += 100;
    if (strong && !wasStrong) ++strongStretches;
    wasStrong = strong;
  }
  EXPECT_EQ(strongStretches, 3);                   // at 4 s, 24 s and 44 s
  EXPECT_GE(strongMs, 3 * 1500);                   // a few seconds each
  EXPECT_LE(lockedMs, 60000 / 2);                  // off the satellite most of the time
  EXPECT_TRUE(pannedDishReading(kFirstPassMs).lock);
  EXPECT_GE(pannedDishReading(kFirstPassMs).level, 90);
  EXPECT_FALSE(pannedDishReading(0).lock);
}

TEST(PannedDish, ChangesSmoothly) {
  // Between reads 100 ms apart, only the beam and a little noise move the readings.
  Reading previous = pannedDishReading(0);
  for (int64_t ms = 100; ms < 40000; ms += 100) {
    const Reading reading = pannedDishReading(ms);
    if (reading.lock && previous.lock) {
      EXPECT_LE(std::abs(reading.level - previous.level), 12) << ms;
      EXPECT_LE(std::abs(reading.quality - previous.quality), 12) << ms;
    }
    previous = reading;
  }
}

TEST(BeamPattern, IsHalfPowerAtHalfTheBeamWidth) {
  EXPECT_DOUBLE_EQ(beamGain(0.0), 1.0);
  EXPECT_NEAR(beamGain(kBeamWidthDegrees / 2), 0.5, 1e-9);
  EXPECT_NEAR(beamGain(-kBeamWidthDegrees / 2), 0.5, 1e-9);
  EXPECT_LT(beamGain(kPanAmplitudeDegrees), kLockGain);
}

TEST(Script, ParsesLinesOrdersThemAndSkipsWhatIsNotALine) {
  const Script script = parseScript(
      "# comment\n"
      "0 0 0 0\n"
      "\n"
      "2000 1 80 70\r\n"
      "1000 1 50 40\n"
      "  3000\t1 100 100  \n"
      "4000 1 50\n"
      "5000 1 50 40 9 9\n"
      "x 1 2 3\n"
      "-5 1 2 3\n"
      "6000 1 5x 3\n"
      "7000 0 0 0");
  ASSERT_EQ(script.size(), 5u);
  const int64_t times[] = {0, 1000, 2000, 3000, 7000};
  for (size_t i = 0; i < script.size(); ++i) EXPECT_EQ(script[i].ms, times[i]) << i;
  EXPECT_TRUE(script[2].reading.lock);
  EXPECT_EQ(script[2].reading.level, 80);
  EXPECT_EQ(script[2].reading.quality, 70);
  EXPECT_EQ(script[3].reading.quality, 100);
  EXPECT_FALSE(script[4].reading.lock);
}

TEST(Script, AFifthNumberMakesReadsSlowWhileTheLineHolds) {
  const Script script = parseScript("0 1 50 40\n1000 1 60 50 1500\n2000 1 60 50 -1\n3000 1 60 50 60001\n");
  ASSERT_EQ(script.size(), 2u) << "a negative or longer than a minute read time is malformed";
  const struct {
    int64_t ms, readMs;
  } cases[] = {{-1, 0}, {0, 0}, {999, 0}, {1000, 1500}, {100000000, 1500}};
  for (const auto& c : cases) EXPECT_EQ(scriptReadMs(script, c.ms), c.readMs) << c.ms;
  SimulatedCard card;
  card.useScript(script);
  EXPECT_EQ(card.readDelayMs(5000), 0) << "nothing is slow before the first tune";
  card.tune({true, 11778, 27500, 1, 1, 2}, 100);
  EXPECT_EQ(card.readDelayMs(1099), 0);
  EXPECT_EQ(card.readDelayMs(1100), 1500);
}

TEST(Script, ACrashLineMakesReadsCrashFromItsTimeUntilTheNextLine) {
  const Script script = parseScript("0 1 50 40\n1000 crash \r\n2000 1 60 50\n3000 crashes\n4000 crash 5\n-5 crash\n");
  ASSERT_EQ(script.size(), 3u) << "another word, a number after it or a negative time is malformed";
  const struct {
    int64_t ms;
    bool crash;
  } cases[] = {{-1, false}, {999, false}, {1000, true}, {1999, true}, {2000, false}};
  for (const auto& c : cases) EXPECT_EQ(scriptCrashes(script, c.ms), c.crash) << c.ms;
  EXPECT_FALSE(scriptReading(script, 1500).lock) << "a crash line has no signal";
  SimulatedCard card;
  card.useScript(script);
  EXPECT_FALSE(card.readCrashes(5000)) << "nothing crashes before the first tune";
  card.tune({true, 11778, 27500, 1, 1, 2}, 100);
  EXPECT_FALSE(card.readCrashes(1099));
  EXPECT_TRUE(card.readCrashes(1100));
}

TEST(Script, EachLineHoldsUntilTheNextAndTheLastForEver) {
  const Script script = parseScript("500 1 10 5\n1500 1 60 50\n1500 0 0 0\n2500 1 90 80\n");
  struct Case {
    int64_t ms;
    bool lock;
    int32_t level;
  } cases[] = {{0, false, 0},    {499, false, 0},  {500, true, 10},   {1499, true, 10},
               {1500, false, 0}, {2499, false, 0}, {2500, true, 90}, {100000000, true, 90}};
  for (const Case& c : cases) {
    const Reading reading = scriptReading(script, c.ms);
    EXPECT_EQ(reading.lock, c.lock) << c.ms;
    EXPECT_EQ(reading.level, c.level) << c.ms;
  }
  EXPECT_FALSE(scriptReading({}, 1000).lock);
}

TEST(SimulatedCard, CountsScriptTimeFromTheFirstTuneAndAppliesTheLockRule) {
  SimulatedCard card;
  card.useScript(parseScript("0 1 40 30\n1000 1 80 70\n"));
  EXPECT_FALSE(card.readSignal(50).lock);  // nothing tuned
  card.setLnbFrequencies(1, 10600, 9750);
  card.tune(tuneTo(11720, 1), 5000);
  EXPECT_EQ(card.readSignal(5500).level, 40);
  card.tune(tuneTo(11720, 1), 5800);  // a retune does not restart the script
  EXPECT_EQ(card.readSignal(6000).level, 80);
  card.tune(tuneTo(11720, 0), 6100);  // wrong tone for the high band
  const Reading mistuned = card.readSignal(6200);
  EXPECT_FALSE(mistuned.lock);
  EXPECT_EQ(mistuned.level, 0);
  EXPECT_EQ(mistuned.quality, 0);
  card.setLnbFrequencies(0, 5150, 5750);
  card.tune(tuneTo(11720, 1), 6300);  // C-band oscillators for a Ku frequency
  EXPECT_FALSE(card.readSignal(6400).lock);
  card.tune(tuneTo(3900, 0), 6500);
  EXPECT_EQ(card.readSignal(6600).level, 80);
}

TEST(SimulatedCard, ScriptedUnlockReportsNoReadings) {
  SimulatedCard card;
  card.useScript(parseScript("0 0 55 44\n"));
  card.setLnbFrequencies(1, 10600, 9750);
  card.tune(tuneTo(10800, 0), 0);
  const Reading reading = card.readSignal(100);
  EXPECT_FALSE(reading.lock);
  EXPECT_EQ(reading.level, 0);
  EXPECT_EQ(reading.quality, 0);
}

TEST(SimulatedCard, WithoutScriptFollowsThePannedDish) {
  SimulatedCard card;
  card.setLnbFrequencies(1, 10600, 9750);
  card.tune(tuneTo(10800, 0), 1000);
  const Reading reading = card.readSignal(1000 + kFirstPassMs);
  const Reading expected = pannedDishReading(kFirstPassMs);
  EXPECT_TRUE(reading.lock);
  EXPECT_EQ(reading.level, expected.level);
  EXPECT_EQ(reading.quality, expected.quality);
}

TEST(Trace, LinesHaveTheirFixedShape) {
  EXPECT_EQ(traceSetLnbFrequencies(12, 1, 10600, 9750), "12 SetLnbFrequencies 1 10600 9750\n");
  EXPECT_EQ(traceTune(345, {true, 11720, 27500, 1, 1, -1}), "345 Tune 11720 27500 1 1 -1\n");
  EXPECT_EQ(traceReadSignal(9000000000LL, {true, 100, 99}), "9000000000 ReadSignal 1 100 99\n");
  EXPECT_EQ(traceReadSignal(7, {}), "7 ReadSignal 0 0 0\n");
  EXPECT_EQ(traceRelease(0), "0 Release\n");
  EXPECT_EQ(traceTune(1, {true, INT32_MIN, INT32_MAX, 0, 0, 0}), "1 Tune -2147483648 2147483647 0 0 0\n");
}
