// The six sound modes and the main window's cycle through them.
#pragma once
#include <atomic>
#include <cstdint>

#include "core/env.h"
#include "core/settings.h"

constexpr int32_t kSoundModeAuto = 0;
constexpr int32_t kSoundModeTone = 1;
constexpr int32_t kSoundModeVoice = 2;
constexpr int32_t kSoundModeMute = 3;
constexpr int32_t kSoundModeBirds = 4;
constexpr int32_t kSoundModePitch = 5;
constexpr int32_t kSoundModeCount = 6;

constexpr uint32_t kQuietCycleMs = 100;  // zero reading, Mute, and readings or modes we cannot voice

// +1, wrapping 5 to 0; a damaged mode of 6 or more keeps counting (and paints no name).
int32_t nextSoundMode(int32_t mode);

// The next mode and a reset of the auto-tone counter, together under the lock the sound thread
// takes for its snapshot: so choosing Auto again while a signal is present restarts the beeps.
// Returns the new mode.
int32_t cycleSoundMode(SettingsRecord& settings, std::atomic<int32_t>& autoToneCounter, Lock& lock);
