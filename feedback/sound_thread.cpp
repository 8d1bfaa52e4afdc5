#include "feedback/sound_thread.h"

#include <cstdio>
#include <cstdlib>

#include "feedback/sound_table.h"

namespace {

class LibraryRandom final : public RandomSource {
 public:
  int32_t next() override { return std::rand(); }
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A draw reduced to 0..n-1 even if a source hands out a negative number.
uint32_t drawBelow(RandomSource& random, uint32_t n) { return static_cast<uint32_t>(random.next()) % n; }

bool playBirdCall(SoundSeams& seams) {
  const uint32_t bird = drawBelow(seams.random, kBirdCount);
  seams.player.play(birdEntry(static_cast<int>(bird)));
  return seams.stop.pause(kBirdPauseMinMs + drawBelow(seams.random, kBirdPauseSpreadMs));
}

bool playAutoCycle(const SoundSnapshot& snapshot, SoundSeams& seams) {
  if (seams.autoToneCounter.load() < kAutoBeepCount) {
    seams.player.play(kToneEntry);
    seams.autoToneCounter.fetch_add(1);
    return seams.stop.pause(kAutoBeepPauseMs);
  }
  return speakReading(snapshot.reading, snapshot.languageIndex, seams.player, seams.stop);
}

// The thread's pauses, which give way to an owed cue once the thread's own sound has played out.
class CuePauses final : public StopEvent {
 public:
  CuePauses(StopEvent& stop, CueSource* cues) : stop_(stop), cues_(cues) {}
  void set() override { stop_.set(); }
  void reset() override { stop_.reset(); }
  bool isSet() override { return stop_.isSet(); }
  bool pause(uint32_t ms) override {
    if (cues_ == nullptr || ms <= kCuePauseMs) return stop_.pause(ms);
    if (!stop_.pause(kCuePauseMs)) return false;
    for (uint32_t left = ms - kCuePauseMs; left > 0;) {
      if (owed_ < 0) owed_ = cues_->takeCue();
      if (owed_ >= 0) return true;
      const uint32_t slice = left < kCueLookMs ? left : kCueLookMs;
      if (!stop_.pause(slice)) return false;
      left -= slice;
    }
    return true;
  }
  int take() {
    const int entry = owed_ >= 0 ? owed_ : cues_ != nullptr ? cues_->takeCue() : -1;
    owed_ = -1;
    return entry;
  }

 private:
  StopEvent& stop_;
  CueSource* cues_;
  int owed_ = -1;
};

bool playOwedCue(const SoundSnapshot& snapshot, SoundSeams& seams, CuePauses& pauses) {
  const int entry = pauses.take();
  if (entry < 0 || snapshot.soundMode == kSoundModeMute) return true;
  seams.player.play(entry);
  return seams.stop.pause(kCuePauseMs);
}

}  // namespace

RandomSource& libraryRandom() {
  static LibraryRandom random;
  return random;
}

SoundSnapshot readSoundSnapshot(const SignalState& signal, const SettingsRecord& settings) {
  SoundSnapshot snapshot{};
  snapshot.reading = readShared(settings.readingSelector) != 0 ? signal.quality.load() : signal.level.load();
  snapshot.watch = signal.watch.load();
  snapshot.languageIndex = readShared(settings.languageIndex);
  snapshot.soundMode = readShared(settings.soundMode);
  return snapshot;
}

bool speakReading(int32_t reading, int32_t languageIndex, SoundPlayer& player, StopEvent& stop) {
  // Seven digits and the terminator; longer values are cut, and only two are spoken anyway.
  char text[8];
  std::snprintf(text, sizeof(text), "%d", static_cast<int>(reading));
  if (languageIndex < 0 || languageIndex >= kSoundLanguageCount) return stop.pause(kAfterDigitsMs);
  if (isDigit(text[0])) player.play(digitEntry(languageIndex, text[0] - '0'));
  if (!stop.pause(kFirstDigitMs)) return false;
  if (text[0] != '\0' && isDigit(text[1])) player.play(digitEntry(languageIndex, text[1] - '0'));
  return stop.pause(kAfterDigitsMs);
}

bool runSoundCycle(const SoundSnapshot& snapshot, SoundSeams& seams) {
  if (snapshot.soundMode == kSoundModePitch) {
    if (snapshot.reading == 0) seams.autoToneCounter.store(0);
    return seams.pitch.play(snapshot.reading, seams.stop);
  }
  seams.pitch.end();
  if (snapshot.reading == 0) {
    seams.autoToneCounter.store(0);
    return seams.stop.pause(kQuietCycleMs);
  }
  if (snapshot.reading < 0) return seams.stop.pause(kQuietCycleMs);
  switch (snapshot.soundMode) {
    case kSoundModeAuto:
      return playAutoCycle(snapshot, seams);
    case kSoundModeTone:
      seams.player.play(kToneEntry);
      return seams.stop.pause(kTonePauseMs);
    case kSoundModeVoice:
      return speakReading(snapshot.reading, snapshot.languageIndex, seams.player, seams.stop);
    case kSoundModeBirds:
      return playBirdCall(seams);
    default:  // Mute, and a mode a damaged settings file counted past Birds
      return seams.stop.pause(kQuietCycleMs);
  }
}

void runSoundThread(SoundSeams& given, std::atomic<uint8_t>& running) {
  running.store(1);
  CuePauses pauses(given.stop, given.cues);
  SoundSeams seams{given.snapshots, given.player, pauses, given.random, given.autoToneCounter, given.pitch,
                   given.cues};
  SoundSnapshot snapshot{};
  do {
    snapshot = seams.snapshots.take();
    // Nothing new starts once stop is pressed.
    if (seams.stop.isSet() || !playOwedCue(snapshot, seams, pauses) || !runSoundCycle(snapshot, seams)) break;
  } while (snapshot.watch != 0);
  seams.pitch.end();
  running.store(0);
}

void playModePreview(int32_t soundMode, int32_t languageIndex, SoundPlayer& player, Clock& clock) {
  switch (soundMode) {
    case kSoundModeAuto:
    case kSoundModeTone:
      player.play(kToneEntry);
      break;
    case kSoundModeVoice:
      if (digitEntry(languageIndex, 0) >= 0) player.play(digitEntry(languageIndex, 0));
      break;
    case kSoundModeBirds:
      player.play(birdEntry(0));
      clock.sleepMs(kBirdPreviewGapMs);
      player.play(birdEntry(1));
      break;
    case kSoundModePitch:
      player.playGlidePreview();
      break;
    default:  // Mute, or a damaged mode
      break;
  }
}
