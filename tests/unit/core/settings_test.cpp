#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/settings.h"

TEST(SettingsRecord, FieldsSitAtTheirFileOffsets) {
  std::vector<uint8_t> file(kSettingsSize, 0);
  const int32_t values[] = {7, 4, -1, 3592, 11778000, 1};
  std::memcpy(file.data(), values, sizeof(values));
  const int32_t calculator[] = {40, 160, 30, 15, 800, 900};
  std::memcpy(file.data() + 80, calculator, sizeof(calculator));
  SettingsRecord record{};
  settingsFromBytes(record, file.data(), file.size());
  EXPECT_EQ(record.languageIndex, 7);
  EXPECT_EQ(record.soundMode, 4);
  EXPECT_EQ(record.lnbSelection, -1);
  EXPECT_EQ(record.satellitePosition, 3592);
  EXPECT_EQ(record.frequencyKHz, 11778000);
  EXPECT_EQ(record.readingSelector, 1);
  EXPECT_EQ(record.latitudeDegreeIndex, 40);
  EXPECT_EQ(record.longitudeDegreeIndex, 160);
  EXPECT_EQ(record.latitudeMinuteIndex, 30);
  EXPECT_EQ(record.longitudeMinuteIndex, 15);
  EXPECT_EQ(record.dishWidth, 800);
  EXPECT_EQ(record.dishHeight, 900);
}

TEST(SettingsRecord, ShortFileFillsOnlyItsLength) {
  SettingsRecord record{};
  record.readingSelector = 1;
  const uint8_t eightBytes[] = {5, 0, 0, 0, 2, 0, 0, 0};
  settingsFromBytes(record, eightBytes, sizeof(eightBytes));
  EXPECT_EQ(record.languageIndex, 5);
  EXPECT_EQ(record.soundMode, 2);
  EXPECT_EQ(record.readingSelector, 1);
}

TEST(SettingsRecord, LongFileReadsOnlyTheFirst256Bytes) {
  std::vector<uint8_t> file(300, 0xAB);
  SettingsRecord record{};
  settingsFromBytes(record, file.data(), file.size());
  uint8_t out[kSettingsSize];
  settingsToBytes(record, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + kSettingsSize), std::vector<uint8_t>(kSettingsSize, 0xAB));
}

TEST(SettingsRecord, UnusedBytesComeBackUnchangedAndOnlyThePrefixIsCleared) {
  std::vector<uint8_t> file(kSettingsSize);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 7 + 3);
  SettingsRecord record{};
  settingsFromBytes(record, file.data(), file.size());
  uint8_t out[kSettingsSize];
  settingsToBytes(record, out);
  EXPECT_EQ(0, std::memcmp(out, file.data(), kSettingsSize));

  clearSettingsPrefix(record);
  settingsToBytes(record, out);
  for (size_t i = 0; i < kSettingsSize; ++i)
    EXPECT_EQ(out[i], i < kSettingsClearedPrefix ? 0 : file[i]) << "byte " << i;
}
