#include "feedback/pitch_tone.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Relative strengths of the fundamental and its harmonics: soft, yet more than a bare sine
// carries on a small laptop speaker outdoors.
constexpr double kHarmonics[] = {1.0, 0.5, 0.25, 0.12};
constexpr double kHarmonicSum = 1.0 + 0.5 + 0.25 + 0.12;

int16_t toSample(double value) { return static_cast<int16_t>(std::lround(value)); }

double tickAt(size_t sample) {
  const double n = static_cast<double>(samplesOfMs(kTickMs));
  const double window = 0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(sample) / n);  // Hann: no edge
  return kTickPeak * window * std::sin(kTwoPi * kTickHz * static_cast<double>(sample) / kToneSampleRate);
}

}  // namespace

double pitchHz(int32_t reading) {
  if (reading <= 0) return 0.0;
  const int32_t capped = std::min(reading, kHighestPitchReading);
  const double share = static_cast<double>(capped - 1) / (kHighestPitchReading - 1);
  return kLowestPitchHz * std::pow(kHighestPitchHz / kLowestPitchHz, share);
}

double toneWave(double phase) {
  double sum = 0.0;
  for (size_t k = 0; k < std::size(kHarmonics); ++k) sum += kHarmonics[k] * std::sin(kTwoPi * (k + 1) * phase);
  return sum / kHarmonicSum;
}

void PitchTone::follow(int32_t reading) {
  const double hz = pitchHz(reading);
  sounding_ = hz > 0.0;
  if (!sounding_) return;
  const double target = std::log2(hz);
  if (gain_ == 0.0) {  // from silence the fade-in hides the start; nothing to glide from
    logHz_ = targetLogHz_ = target;
    glideLeft_ = 0;
    return;
  }
  if (target == targetLogHz_) return;
  targetLogHz_ = target;
  glideLeft_ = samplesOfMs(kGlideMs);
  glideStep_ = (target - logHz_) / static_cast<double>(glideLeft_);
}

int16_t PitchTone::nextSample() {
  if (glideLeft_ > 0) logHz_ = --glideLeft_ == 0 ? targetLogHz_ : logHz_ + glideStep_;
  const double fadeStep = 1.0 / static_cast<double>(samplesOfMs(kFadeMs));
  gain_ = sounding_ ? std::min(1.0, gain_ + fadeStep) : std::max(0.0, gain_ - fadeStep);
  if (gain_ > 0.0) {
    quietSamples_ = 0;
    phase_ += std::exp2(logHz_) / kToneSampleRate;
    phase_ -= std::floor(phase_);
    return toSample(kTonePeak * gain_ * toneWave(phase_));
  }
  const size_t inPeriod = quietSamples_++ % samplesOfMs(kTickPeriodMs);
  return inPeriod < samplesOfMs(kTickMs) ? toSample(tickAt(inPeriod)) : 0;
}

void PitchTone::render(int16_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i) out[i] = nextSample();
}

double PitchTone::currentHz() const { return gain_ > 0.0 ? std::exp2(logHz_) : 0.0; }

std::vector<int16_t> glidePreview() {
  const size_t count = samplesOfMs(kGlidePreviewMs);
  const size_t fade = samplesOfMs(kFadeMs);
  const double low = std::log2(kLowestPitchHz);
  const double span = std::log2(kHighestPitchHz) - low;
  std::vector<int16_t> samples(count);
  double phase = 0.0;
  for (size_t i = 0; i < count; ++i) {
    phase += std::exp2(low + span * static_cast<double>(i) / static_cast<double>(count - 1)) / kToneSampleRate;
    phase -= std::floor(phase);
    const double gain = std::min(1.0, static_cast<double>(std::min(i, count - 1 - i)) / static_cast<double>(fade));
    samples[i] = toSample(kTonePeak * gain * toneWave(phase));
  }
  return samples;
}

std::vector<uint8_t> waveImage(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> image;
  const auto put = [&image](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) image.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  // Byte by byte: GCC 12 warns falsely on a range insert of a literal here.
  const auto tag = [&image](const char* four) {
    for (int i = 0; i < 4; ++i) image.push_back(static_cast<uint8_t>(four[i]));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(kToneSampleRate, 4);
  put(kToneSampleRate * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (int16_t sample : samples) put(static_cast<uint16_t>(sample), 2);
  return image;
}
