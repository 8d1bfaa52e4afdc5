#include "tuner/poll.h"

bool pollCycle(Tuner& tuner, StopEvent& stop, SignalState& signal, uint8_t& lock, TuneRequest (*request)()) {
  if (!stop.pause(kPollIntervalMs)) return false;
  // The card writes the readings only when locked; start from what is shared so an unlocked
  // call leaves nothing new behind.
  int32_t level = signal.level.load();
  int32_t quality = signal.quality.load();
  tuner.readSignal(&lock, &level, &quality);
  signal.locked.store(lock != 0 ? 1 : 0);
  if (lock != 0) {
    // Capped before it is shared, so no reader ever sees 100.
    if (quality == 100) quality = kQualityCap;
    signal.level.store(level);
    signal.quality.store(quality);
    if (level != 0) signal.levelSeen.store(1);
    if (quality != 0) signal.qualitySeen.store(1);
    return true;
  }
  signal.unlockedReads.fetch_add(1);
  signal.level.store(0);
  signal.quality.store(0);
  tuneOperation(tuner, request());
  return true;
}

void runPollThread(Tuner& tuner, StopEvent& stop, SignalState& signal, TuneRequest (*request)()) {
  signal.pollRunning.store(1);
  uint8_t lock = 0;
  while (signal.watch.load() != 0) {
    if (!pollCycle(tuner, stop, signal, lock, request)) break;
  }
  signal.quality.store(0);
  signal.level.store(0);
  signal.levelSeen.store(0);
  signal.qualitySeen.store(0);
  signal.locked.store(0);
  signal.pollRunning.store(0);
}
