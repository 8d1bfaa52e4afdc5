// The sound table from the resources, the sound thread and the sound-mode previews.
#include <windows.h>
#include <mmsystem.h>

#include "app/env.h"
#include "app/globals.h"
#include "app/globals_win32.h"
#include "feedback/feedback_win32.h"
#include "feedback/sound_table.h"
#include "feedback/sound_thread.h"

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
    sndPlaySoundA(static_cast<LPCSTR>(soundTable[entry]), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
  }
};

// The snapshot is taken under the program's lock so the mode and the auto-tone counter reset
// made by the main window arrive together.
class LockedSnapshots final : public SnapshotSource {
 public:
  SoundSnapshot take() override {
    EnterCriticalSection(&shell.lock);
    const SoundSnapshot snapshot = readSoundSnapshot(signalState, settingsRecord);
    LeaveCriticalSection(&shell.lock);
    return snapshot;
  }
};

WaveOutPlayer wavePlayer;

}  // namespace

void loadSoundTable() {
  HMODULE module = GetModuleHandleA(nullptr);
  for (int entry = 0; entry < kSoundTableSize; ++entry) soundTable[entry] = loadRecording(module, soundEntryName(entry));
}

void playSoundModePreview(int soundMode) {
  playModePreview(soundMode, readShared(settingsRecord.languageIndex), wavePlayer, systemClock());
}

DWORD WINAPI soundThread(LPVOID) {
  LockedSnapshots snapshots;
  SoundSeams seams{snapshots, wavePlayer, systemClock(), libraryRandom(), autoToneCounter};
  runSoundThread(seams, signalState.soundRunning);
  return 0;
}
