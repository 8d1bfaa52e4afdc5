// The sound thread's decisions: what to play and how long to wait, driven through seams so
// whole sequences run against fake pauses. The Win32 side supplies the locked snapshot and
// the player (feedback/sound_thread_win32.cpp, feedback/sound_table_win32.cpp).
#pragma once
#include <atomic>
#include <cstdint>

#include "core/env.h"
#include "core/globals.h"
#include "core/settings.h"
#include "feedback/pitch_stream.h"
#include "feedback/sound_mode.h"

constexpr int32_t kAutoBeepCount = 3;        // beeps in Auto mode before the value is spoken
constexpr uint32_t kAutoBeepPauseMs = 1400;
constexpr uint32_t kTonePauseMs = 1500;
constexpr uint32_t kBirdPauseMinMs = 1000;   // plus 0..999
constexpr uint32_t kBirdPauseSpreadMs = 1000;
constexpr uint32_t kFirstDigitMs = 500;      // a longer recording is cut off by the second digit
constexpr uint32_t kAfterDigitsMs = 800;
constexpr uint32_t kBirdPreviewGapMs = 1000;
constexpr uint32_t kCuePauseMs = 700;        // the longest cue, and the longest own sound, play out in this
constexpr uint32_t kCueLookMs = 100;         // how often a longer pause looks for an owed cue

// Plays one sound table entry at once and returns; a new sound cuts off the one still playing.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void play(int entry) = 0;
  // Plays the Pitch mode's rising glide the same way.
  virtual void playGlidePreview() = 0;
};

// Uniform non-negative integers, as the C library's rand gives them (0..32767).
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int32_t next() = 0;
};
// std::rand, never seeded.
RandomSource& libraryRandom();

// What one cycle acts on, read together under the program's lock.
struct SoundSnapshot {
  int32_t reading;
  int32_t watch;
  int32_t languageIndex;
  int32_t soundMode;
};

class SnapshotSource {
 public:
  virtual ~SnapshotSource() = default;
  virtual SoundSnapshot take() = 0;
};

// The reading the selector names (quality when non-zero, else level), the watch flag,
// language and mode. The caller holds the lock that guards the mode against a cycle.
SoundSnapshot readSoundSnapshot(const SignalState& signal, const SettingsRecord& settings);

// Sounds owed from outside the thread (the satellite check's), played between its own.
class CueSource {
 public:
  virtual ~CueSource() = default;
  // The table entry owed, once; -1 when none is.
  virtual int takeCue() = 0;
};

// Every pause waits on the stop event, so a stop ends the thread within its current pause.
struct SoundSeams {
  SnapshotSource& snapshots;
  SoundPlayer& player;
  StopEvent& stop;
  RandomSource& random;
  std::atomic<int32_t>& autoToneCounter;
  PitchStream& pitch;
  CueSource* cues = nullptr;
};

// The value as its first two decimal characters: the tens then, 500 ms later, the units, then
// 800 ms of quiet. A language outside 0..7 gives the 800 ms without a sound. False when stop cut
// a pause short (nothing more is played then).
bool speakReading(int32_t reading, int32_t languageIndex, SoundPlayer& player, StopEvent& stop);

// One cycle of the sound thread acting on a snapshot. Never returns without pausing, so a
// damaged mode or a negative reading cannot make the thread spin. False when stop cut it short.
// In Pitch mode a cycle is one buffer of the tone; any other mode first ends the tone.
bool runSoundCycle(const SoundSnapshot& snapshot, SoundSeams& seams);

// The whole thread: raises running, plays an owed cue before each cycle (let play out; in Mute
// mode dropped unheard), cycles while the snapshot's watch flag is set (so at most
// one cycle follows the end of watching) and the stop event is not set, ends the tone, clears
// running. A pause longer than kCuePauseMs ends early for an owed cue once kCuePauseMs of it have
// passed, so the thread's own sound has played out and the cue need not wait for the whole pause.
void runSoundThread(SoundSeams& seams, std::atomic<uint8_t>& running);

// The preview of a newly chosen sound mode: TONE for Auto and Tone, the language's zero for
// Voice, nothing for Mute, BIRD0 then a second later BIRD1 for Birds (sleeping on the caller),
// the rising glide for Pitch.
void playModePreview(int32_t soundMode, int32_t languageIndex, SoundPlayer& player, Clock& clock);
