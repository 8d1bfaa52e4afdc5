// The tuner as the tune operation and the poll thread see it. The Win32 side adapts the card
// maker's COM interface or a BDA tuner to Tuner; tests use a fake.
#pragma once
#include <cstdint>

class Tuner {
 public:
  virtual ~Tuner() = default;
  // band 1 Ku, 0 C; oscillator frequencies in MHz.
  virtual void setLnbFrequencies(int32_t band, int32_t lo1Mhz, int32_t lo2Mhz) = 0;
  // polarization 1 H/L, 0 V/R; tone 1 on; lnb as stored in the settings (0..4, or -1); dvbS2
  // when the entry carries the DVB-S2 mark (the maker's card has no use for it).
  virtual void tune(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone,
                    int32_t lnbSelection, bool dvbS2) = 0;
  // Writes lock on every call; level and quality (percent) only when locked.
  virtual void readSignal(uint8_t* lock, int32_t* level, int32_t* quality) = 0;
};
