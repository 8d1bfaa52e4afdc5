#include "feedback/sound_table_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "core/env.h"
#include "core/late_dlls_win32.h"
#include "core/globals.h"
#include "feedback/pitch_tone.h"
#include "feedback/sound_table.h"

namespace {

// Complete in-memory WAV images, filled once at start-up and never freed; null where a
// resource is missing.
const void* soundTable[kSoundTableSize] = {};

const void* loadRecording(HMODULE module, const char* name) {
  HRSRC found = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return nullptr;
  return LockResource(loaded);
}

// Asynchronous, from memory, never the system's default sound; a new sound cuts off the last.
class WaveOutPlayer final : public SoundPlayer {
 public:
  void play(int entry) override {
    if (entry < 0 || entry >= kSoundTableSize || soundTable[entry] == nullptr) return;
    playImage(soundTable[entry]);
  }
  // Made at the first preview and kept, since the sound plays on after the call returns.
  void playGlidePreview() override {
    static const std::vector<uint8_t> image = waveImage(glidePreview());
    playImage(image.data());
  }

 private:
  static void playImage(const void* image) {
    lateSndPlaySound(static_cast<LPCSTR>(image), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
  }
};

}  // namespace

void loadSoundTable() {
  HMODULE module = GetModuleHandleA(nullptr);
  for (int entry = 0; entry < kSoundTableSize; ++entry) soundTable[entry] = loadRecording(module, soundEntryName(entry));
}

SoundPlayer& wavePlayer() {
  static WaveOutPlayer player;
  return player;
}

void playSoundModePreview(int32_t soundMode) {
  playModePreview(soundMode, readShared(settingsRecord.languageIndex), wavePlayer(), systemClock());
}
