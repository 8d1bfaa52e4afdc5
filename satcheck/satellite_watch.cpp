#include "satcheck/satellite_watch.h"

std::string satelliteLineText(const std::string& listText, const SatelliteLine& line) {
  switch (line.verdict) {
    case SatelliteVerdict::Chosen:
    case SatelliteVerdict::NoNetwork: return listText + kLineGap + line.added;
    case SatelliteVerdict::Other: return line.added;
    case SatelliteVerdict::Unknown: break;
  }
  return listText;
}

void SatelliteWatch::start(const TunedTransponder& tuned, int32_t chosenPosition) {
  std::lock_guard<std::mutex> held(mutex_);
  tuned_ = tuned;
  chosen_ = chosenPosition;
  watching_ = true;
  locked_ = false;
  cue_ = SatelliteCue::None;
  forget();
}

void SatelliteWatch::stop() {
  std::lock_guard<std::mutex> held(mutex_);
  watching_ = false;
  locked_ = false;
  cue_ = SatelliteCue::None;
  forget();
}

void SatelliteWatch::forget() {
  check_.reset(tuned_);
  streamSeen_ = false;
  cuedPosition_ = -1;
}

void SatelliteWatch::feed(const uint8_t* bytes, size_t size) {
  std::lock_guard<std::mutex> held(mutex_);
  if (!watching_ || size == 0) return;
  streamSeen_ = true;
  check_.feed(bytes, size);
  const SatelliteIdentity identity = check_.identity();
  if (!identity.positionFound || identity.positionNumber == cuedPosition_) return;
  cuedPosition_ = identity.positionNumber;
  cue_ = identity.positionNumber == chosen_ ? SatelliteCue::Found : SatelliteCue::Wrong;
}

void SatelliteWatch::observeLock(bool locked, uint32_t unlockedReads) {
  std::lock_guard<std::mutex> held(mutex_);
  if (!watching_) return;
  const bool lost = unlockedReads != unlockedReads_;
  unlockedReads_ = unlockedReads;
  if (lost || !locked) {
    if (locked_ || lost) forget();
    locked_ = false;
  }
  if (locked && !locked_) {
    locked_ = true;
    lockedSinceMs_ = clock_.nowMs();
  }
}

SatelliteLine SatelliteWatch::line(SatelliteNames& names) {
  SatelliteIdentity identity;
  int32_t chosen = 0;
  bool noNetwork = false;
  {
    std::lock_guard<std::mutex> held(mutex_);
    if (!watching_ || !locked_) return {};
    identity = check_.identity();
    chosen = chosen_;
    noNetwork = streamSeen_ && !identity.nitSeen && clock_.nowMs() - lockedSinceMs_ >= kNoNetworkAfterMs;
  }
  if (identity.positionFound) {
    const std::string position = positionText(identity);
    if (identity.positionNumber == chosen) {
      std::string added = kFoundWord + position;
      if (!identity.networkName.empty()) added += " " + identity.networkName;
      return {SatelliteVerdict::Chosen, added};
    }
    // Asked outside the lock: the names come from the user-interface thread's own lists.
    std::string name = names.nameOf(identity.positionNumber);
    if (name.empty()) name = identity.networkName;
    return {SatelliteVerdict::Other, position + (name.empty() ? "" : " " + name) + kNotChosenText};
  }
  if (noNetwork) return {SatelliteVerdict::NoNetwork, kNoNetworkText};
  return {};
}

SatelliteCue SatelliteWatch::takeCue() {
  std::lock_guard<std::mutex> held(mutex_);
  const SatelliteCue cue = cue_;
  cue_ = SatelliteCue::None;
  return cue;
}
