#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/globals.h"
#include "support/fake_tuner.h"
#include "tuner/tune.h"

namespace {

struct TuneCase {
  int32_t frequencyKHz;
  std::vector<std::string> expectedTrace;
};

// Symbol rate 27500, horizontal, LNB2 throughout; only the frequency moves the choices.
const TuneCase kTuneCases[] = {
    // Band edge for the Ku oscillators.
    {10699000, {"Tune 10699 27500 1 0 2"}},
    {10699001, {"SetLnbFrequencies 1 10600 9750", "Tune 10699 27500 1 0 2"}},
    // Band edge for the C oscillators.
    {4201000, {"Tune 4201 27500 1 0 2"}},
    {4200999, {"SetLnbFrequencies 0 5150 5750", "Tune 4200 27500 1 0 2"}},
    // Tone edge.
    {11699000, {"SetLnbFrequencies 1 10600 9750", "Tune 11699 27500 1 0 2"}},
    {11699001, {"SetLnbFrequencies 1 10600 9750", "Tune 11699 27500 1 1 2"}},
    {11700000, {"SetLnbFrequencies 1 10600 9750", "Tune 11700 27500 1 1 2"}},
    // kHz digits below the MHz are dropped, not rounded.
    {12188999, {"SetLnbFrequencies 1 10600 9750", "Tune 12188 27500 1 1 2"}},
    {3999999, {"SetLnbFrequencies 0 5150 5750", "Tune 3999 27500 1 0 2"}},
    // Between the bands (an L-band or odd LNB): the card keeps its oscillators.
    {5000000, {"Tune 5000 27500 1 0 2"}},
    // A cleared record: C band, MHz 0.
    {0, {"SetLnbFrequencies 0 5150 5750", "Tune 0 27500 1 0 2"}},
};

TEST(TuneOperation, OscillatorsToneAndMegahertzFollowTheFrequency) {
  for (const TuneCase& tuneCase : kTuneCases) {
    FakeTuner tuner;
    tuneOperation(tuner, TuneRequest{tuneCase.frequencyKHz, 27500, 1, 2});
    EXPECT_EQ(tuner.trace, tuneCase.expectedTrace) << "frequency " << tuneCase.frequencyKHz << " kHz";
  }
}

TEST(TuneOperation, PassesPolarizationSymbolRateAndLnbSelectionUnchanged) {
  const struct {
    TuneRequest request;
    const char* expectedTune;
  } cases[] = {
      {{11778000, 27500, 0, 0}, "Tune 11778 27500 0 1 0"},
      {{11778000, 1000, 1, 4}, "Tune 11778 1000 1 1 4"},
      {{11778000, 45000, 0, -1}, "Tune 11778 45000 0 1 -1"},  // no LNB chosen
      {{11778000, 27500, 2, 7}, "Tune 11778 27500 2 1 7"},    // damaged values go through as they are
  };
  for (const auto& c : cases) {
    FakeTuner tuner;
    tuneOperation(tuner, c.request);
    ASSERT_EQ(tuner.trace.size(), 2u);
    EXPECT_EQ(tuner.trace[1], c.expectedTune);
  }
}

TEST(TuneOperation, CurrentRequestComesFromSettingsAndParsedValues) {
  settingsRecord.frequencyKHz = 12603000;
  settingsRecord.lnbSelection = -1;
  tuningValues.symbolRate = 22000;
  tuningValues.polarization = 0;
  const TuneRequest request = currentTuneRequest();
  EXPECT_EQ(request.frequencyKHz, 12603000);
  EXPECT_EQ(request.symbolRate, 22000);
  EXPECT_EQ(request.polarization, 0);
  EXPECT_EQ(request.lnbSelection, -1);
}

}  // namespace

TEST(TuneOperation, TheDvbS2MarkReachesTheTuneCall) {
  FakeTuner tuner;
  tuneOperation(tuner, TuneRequest{11720000, 27500, 1, 2, true});
  EXPECT_EQ(tuner.trace.back(), "Tune 11720 27500 1 1 2 S2");
}
