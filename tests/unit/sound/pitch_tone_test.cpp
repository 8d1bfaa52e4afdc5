#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "feedback/pitch_tone.h"

namespace {

std::vector<int16_t> render(PitchTone& tone, uint32_t ms, std::vector<int16_t>* all = nullptr) {
  std::vector<int16_t> out(samplesOfMs(ms));
  tone.render(out.data(), out.size());
  if (all != nullptr) all->insert(all->end(), out.begin(), out.end());
  return out;
}

// A jump in phase shows as a step between neighbouring samples larger than the waveform makes itself.
void expectNoJump(const std::vector<int16_t>& samples, double highestHz, const char* what) {
  double own = 0.0;
  for (int i = 0; i < 10000; ++i) own = std::max(own, std::abs(toneWave(i / 1e4 + highestHz / kToneSampleRate) - toneWave(i / 1e4)));
  for (size_t i = 1; i < samples.size(); ++i)
    ASSERT_LE(std::abs(samples[i] - samples[i - 1]), kTonePeak * own + 1.0) << what << " at sample " << i;
}

}  // namespace

TEST(PitchCurve, EndsAndEqualMusicalStepsAndItsLimits) {
  const struct {
    int32_t reading;
    double hz;
  } cases[] = {{1, 300.0}, {100, 1500.0}, {101, 1500.0}, {INT32_MAX, 1500.0}, {0, 0.0}, {-3, 0.0}, {INT32_MIN, 0.0}};
  for (const auto& c : cases) EXPECT_NEAR(pitchHz(c.reading), c.hz, 1e-9) << c.reading;
  for (int32_t r = 1; r < 100; ++r) EXPECT_NEAR(pitchHz(r + 1) / pitchHz(r), std::pow(5.0, 1.0 / 99.0), 1e-12) << r;
}

TEST(PitchGlide, ReachesTheNewPitchWithinFiftyMillisecondsWithoutAJump) {
  const struct {
    int32_t from, to;
  } cases[] = {{20, 80}, {80, 20}, {50, 51}, {100, 1}, {1, 100}};
  for (const auto& c : cases) {
    PitchTone tone;
    tone.follow(c.from);
    std::vector<int16_t> out = render(tone, 200);
    tone.follow(c.to);
    render(tone, 50, &out);
    EXPECT_NEAR(tone.currentHz(), pitchHz(c.to), 1e-6) << c.from << " to " << c.to;
    expectNoJump(out, std::max(pitchHz(c.from), pitchHz(c.to)), "glide");
  }
  PitchTone tone;  // readings every 20 ms, mid-glide, into silence and out of it
  std::vector<int16_t> out;
  for (int32_t reading : {30, 90, 10, 0, 60, 61, 0, 0, 100}) {
    tone.follow(reading);
    render(tone, 20, &out);
  }
  expectNoJump(out, kHighestPitchHz, "readings every 20 ms");
}

TEST(PitchLoudness, SteadyAtEveryPitch) {
  std::vector<double> rms;
  for (int32_t reading : {1, 25, 50, 75, 100}) {
    PitchTone tone;
    tone.follow(reading);
    render(tone, 100);
    double sum = 0.0;
    for (int16_t s : render(tone, 200)) sum += static_cast<double>(s) * s;
    rms.push_back(std::sqrt(sum / samplesOfMs(200)));
  }
  for (double value : rms) EXPECT_NEAR(value / rms.front(), 1.0, 0.02);
}

TEST(PitchTicks, AQuietTickEverySecondAtReadingZero) {
  PitchTone tone;
  tone.follow(50);
  render(tone, 300);
  tone.follow(0);
  render(tone, kFadeMs);  // the note fades out, then the first tick
  const std::vector<int16_t> quiet = render(tone, 3500);
  std::vector<size_t> ticks;  // sounding samples after at least 100 ms of silence
  for (size_t i = 0, silent = samplesOfMs(100); i < quiet.size(); silent = quiet[i++] == 0 ? silent + 1 : 0)
    if (quiet[i] != 0 && silent >= samplesOfMs(100)) ticks.push_back(i);
  ASSERT_EQ(ticks.size(), 4u);
  for (size_t k = 0; k < ticks.size(); ++k) {
    EXPECT_NEAR(static_cast<double>(ticks[k]), static_cast<double>(k * kToneSampleRate), 2.0) << k;
    for (size_t i = ticks[k]; i < ticks[k] + samplesOfMs(100); ++i)
      ASSERT_LE(std::abs(quiet[i]), i < ticks[k] + samplesOfMs(kTickMs) ? kTickPeak : 0.0) << k;
  }
}

TEST(PitchPreview, RisesFromTheLowestPitchToTheHighestInASecond) {
  const std::vector<int16_t> glide = glidePreview();
  ASSERT_EQ(glide.size(), samplesOfMs(kGlidePreviewMs));
  // Upward zero crossings (one a cycle) of the first and last 100 ms, whose middles are 5 % in.
  const auto cycles = [&glide](size_t from) {
    int count = 0;
    for (size_t i = from + 1; i < from + samplesOfMs(100); ++i) count += glide[i - 1] < 0 && glide[i] >= 0 ? 1 : 0;
    return count;
  };
  EXPECT_NEAR(cycles(0), 0.1 * kLowestPitchHz * std::pow(5.0, 0.05), 3.0);
  EXPECT_NEAR(cycles(glide.size() - samplesOfMs(100) - 1), 0.1 * kHighestPitchHz / std::pow(5.0, 0.05), 6.0);
  EXPECT_EQ(waveImage(glide).size(), 44 + 2 * glide.size());
}
