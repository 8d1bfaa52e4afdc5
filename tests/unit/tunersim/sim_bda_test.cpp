#include <gtest/gtest.h>

#include <vector>

#include "tunersim/sim_bda.h"

using namespace tunersim;

namespace {

BdaSettings ku(uint32_t kHz, uint32_t switchKHz = 11700000) {
  BdaSettings settings;
  settings.frequencyKHz = kHz;
  settings.polarisation = kPolarisationV;
  settings.lowKHz = 9750000;
  settings.highKHz = 10600000;
  settings.switchKHz = switchKHz;
  settings.symbolRate = 27500;
  settings.modulation = kModulationQpsk;
  return settings;
}

}  // namespace

// What the committed settings amount to on the card's lock rule, which the maker's card tests pin down.
TEST(BdaSim, CommittedSettingsLockAsTheCardWouldBeTuned) {
  BdaSettings cBand = ku(3799000);
  cBand.lowKHz = 5150000;
  cBand.highKHz = 5750000;
  BdaSettings cBandToneOn = cBand;
  cBandToneOn.switchKHz = 3000000;
  BdaSettings noLnb = ku(11778000);
  noLnb.lowKHz = noLnb.highKHz = 0;
  const struct {
    const char* name;
    BdaSettings settings;
    bool locks;
  } cases[] = {
      {"Ku high band", ku(11778000), true},
      {"Ku low band", ku(10714000), true},
      {"Ku high band with the switch above it (no tone)", ku(11778000, 11779000), false},
      {"C band, 5150 MHz without tone", cBand, true},
      {"C band with the tone: 5750 MHz in use", cBandToneOn, false},
      {"no oscillators ever committed", noLnb, false},
  };
  for (const auto& c : cases) {
    SimulatedCard card;
    card.useScript(parseScript("0 1 50 40\n"));
    applyToCard(c.settings, card, 1000);
    EXPECT_EQ(card.readSignal(1100).lock, c.locks) << c.name;
  }
}

TEST(BdaSim, DvbS2LocksOnlyOnAnNbcModulation) {
  const BdaOptions options = parseBdaOptions("0 1 50 40\ns2 11720\n# s2 11778\nstrength percent\n");
  EXPECT_EQ(options.dvbS2Mhz, std::vector<int32_t>{11720});
  EXPECT_TRUE(options.strengthPercent);
  BdaSettings s2 = ku(11720000);
  EXPECT_FALSE(modulationFits(s2, options)) << "QPSK on a DVB-S2 transponder";
  s2.modulation = kModulationNbc8psk;
  EXPECT_TRUE(modulationFits(s2, options));
  s2.modulation = kModulationNbcQpsk;
  EXPECT_TRUE(modulationFits(s2, options));
  BdaSettings s = ku(11778000);
  EXPECT_TRUE(modulationFits(s, options));
  s.modulation = kModulationNbc8psk;
  EXPECT_FALSE(modulationFits(s, options)) << "an NBC modulation on a DVB-S transponder";
  s.modulation = kModulationNotSet;
  EXPECT_TRUE(modulationFits(s, options));
}

TEST(BdaSim, StrengthInMilliDbBelowNominalOrPercent) {
  EXPECT_EQ(reportedStrength(100, BdaOptions{}), 0);
  EXPECT_EQ(reportedStrength(50, BdaOptions{}), 25000);
  EXPECT_EQ(reportedStrength(0, BdaOptions{}), 50000);
  EXPECT_EQ(reportedStrength(50, BdaOptions{true, {}}), 50);
}

TEST(BdaSim, TraceNamesEveryCommittedSetting) {
  BdaSettings settings = ku(11778000);
  settings.diseqcPort = 1;
  EXPECT_EQ(traceCommit(7, settings),
            "7 Frequency 11778000\n7 Polarisation V\n7 LowOscillator 9750000\n7 HighOscillator 10600000\n"
            "7 Switch 11700000\n7 SymbolRate 27500\n7 Modulation QPSK\n7 DiseqcPort B\n7 Commit\n");
  EXPECT_EQ(traceStop(9, 128), "9 Stop 128\n");
}

TEST(BdaSim, NullPacketsAreWholeTransportStreamPackets) {
  std::vector<uint8_t> stream(3 * kPacketSize, 0);
  NullPackets().nextPackets(stream.data(), 3);
  for (size_t packet = 0; packet < 3; ++packet) {
    const uint8_t* p = &stream[packet * kPacketSize];
    EXPECT_EQ(p[0], 0x47);
    EXPECT_EQ(((p[1] & 0x1F) << 8) | p[2], 0x1FFF) << "null PID";
    EXPECT_EQ(p[kPacketSize - 1], 0xFF);
  }
}
