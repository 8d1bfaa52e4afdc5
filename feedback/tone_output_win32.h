// The Pitch tone's sound device: waveOut with a few short buffers.
#pragma once
#include "feedback/pitch_stream.h"

// A device for one sound thread; the waits for a free buffer end at once on the watch stop event.
class WaveToneOutput final : public ToneOutput {
 public:
  bool open() override;
  bool write(const int16_t* samples, StopEvent& stop) override;
  void close() override;

 private:
  struct Device;
  Device* device_ = nullptr;
};
