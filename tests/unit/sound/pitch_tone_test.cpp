#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "feedback/pitch_tone.h"

namespace {

std::vector<int16_t> render(PitchTone& tone, uint32_t ms) {
  std::vector<int16_t> out(samplesOfMs(ms));
  tone.render(out.data(), out.size());
  return out;
}

// The largest step between neighbouring samples the waveform itself makes at a frequency.
double waveformStep(double hz) {
  double most = 0.0;
  for (int i = 0; i < 10000; ++i) {
    const double phase = i / 10000.0;
    most = std::max(most, std::abs(toneWave(phase + hz / kToneSampleRate) - toneWave(phase)));
  }
  return kTonePeak * most + 1.0;
}

int largestStep(const std::vector<int16_t>& samples) {
  int most = 0;
  for (size_t i = 1; i < samples.size(); ++i) most = std::max(most, std::abs(samples[i] - samples[i - 1]));
  return most;
}

// Starts of the sounding stretches after at least 100 ms of silence, in samples.
std::vector<size_t> onsets(const std::vector<int16_t>& samples) {
  std::vector<size_t> found;
  size_t quiet = samplesOfMs(100);
  for (size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] != 0 && quiet >= samplesOfMs(100)) found.push_back(i);
    quiet = samples[i] == 0 ? quiet + 1 : 0;
  }
  return found;
}

}  // namespace

TEST(PitchCurve, EndsAndEqualMusicalStepsAndItsLimits) {
  const struct {
    int32_t reading;
    double hz;
  } cases[] = {{1, 300.0}, {100, 1500.0}, {101, 1500.0}, {INT32_MAX, 1500.0}, {0, 0.0}, {-3, 0.0}, {INT32_MIN, 0.0}};
  for (const auto& c : cases) EXPECT_NEAR(pitchHz(c.reading), c.hz, 1e-9) << c.reading;
  const double step = std::pow(5.0, 1.0 / 99.0);
  for (int32_t r = 1; r < 100; ++r) EXPECT_NEAR(pitchHz(r + 1) / pitchHz(r), step, 1e-12) << r;
}

TEST(PitchGlide, ReachesTheNewPitchWithinFiftyMillisecondsWithoutAJump) {
  const struct {
    int32_t from, to;
  } cases[] = {{20, 80}, {80, 20}, {50, 51}, {100, 1}, {1, 100}};
  for (const auto& c : cases) {
    PitchTone tone;
    tone.follow(c.from);
    std::vector<int16_t> out = render(tone, 200);
    EXPECT_NEAR(tone.currentHz(), pitchHz(c.from), 1e-6);
    tone.follow(c.to);
    std::vector<int16_t> glide = render(tone, 50);
    EXPECT_NEAR(tone.currentHz(), pitchHz(c.to), 1e-6) << c.from << " to " << c.to;
    out.insert(out.end(), glide.begin(), glide.end());
    EXPECT_LE(largestStep(out), waveformStep(std::max(pitchHz(c.from), pitchHz(c.to)))) << c.from << " to " << c.to;
  }
}

TEST(PitchGlide, NewReadingsMidGlideAndSilenceNeverJump) {
  PitchTone tone;
  std::vector<int16_t> out;
  for (int32_t reading : {30, 90, 10, 0, 60, 61, 0, 0, 100}) {
    tone.follow(reading);
    const std::vector<int16_t> part = render(tone, 20);
    out.insert(out.end(), part.begin(), part.end());
  }
  EXPECT_LE(largestStep(out), waveformStep(kHighestPitchHz));
}

TEST(PitchLoudness, SteadyAtEveryPitch) {
  std::vector<double> rms;
  for (int32_t reading : {1, 25, 50, 75, 100}) {
    PitchTone tone;
    tone.follow(reading);
    render(tone, 100);
    const std::vector<int16_t> out = render(tone, 200);
    double sum = 0.0;
    for (int16_t s : out) sum += static_cast<double>(s) * s;
    rms.push_back(std::sqrt(sum / out.size()));
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
  const std::vector<size_t> ticks = onsets(quiet);
  ASSERT_EQ(ticks.size(), 4u);
  for (size_t k = 0; k < ticks.size(); ++k) {
    EXPECT_NEAR(static_cast<double>(ticks[k]), static_cast<double>(k * kToneSampleRate), 2.0) << k;
    for (size_t i = ticks[k] + samplesOfMs(kTickMs); i < ticks[k] + samplesOfMs(100); ++i) ASSERT_EQ(quiet[i], 0) << k;
    for (size_t i = ticks[k]; i < ticks[k] + samplesOfMs(kTickMs); ++i) EXPECT_LE(std::abs(quiet[i]), kTickPeak);
  }
}

TEST(PitchPreview, RisesFromTheLowestPitchToTheHighestInASecond) {
  const std::vector<int16_t> glide = glidePreview();
  ASSERT_EQ(glide.size(), samplesOfMs(kGlidePreviewMs));
  EXPECT_EQ(glide.front(), 0);
  EXPECT_LE(std::abs(glide.back()), 2000);  // the last sample of the fade-out
  // Upward zero crossings of the first and last 100 ms count the cycles there.
  const auto cycles = [&glide](size_t from) {
    int count = 0;
    for (size_t i = from + 1; i < from + samplesOfMs(100); ++i) count += glide[i - 1] < 0 && glide[i] >= 0 ? 1 : 0;
    return count;
  };
  EXPECT_NEAR(cycles(0), 0.1 * kLowestPitchHz * std::pow(5.0, 0.05), 3.0);
  EXPECT_NEAR(cycles(glide.size() - samplesOfMs(100) - 1), 0.1 * kHighestPitchHz / std::pow(5.0, 0.05), 6.0);
  const std::vector<uint8_t> image = waveImage(glide);
  ASSERT_EQ(image.size(), 44 + 2 * glide.size());
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
  EXPECT_EQ(image[24] | image[25] << 8, kToneSampleRate);
  EXPECT_EQ(image[44] | image[45] << 8, static_cast<uint16_t>(glide[0]));
}
