// What the calculator's lists and boxes hold, and how their contents become inputs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t kLatitudeDegreeCount = 181;   // 90n .. 1n, 0, 1s .. 90s
constexpr int32_t kLongitudeDegreeCount = 361;  // 180e .. 1e, 0, 1w .. 180w
constexpr int32_t kMinuteCount = 60;
// Item texts fit these buffers with their terminator ("90°n", "180°e", "59'").
constexpr size_t kLatitudeTextSize = 5;
constexpr size_t kLongitudeTextSize = 6;
constexpr size_t kMinuteTextSize = 4;
// The boxes take 10 digits; reading stops after 31 characters.
constexpr int kDishSizeDigits = 10;
constexpr size_t kDishSizeTextSize = 32;

// Item value of each entry: signed degrees (negative south/west), or minutes.
int32_t latitudeDegreeValue(int32_t index);
int32_t longitudeDegreeValue(int32_t index);
inline int32_t minuteValue(int32_t index) { return index; }

// Item texts with the Windows-1252 degree sign 0xB0. Each returns true when the whole text fit
// (always for the valid indices; out-of-range indices give an empty text and false).
bool latitudeDegreeText(int32_t index, char (&text)[kLatitudeTextSize]);
bool longitudeDegreeText(int32_t index, char (&text)[kLongitudeTextSize]);
bool minuteText(int32_t index, char (&text)[kMinuteTextSize]);

// A list without a selection (a stored index outside it) is read as its first entry until the
// user chooses; the minute lists' first entry is 0 minutes.
inline int32_t indexInUse(int32_t selectedIndex) { return selectedIndex < 0 ? 0 : selectedIndex; }

// The box's leading decimal digits (none: 0); values beyond 32 bits read as 4294967295.
uint32_t readDishSize(const char* text);
// The text a box shows for a stored size. The field is a signed 32-bit slot holding an
// unsigned size, so it is shown unsigned: a large size comes back as itself, not negative.
void dishSizeText(int32_t storedSize, char (&text)[kDishSizeTextSize]);
// Opening replaces a size of 0 by its default.
int32_t dishSizeOrDefault(int32_t storedSize, int32_t defaultSize);

// The calculator's copy of the satellite list. An entry whose text cannot be read is left
// out; every copied entry remembers the index it stands for in the main list, so the rest
// still compute with their own satellite.
struct SatelliteCopy {
  std::vector<int32_t> sourceIndex;  // per copied entry
  void add(int32_t mainIndex) { sourceIndex.push_back(mainIndex); }
  // Copy index showing the main list's selection, -1 when that has none or was left out.
  int32_t selectionIn(int32_t mainSelection) const;
};

// Satellite longitude for the calculator's selection: with no selection, an empty list or an
// unreadable position number (negative, e.g. the list's error value) the satellite stands at 0.
double calculatorSatelliteLongitude(bool haveSelection, int32_t positionNumber);
