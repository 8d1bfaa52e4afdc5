#include "transponders/transponder_parse.h"

#include <limits>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Index of the first polarization letter, or npos; sets polarization to 1 or 0.
size_t findPolarization(std::string_view text, int32_t& polarization) {
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case 'H': case 'h': case 'L': case 'l': polarization = 1; return i;
      case 'V': case 'v': case 'R': case 'r': polarization = 0; return i;
      default: break;
    }
  }
  return std::string_view::npos;
}

}  // namespace

int32_t leadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<int32_t>(-value);
  return value >= kLimit ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

int parseTransponderEntry(std::string_view text, TuningResult& values) {
  if (text.size() > kLongestTransponderText || text.size() < kShortestTransponderText)
    return kStatusIncorrectParameters;

  values.frequencyKHz = leadingInteger(text);
  // Unsigned, so that a negative number counts as very large and is rejected.
  if (static_cast<uint32_t>(values.frequencyKHz) < kHighestFrequencyMHz + 1) values.frequencyKHz *= 1000;
  const uint32_t frequency = static_cast<uint32_t>(values.frequencyKHz);
  if (frequency < kLowestFrequencyKHz || frequency > kHighestFrequencyKHz) return kStatusInvalidFrequency;

  values.polarization = 2;
  const size_t letter = findPolarization(text, values.polarization);
  if (letter == std::string_view::npos) return kStatusInvalidPolarisation;

  size_t rateStart = letter + 1;
  if (rateStart < text.size() && text[rateStart] == ',') ++rateStart;
  values.symbolRate = leadingInteger(text.substr(rateStart));
  if (values.symbolRate > kHighestSymbolRate) values.symbolRate /= 1000;
  if (values.symbolRate < kLowestSymbolRate || values.symbolRate > kHighestSymbolRate) return kStatusInvalidSymbolRate;
  return kTransponderTextValid;
}

bool dvbS2Marked(std::string_view text) {
  const size_t comma = text.rfind(',');
  if (comma == std::string_view::npos) return false;
  std::string_view field = text.substr(comma + 1);
  while (!field.empty() && isBlank(field.front())) field.remove_prefix(1);
  while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
  return field.size() == 2 && (field[0] == 'S' || field[0] == 's') && field[1] == '2';
}
