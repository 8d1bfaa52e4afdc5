#include "dishcalc/calculator_lists.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

#include "dishcalc/geometry.h"

namespace {

constexpr int32_t kNorthmost = 90;
constexpr int32_t kEastmost = 180;

// Index 0 is the far north (east) entry, the middle one "0°", then south (west) outward.
int32_t degreeValue(int32_t index, int32_t extreme) { return extreme - index; }

template <size_t N>
bool formatDegree(int32_t value, const char* positiveSuffix, const char* negativeSuffix, char (&text)[N]) {
  int written = 0;
  if (value > 0)
    written = std::snprintf(text, N, "%d\xB0%s", value, positiveSuffix);
  else if (value < 0)
    written = std::snprintf(text, N, "%d\xB0%s", -value, negativeSuffix);
  else
    written = std::snprintf(text, N, "0\xB0");
  return written >= 0 && static_cast<size_t>(written) < N;
}

template <size_t N>
bool emptyText(char (&text)[N]) {
  text[0] = '\0';
  return false;
}

}  // namespace

int32_t latitudeDegreeValue(int32_t index) { return degreeValue(index, kNorthmost); }
int32_t longitudeDegreeValue(int32_t index) { return degreeValue(index, kEastmost); }

bool latitudeDegreeText(int32_t index, char (&text)[kLatitudeTextSize]) {
  if (index < 0 || index >= kLatitudeDegreeCount) return emptyText(text);
  return formatDegree(latitudeDegreeValue(index), "n", "s", text);
}

bool longitudeDegreeText(int32_t index, char (&text)[kLongitudeTextSize]) {
  if (index < 0 || index >= kLongitudeDegreeCount) return emptyText(text);
  return formatDegree(longitudeDegreeValue(index), "e", "w", text);
}

bool minuteText(int32_t index, char (&text)[kMinuteTextSize]) {
  if (index < 0 || index >= kMinuteCount) return emptyText(text);
  const int written = std::snprintf(text, kMinuteTextSize, "%d'", index);
  return written >= 0 && static_cast<size_t>(written) < kMinuteTextSize;
}

uint32_t readDishSize(const char* text) {
  constexpr uint64_t kLargest = std::numeric_limits<uint32_t>::max();
  uint64_t value = 0;
  for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + static_cast<uint64_t>(*p - '0');
    if (value > kLargest) return static_cast<uint32_t>(kLargest);
  }
  return static_cast<uint32_t>(value);
}

void dishSizeText(int32_t storedSize, char (&text)[kDishSizeTextSize]) {
  std::snprintf(text, kDishSizeTextSize, "%" PRIu32, static_cast<uint32_t>(storedSize));
}

int32_t dishSizeOrDefault(int32_t storedSize, int32_t defaultSize) {
  return storedSize == 0 ? defaultSize : storedSize;
}

int32_t SatelliteCopy::selectionIn(int32_t mainSelection) const {
  for (size_t i = 0; i < sourceIndex.size(); ++i)
    if (sourceIndex[i] == mainSelection) return static_cast<int32_t>(i);
  return -1;
}

double calculatorSatelliteLongitude(bool haveSelection, int32_t positionNumber) {
  if (!haveSelection || positionNumber < 0) return 0.0;
  return satelliteLongitude(positionNumber);
}
