#include "feedback/sound_thread_win32.h"

#include "core/env_win32.h"
#include "core/globals.h"
#include "feedback/sound_table_win32.h"
#include "feedback/sound_thread.h"
#include "feedback/tone_output_win32.h"

namespace {

// The snapshot is taken under the program's lock so the mode and the auto-tone counter reset
// made by the main window arrive together.
class LockedSnapshots final : public SnapshotSource {
 public:
  SoundSnapshot take() override {
    LockHolder held(programLock());
    return readSoundSnapshot(signalState, settingsRecord);
  }
};

std::atomic<CueSource*> cueSource{nullptr};

}  // namespace

void setSoundCues(CueSource* cues) { cueSource.store(cues); }

DWORD WINAPI soundThread(LPVOID) {
  LockedSnapshots snapshots;
  WaveToneOutput toneOutput;
  PitchStream pitch(toneOutput);
  SoundSeams seams{snapshots, wavePlayer(), watchStopEvent(), libraryRandom(), autoToneCounter, pitch,
                   cueSource.load()};
  runSoundThread(seams, signalState.soundRunning);
  return 0;
}
