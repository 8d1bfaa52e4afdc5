// A card that plays back scripted readings and records every call in the simulated card's
// trace words ("SetLnbFrequencies 1 10600 9750", "Tune 11778 27500 1 1 2", "ReadSignal").
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tuner/tuner.h"

struct ScriptedReading {
  uint8_t lock;
  int32_t level;
  int32_t quality;
};

class FakeTuner : public Tuner {
 public:
  std::vector<std::string> trace;
  // Read n (0-based) gets script[n], the last entry once the script has run out.
  std::vector<ScriptedReading> script{{1, 50, 60}};
  int reads = 0;
  // Runs after each read, with the number of reads so far.
  std::function<void(int reads)> afterRead;

  void setLnbFrequencies(int32_t band, int32_t lo1, int32_t lo2) override {
    trace.push_back("SetLnbFrequencies " + std::to_string(band) + " " + std::to_string(lo1) + " " +
                    std::to_string(lo2));
  }
  void tune(int32_t mhz, int32_t ksps, int32_t pol, int32_t tone, int32_t lnb, bool dvbS2) override {
    trace.push_back("Tune " + std::to_string(mhz) + " " + std::to_string(ksps) + " " + std::to_string(pol) + " " +
                    std::to_string(tone) + " " + std::to_string(lnb) + (dvbS2 ? " S2" : ""));
  }
  void readSignal(uint8_t* lock, int32_t* level, int32_t* quality) override {
    trace.push_back("ReadSignal");
    const ScriptedReading& next = script[static_cast<size_t>(reads) < script.size() ? reads : script.size() - 1];
    ++reads;
    // As the card does: lock always, the readings only when locked.
    *lock = next.lock;
    if (next.lock != 0) {
      *level = next.level;
      *quality = next.quality;
    }
    if (afterRead) afterRead(reads);
  }
};
