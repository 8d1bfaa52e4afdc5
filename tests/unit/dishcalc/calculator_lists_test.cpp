#include <gtest/gtest.h>

#include <string>

#include "dishcalc/calculator_lists.h"
#include "dishcalc/geometry.h"

TEST(PositionLists, EntriesTextsAndValues) {
  const struct {
    int32_t index;
    const char* text;
    int32_t value;
  } latitude[] = {{0, "90\xB0n", 90}, {1, "89\xB0n", 89}, {89, "1\xB0n", 1}, {90, "0\xB0", 0},
                  {91, "1\xB0s", -1}, {180, "90\xB0s", -90}};
  for (const auto& c : latitude) {
    char text[kLatitudeTextSize];
    EXPECT_TRUE(latitudeDegreeText(c.index, text)) << c.index;
    EXPECT_STREQ(text, c.text) << c.index;
    EXPECT_EQ(latitudeDegreeValue(c.index), c.value) << c.index;
  }
  const struct {
    int32_t index;
    const char* text;
    int32_t value;
  } longitude[] = {{0, "180\xB0" "e", 180}, {160, "20\xB0" "e", 20}, {179, "1\xB0" "e", 1}, {180, "0\xB0", 0},
                   {181, "1\xB0w", -1}, {360, "180\xB0w", -180}};
  for (const auto& c : longitude) {
    char text[kLongitudeTextSize];
    EXPECT_TRUE(longitudeDegreeText(c.index, text)) << c.index;
    EXPECT_STREQ(text, c.text) << c.index;
    EXPECT_EQ(longitudeDegreeValue(c.index), c.value) << c.index;
  }
  const struct {
    int32_t index;
    const char* text;
  } minutes[] = {{0, "0'"}, {9, "9'"}, {59, "59'"}};
  for (const auto& c : minutes) {
    char text[kMinuteTextSize];
    EXPECT_TRUE(minuteText(c.index, text)) << c.index;
    EXPECT_STREQ(text, c.text) << c.index;
    EXPECT_EQ(minuteValue(c.index), c.index);
  }
}

TEST(PositionLists, EveryEntryFitsItsBufferAndOutsideIndicesGiveEmptyText) {
  for (int32_t i = 0; i < kLatitudeDegreeCount; ++i) {
    char text[kLatitudeTextSize];
    EXPECT_TRUE(latitudeDegreeText(i, text)) << i;
  }
  for (int32_t i = 0; i < kLongitudeDegreeCount; ++i) {
    char text[kLongitudeTextSize];
    EXPECT_TRUE(longitudeDegreeText(i, text)) << i;
  }
  for (int32_t i = 0; i < kMinuteCount; ++i) {
    char text[kMinuteTextSize];
    EXPECT_TRUE(minuteText(i, text)) << i;
  }
  char latitude[kLatitudeTextSize];
  char longitude[kLongitudeTextSize];
  char minute[kMinuteTextSize];
  for (int32_t bad : {-1, -2147483647 - 1, 2147483647}) {
    EXPECT_FALSE(latitudeDegreeText(bad, latitude));
    EXPECT_STREQ(latitude, "");
    EXPECT_FALSE(longitudeDegreeText(bad, longitude));
    EXPECT_STREQ(longitude, "");
    EXPECT_FALSE(minuteText(bad, minute));
    EXPECT_STREQ(minute, "");
  }
  EXPECT_FALSE(latitudeDegreeText(kLatitudeDegreeCount, latitude));
  EXPECT_FALSE(longitudeDegreeText(kLongitudeDegreeCount, longitude));
  EXPECT_FALSE(minuteText(kMinuteCount, minute));
}

TEST(PositionLists, MissingSelectionReadsAsTheFirstEntry) {
  EXPECT_EQ(indexInUse(-1), 0);
  EXPECT_EQ(indexInUse(90), 90);
  // A new record: 90 north, 180 east, 0 minutes.
  EXPECT_EQ(siteCoordinate(latitudeDegreeValue(indexInUse(-1)), minuteValue(indexInUse(-1))), 90.0);
  EXPECT_EQ(siteCoordinate(longitudeDegreeValue(indexInUse(-1)), minuteValue(indexInUse(-1))), 180.0);
}

TEST(DishSize, LeadingDigitsSaturatingAt32Bits) {
  const struct {
    const char* text;
    uint32_t expected;
  } cases[] = {
      {"1000", 1000},
      {"", 0},
      {"abc", 0},
      {" 12", 0},  // only leading digits count
      {"12x34", 12},
      {"0000001200", 1200},
      {"4294967295", 4294967295u},
      {"4294967296", 4294967295u},
      {"9999999999", 4294967295u},
      {"2147483648", 2147483648u},
      {"99999999999999999999999999999", 4294967295u},
      {"-5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(readDishSize(c.text), c.expected) << '"' << c.text << '"';
}

TEST(DishSize, StoredSizeComesBackAsTheBoxShowedIt) {
  const struct {
    const char* typed;
    const char* shownAtNextOpening;
  } cases[] = {{"1000", "1000"}, {"2147483647", "2147483647"}, {"3000000000", "3000000000"},
               {"9999999999", "4294967295"}, {"0", "1200"}, {"", "1200"}};
  for (const auto& c : cases) {
    // Stored in the signed field as the record holds it, then reopened.
    const int32_t stored = static_cast<int32_t>(readDishSize(c.typed));
    char text[kDishSizeTextSize];
    dishSizeText(dishSizeOrDefault(stored, 1200), text);
    EXPECT_STREQ(text, c.shownAtNextOpening) << '"' << c.typed << '"';
    EXPECT_EQ(readDishSize(text), static_cast<uint32_t>(dishSizeOrDefault(stored, 1200)));
  }
}

TEST(SatelliteCopy, EntriesKeepTheirMainListIndex) {
  SatelliteCopy copy;
  // Main list of five with entry 1 unreadable.
  for (int32_t i : {0, 2, 3, 4}) copy.add(i);
  const struct {
    int32_t mainSelection, copySelection;
  } cases[] = {{0, 0}, {1, -1}, {2, 1}, {4, 3}, {-1, -1}, {5, -1}};
  for (const auto& c : cases) EXPECT_EQ(copy.selectionIn(c.mainSelection), c.copySelection) << c.mainSelection;
  // Choosing the copy's second entry computes with the main list's third satellite.
  EXPECT_EQ(copy.sourceIndex[1], 2);
  EXPECT_EQ(SatelliteCopy{}.selectionIn(0), -1);
}

TEST(SatelliteCopy, NoSelectionOrUnreadablePositionStandsAtZero) {
  EXPECT_EQ(calculatorSatelliteLongitude(false, 130), 0.0);
  EXPECT_EQ(calculatorSatelliteLongitude(true, -1), 0.0);
  EXPECT_EQ(calculatorSatelliteLongitude(true, 130), 13.0);
  EXPECT_EQ(calculatorSatelliteLongitude(true, 3590), satelliteLongitude(3590));
}
