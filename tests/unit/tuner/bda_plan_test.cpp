#include <gtest/gtest.h>

#include "tuner/bda_plan.h"
#include "tuner/tune.h"

namespace {

// The oscillators and switch for what the tune operation sends on each band, LNB2, DVB-S.
TEST(BdaPlan, OscillatorsAndSwitchKeepTheBandTheToneChose) {
  const struct {
    int32_t lo1, lo2, mhz, tone;
    uint32_t low, high, switchKHz;
  } cases[] = {
      {kKuLo1Mhz, kKuLo2Mhz, 11778, 1, 9750000, 10600000, 11700000},  // Ku high band
      {kKuLo1Mhz, kKuLo2Mhz, 10714, 0, 9750000, 10600000, 11700000},  // Ku low band
      {kKuLo1Mhz, kKuLo2Mhz, 11700, 1, 9750000, 10600000, 11700000},  // at the switch
      {kKuLo1Mhz, kKuLo2Mhz, 11699, 1, 9750000, 10600000, 11699000},  // 11699.5 MHz: tone on, kHz dropped
      {kCLo1Mhz, kCLo2Mhz, 3799, 0, 5150000, 5750000, 11700000},      // C band: 5150 MHz without tone
  };
  for (const auto& c : cases) {
    BdaTunePlanner planner;
    planner.setLnbFrequencies(c.lo1, c.lo2);
    const BdaTuning tuning = planner.plan(c.mhz, 27500, 1, c.tone, 2, false);
    EXPECT_EQ(tuning.frequencyKHz, static_cast<uint32_t>(c.mhz) * 1000) << c.mhz;
    EXPECT_EQ(tuning.lnb.set, true) << c.mhz;
    EXPECT_EQ(tuning.lnb.lowKHz, c.low) << c.mhz;
    EXPECT_EQ(tuning.lnb.highKHz, c.high) << c.mhz;
    EXPECT_EQ(tuning.switchKHz, c.switchKHz) << c.mhz;
    // The tuner's own rule, tone from frequency >= switch, must agree with the tone flag.
    EXPECT_EQ(tuning.frequencyKHz >= tuning.switchKHz, c.tone == 1) << c.mhz;
  }
  EXPECT_EQ(bdaSwitchKHz(11800000, 0), 11801000u) << "tone off above the Ku switch moves it above";
}

TEST(BdaPlan, NoOscillatorsUntilABandWasChosen) {
  BdaTunePlanner planner;
  EXPECT_FALSE(planner.plan(5000, 27500, 1, 0, 2, false).lnb.set);
}

TEST(BdaPlan, DiseqcPortPerLnbSelection) {
  const struct {
    int32_t selection, port;
  } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {0, kNoDiseqcPort}, {-1, kNoDiseqcPort}, {5, kNoDiseqcPort}};
  for (const auto& c : cases) EXPECT_EQ(diseqcPort(c.selection), c.port) << "LNB selection " << c.selection;
}

TEST(BdaPlan, PolarisationHorizontalOrLeftIsH) {
  BdaTunePlanner planner;
  EXPECT_EQ(planner.plan(11778, 27500, 1, 1, 0, false).polarisation, BdaPolarisation::LinearH);
  EXPECT_EQ(planner.plan(11778, 27500, 0, 1, 0, false).polarisation, BdaPolarisation::LinearV);
}

// Each retune of the same transponder (the poll thread's after an unlocked read) tries the next.
TEST(BdaPlan, DvbS2TriesEightPskThenQpskAndDvbSStaysQpsk) {
  BdaTunePlanner planner;
  EXPECT_EQ(planner.plan(11720, 27500, 1, 1, 2, true).modulation, BdaModulation::Nbc8psk);
  EXPECT_EQ(planner.plan(11720, 27500, 1, 1, 2, true).modulation, BdaModulation::NbcQpsk);
  EXPECT_EQ(planner.plan(11720, 27500, 1, 1, 2, true).modulation, BdaModulation::Nbc8psk);
  EXPECT_EQ(planner.plan(11720, 22000, 1, 1, 2, true).modulation, BdaModulation::Nbc8psk) << "another transponder starts over";
  EXPECT_EQ(planner.plan(11720, 22000, 1, 1, 2, false).modulation, BdaModulation::Qpsk);
  EXPECT_EQ(planner.plan(11720, 22000, 1, 1, 2, false).modulation, BdaModulation::Qpsk);
  EXPECT_EQ(static_cast<int>(BdaModulation::NbcQpsk), 31);
  EXPECT_EQ(static_cast<int>(BdaModulation::Nbc8psk), 32);
}

TEST(StrengthScale, PercentUntilAMilliDbValueIsSeen) {
  StrengthScale scale;
  const struct {
    int32_t strength, percent;
  } sequence[] = {
      {0, 0}, {100, 100}, {57, 57},            // a percentage
      {25000, 50},                             // 25 dB below nominal: milli-dB from here on
      {0, 100}, {100, 100}, {499, 100}, {500, 99},
      {-3000, 100},                            // above nominal
      {49999, 1}, {50000, 0}, {900000, 0},
  };
  for (const auto& s : sequence) EXPECT_EQ(scale.percent(s.strength), s.percent) << s.strength;
  StrengthScale negative;
  EXPECT_EQ(negative.percent(-1), 100);
  EXPECT_TRUE(negative.milliDb());
}

TEST(StrengthScale, QualityHeldToPercent) {
  EXPECT_EQ(qualityPercent(-5), 0);
  EXPECT_EQ(qualityPercent(64), 64);
  EXPECT_EQ(qualityPercent(140), 100);
}

}  // namespace
