// The Pitch mode's tone: one continuous note whose pitch follows the reading, synthesised
// sample by sample so that it can move ten times a second without a gap or a click.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Mono, 16 bits. A 10 ms period is a whole number of samples: at 22050 Hz Wine pulls 221 samples each
// 10 ms and the sound falls 2 ms further behind every second.
constexpr int kToneSampleRate = 44100;
constexpr double kLowestPitchHz = 300.0;     // reading 1
constexpr double kHighestPitchHz = 1500.0;   // reading 100 and above
constexpr int32_t kHighestPitchReading = 100;
constexpr uint32_t kGlideMs = 30;            // a new reading's pitch is reached this long after it
constexpr uint32_t kFadeMs = 10;             // the note starts and ends this softly
constexpr uint32_t kTickPeriodMs = 1000;     // reading 0: one tick a second
constexpr uint32_t kTickMs = 6;
constexpr double kTickHz = 2000.0;
constexpr uint32_t kGlidePreviewMs = 1000;   // the preview rises from the lowest pitch to the highest
// Peak of the note's waveform in samples; the harmonics keep the sum below it, so it never clips.
constexpr double kTonePeak = 12000.0;
constexpr double kTickPeak = 2500.0;
static_assert(kTonePeak < 32767.0 && kTickPeak < kTonePeak);

constexpr size_t samplesOfMs(uint32_t ms) { return static_cast<size_t>(kToneSampleRate) * ms / 1000; }

// 300 Hz at 1 to 1500 Hz at 100 on a logarithmic scale, so each point is the same musical step;
// a reading above 100 (the level is never capped) keeps the highest pitch. 0 for no reading (0 or below).
double pitchHz(int32_t reading);

// The waveform at a phase (cycles, 0..1): a sine with three softer harmonics, scaled to -1..1.
double toneWave(double phase);

class PitchTone {
 public:
  // The reading whose pitch to glide to (within kGlideMs); 0 or below fades the note out and
  // ticks once a second from then on.
  void follow(int32_t reading);
  void render(int16_t* out, size_t count);
  // The note's frequency now (the glide's current point); 0 when silent.
  double currentHz() const;

 private:
  int16_t nextSample();
  double phase_ = 0.0;      // cycles, kept across every change so the waveform never jumps
  double logHz_ = 0.0;      // log2 of the frequency; the glide is even in musical steps
  double targetLogHz_ = 0.0;
  double glideStep_ = 0.0;
  size_t glideLeft_ = 0;
  bool sounding_ = false;   // the target: a note (true) or silence with ticks
  double gain_ = 0.0;       // 0..1, the fade in and out
  size_t quietSamples_ = 0; // since the note last fell silent, for the ticks
};

// The preview of Pitch mode: kGlidePreviewMs rising evenly in musical steps from the lowest pitch
// to the highest, faded in and out.
std::vector<int16_t> glidePreview();

// A complete in-memory WAV image (RIFF header included) of mono 16-bit samples at kToneSampleRate.
std::vector<uint8_t> waveImage(const std::vector<int16_t>& samples);
