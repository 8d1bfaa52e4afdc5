// Pitch mode on the sound thread: the tone streamed to the sound device a short buffer at a
// time. The device comes through a seam so tests run the stream against a fake.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/env.h"
#include "feedback/pitch_tone.h"

constexpr uint32_t kToneBufferMs = 20;  // a new reading is heard at most a few of these later
constexpr int kToneBufferCount = 3;
constexpr size_t kToneBufferSamples = samplesOfMs(kToneBufferMs);

// A sound device playing queued buffers of samples one after the other.
class ToneOutput {
 public:
  virtual ~ToneOutput() = default;
  // Opens the device for mono 16-bit samples at kToneSampleRate; false when there is none.
  virtual bool open() = 0;
  // Waits until one of the kToneBufferCount buffers has finished playing, then queues these
  // kToneBufferSamples samples. False at once when stop is set (nothing is queued then).
  virtual bool write(const int16_t* samples, StopEvent& stop) = 0;
  // Cuts off what is queued and closes the device.
  virtual void close() = 0;
};

class PitchStream {
 public:
  explicit PitchStream(ToneOutput& output) : output_(output) {}
  // One buffer of the tone for this reading, opening the device first when the stream is new;
  // the wait for a free buffer is the sound thread's pause. Without a device, a quiet pause.
  // False when stop cut the wait short.
  bool play(int32_t reading, StopEvent& stop);
  // Closes the device (the sound is cut off at once); the next play starts a new note.
  void end();

 private:
  enum class State { Closed, Open, NoDevice };
  ToneOutput& output_;
  State state_ = State::Closed;
  PitchTone tone_;
  int16_t buffer_[kToneBufferSamples] = {};
};
