#include "feedback/sound_mode.h"

int32_t nextSoundMode(int32_t mode) {
  const int32_t next = static_cast<int32_t>(static_cast<uint32_t>(mode) + 1u);  // no overflow on damaged input
  return next == kSoundModeCount ? 0 : next;
}

int32_t cycleSoundMode(SettingsRecord& settings, std::atomic<int32_t>& autoToneCounter, Lock& lock) {
  LockHolder held(lock);
  const int32_t mode = nextSoundMode(readShared(settings.soundMode));
  writeShared(settings.soundMode, mode);
  autoToneCounter.store(0);
  return mode;
}
