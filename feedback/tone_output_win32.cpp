#include "feedback/tone_output_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "core/env_win32.h"
#include "core/late_dlls_win32.h"

struct WaveToneOutput::Device {
  const LateWaveOut* waveOut;
  HWAVEOUT handle;
  HANDLE bufferDone;  // auto-reset; waveOut sets it as each buffer finishes
  WAVEHDR headers[kToneBufferCount];
  bool queued[kToneBufferCount];
  int16_t samples[kToneBufferCount][kToneBufferSamples];
};

namespace {

constexpr DWORD kBufferBytes = kToneBufferSamples * sizeof(int16_t);

bool isFree(const WAVEHDR& header, bool queued) {
  return !queued || (*static_cast<volatile const DWORD*>(&header.dwFlags) & WHDR_DONE) != 0;
}

}  // namespace

bool WaveToneOutput::open() {
  const LateWaveOut* waveOut = lateWaveOut();
  if (waveOut == nullptr) return false;
  Device* device = new Device{};
  device->waveOut = waveOut;
  device->bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kToneSampleRate, kToneSampleRate * sizeof(int16_t), sizeof(int16_t), 16, 0};
  if (device->bufferDone == nullptr ||
      waveOut->open(&device->handle, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(device->bufferDone), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    if (device->bufferDone != nullptr) CloseHandle(device->bufferDone);
    delete device;
    return false;
  }
  for (int i = 0; i < kToneBufferCount; ++i) {
    WAVEHDR& header = device->headers[i];
    header.lpData = reinterpret_cast<LPSTR>(device->samples[i]);
    header.dwBufferLength = kBufferBytes;
    waveOut->prepare(device->handle, &header, sizeof(header));
  }
  device_ = device;
  return true;
}

bool WaveToneOutput::write(const int16_t* samples, StopEvent& stop) {
  HANDLE waits[2] = {watchStopEventHandle(), device_->bufferDone};
  for (;;) {
    if (stop.isSet()) return false;
    for (int i = 0; i < kToneBufferCount; ++i) {
      WAVEHDR& header = device_->headers[i];
      if (!isFree(header, device_->queued[i])) continue;
      std::memcpy(device_->samples[i], samples, kBufferBytes);
      header.dwFlags &= ~WHDR_DONE;
      device_->queued[i] = device_->waveOut->write(device_->handle, &header, sizeof(header)) == MMSYSERR_NOERROR;
      // A device that takes no more (unplugged) still paces the thread, as a played buffer would.
      return device_->queued[i] || stop.pause(kToneBufferMs);
    }
    // Every buffer is playing: wait for one to finish, or for stop.
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return false;
  }
}

// waveOutReset ends the buffers still queued at once, so nothing more is heard.
void WaveToneOutput::close() {
  if (device_ == nullptr) return;
  const LateWaveOut* waveOut = device_->waveOut;
  waveOut->reset(device_->handle);
  for (WAVEHDR& header : device_->headers) waveOut->unprepare(device_->handle, &header, sizeof(header));
  waveOut->close(device_->handle);
  CloseHandle(device_->bufferDone);
  delete device_;
  device_ = nullptr;
}
