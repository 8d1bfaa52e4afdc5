#include <gtest/gtest.h>

#include <set>
#include <string>

#include "feedback/sound_table.h"

TEST(SoundTable, EntriesFollowTheLoadingOrder) {
  const struct {
    int entry;
    const char* name;
  } cases[] = {
      {0, "EN0"},  {9, "EN9"},  {10, "RU0"}, {19, "RU9"}, {20, "DE0"},   {30, "IT0"},   {40, "CH0"},   {50, "FR0"},
      {60, "PL0"}, {70, "PR0"}, {79, "PR9"}, {80, "TONE"}, {81, "BIRD0"}, {82, "BIRD1"}, {83, "BIRD2"}, {84, "BIRD3"}, {85, "FOUND"}, {86, "WRONG"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(soundEntryName(c.entry), nullptr) << c.entry;
    EXPECT_STREQ(soundEntryName(c.entry), c.name) << "entry " << c.entry;
  }
  EXPECT_EQ(soundEntryName(-1), nullptr);
  EXPECT_EQ(soundEntryName(kSoundTableSize), nullptr);
}

TEST(SoundTable, HoldsEightySevenDistinctNames) {
  std::set<std::string> names;
  for (int entry = 0; entry < kSoundTableSize; ++entry) names.insert(soundEntryName(entry));
  EXPECT_EQ(names.size(), 87u);
}

// The language index order (as the main window cycles) differs from the loading order, so a
// German digit must not come out of the Russian block.
TEST(SoundTable, DigitOfEachLanguageIsThatLanguagesRecording) {
  const char* prefixes[] = {"EN", "DE", "RU", "IT", "CH", "FR", "PL", "PR"};
  for (int language = 0; language < 8; ++language) {
    for (int digit = 0; digit < 10; ++digit) {
      const std::string expected = std::string(prefixes[language]) + static_cast<char>('0' + digit);
      const char* got = soundEntryName(digitEntry(language, digit));
      ASSERT_NE(got, nullptr) << "language " << language << " digit " << digit;
      EXPECT_EQ(got, expected) << "language " << language << " digit " << digit;
    }
  }
}

TEST(SoundTable, NoDigitEntryOutsideTheLanguagesAndDigits) {
  const struct {
    int32_t language;
    int digit;
  } cases[] = {{-1, 0}, {8, 0}, {9, 5}, {INT32_MIN, 1}, {INT32_MAX, 1}, {0, -1}, {0, 10}, {7, 11}};
  for (const auto& c : cases) EXPECT_EQ(digitEntry(c.language, c.digit), -1) << c.language << "/" << c.digit;
}
