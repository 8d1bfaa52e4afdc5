// Turning a transponder text into tuning values, and the status messages that report why not.
#pragma once
#include <cstdint>
#include <string_view>

#include "window/status_message.h"

// The leading decimal integer: blanks and a sign allowed before the digits, no digits gives 0,
// and a value beyond 32 bits stops at the nearest end of the range (as the C library's atoi does).
int32_t leadingInteger(std::string_view text);

constexpr size_t kShortestTransponderText = 11;
constexpr size_t kLongestTransponderText = 22;
constexpr uint32_t kLowestFrequencyKHz = 3399000;
constexpr uint32_t kHighestFrequencyKHz = 15000001;
constexpr uint32_t kHighestFrequencyMHz = 15000;  // up to this a leading number is MHz
constexpr int32_t kLowestSymbolRate = 1000;       // kS/s
constexpr int32_t kHighestSymbolRate = 45000;     // above it a rate is S/s

// What parseTransponderEntry gives for a valid text; otherwise a status message index.
constexpr int kTransponderTextValid = -1;

// The values a parse writes. A failed parse leaves what it stored before the failing rule:
// after a frequency failure the rejected frequency, after a polarization failure polarization 2,
// after a symbol-rate failure the rejected rate.
struct TuningResult {
  int32_t frequencyKHz;
  int32_t polarization;  // 1 H/L, 0 V/R, 2 no letter
  int32_t symbolRate;    // kS/s
};

// Checks length, frequency, polarization and symbol rate in that order. Returns
// kTransponderTextValid, or the index of the status message of the first failing rule.
int parseTransponderEntry(std::string_view text, TuningResult& values);

// True when the text's last comma-separated field is the DVB-S2 mark "S2" (blanks around it
// and either case allowed), as the transponder files write it after the symbol rate. The mark
// plays no part in whether a text is valid.
bool dvbS2Marked(std::string_view text);
