#include "feedback/pitch_stream.h"

#include "feedback/sound_mode.h"

bool PitchStream::play(int32_t reading, StopEvent& stop) {
  if (state_ == State::Closed) state_ = output_.open() ? State::Open : State::NoDevice;
  if (state_ == State::NoDevice) return stop.pause(kQuietCycleMs);
  tone_.follow(reading);
  tone_.render(buffer_, kToneBufferSamples);
  return output_.write(buffer_, stop);
}

void PitchStream::end() {
  if (state_ == State::Open) output_.close();
  state_ = State::Closed;
  tone_ = PitchTone{};
}
