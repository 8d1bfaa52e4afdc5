// What the window and the sound make of the satellite the stream names while watching: the
// satellite line's addition, its colour, the sound to play once, and the rule that a lock of
// 12 s without a NIT says so. The stream is fed on the tuner's streaming thread; the lock is
// watched and the line read on the user-interface thread; the sound is taken by the sound
// thread. One mutex guards it all.
#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "core/env.h"
#include "satcheck/satellite_check.h"

constexpr uint64_t kNoNetworkAfterMs = 12000;
constexpr const char* kFoundWord = "found ";
constexpr const char* kNotChosenText = ": not the chosen satellite";
constexpr const char* kNoNetworkText = "no network information";
// Between the satellite list's text and what the stream adds.
constexpr const char* kLineGap = "   ";

// The satellite list's name of a position, empty where no transponder file has it.
class SatelliteNames {
 public:
  virtual ~SatelliteNames() = default;
  virtual std::string nameOf(int32_t positionNumber) = 0;
};

enum class SatelliteVerdict {
  Unknown,      // the line as without a stream
  Chosen,       // list text, gap, "found 19.2E ASTRA", in the text's usual colour
  Other,        // "13.0E Hot Bird ...: not the chosen satellite" alone, in the status colour
  NoNetwork,    // list text, gap, "no network information", in the text's usual colour
};

enum class SatelliteCue { None, Found, Wrong };

struct SatelliteLine {
  SatelliteVerdict verdict = SatelliteVerdict::Unknown;
  std::string added;  // what follows the list text (Chosen, NoNetwork) or replaces it (Other)
  bool operator==(const SatelliteLine&) const = default;
};

// The whole text of the satellite line.
std::string satelliteLineText(const std::string& listText, const SatelliteLine& line);

class SatelliteWatch {
 public:
  explicit SatelliteWatch(Clock& clock) : clock_(clock), check_(TunedTransponder{}) {}
  SatelliteWatch(const SatelliteWatch&) = delete;
  SatelliteWatch& operator=(const SatelliteWatch&) = delete;

  // Watching starts on a transponder of the chosen satellite (its position number).
  void start(const TunedTransponder& tuned, int32_t chosenPosition);
  // Watching stops: nothing more is said and the stream is ignored.
  void stop();
  // The streaming thread's bytes; ignored while not watching.
  void feed(const uint8_t* bytes, size_t size);
  // The lock as the poll thread last saw it and how many unlocked reads it has counted: a lost
  // lock (even one regained since) forgets what the stream said.
  void observeLock(bool locked, uint32_t unlockedReads);
  SatelliteLine line(SatelliteNames& names);
  // The sound owed once for a position newly named; None when nothing is owed.
  SatelliteCue takeCue();

 private:
  void forget();

  std::mutex mutex_;
  Clock& clock_;
  SatelliteCheck check_;
  TunedTransponder tuned_;
  int32_t chosen_ = -1;
  bool watching_ = false;
  bool locked_ = false;
  uint32_t unlockedReads_ = 0;
  uint64_t lockedSinceMs_ = 0;
  bool streamSeen_ = false;  // bytes came since the lock: the tuner gives a stream
  int32_t cuedPosition_ = -1;
  SatelliteCue cue_ = SatelliteCue::None;
};
