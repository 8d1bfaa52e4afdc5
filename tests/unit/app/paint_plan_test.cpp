#include <gtest/gtest.h>

#include <climits>

#include "app/paint_plan.h"

namespace {

TEST(PaintTexts, EveryLanguageHasItsNameAndFlag) {
  struct Case {
    const char* name;
    int nameX, flagX, flagY;
  } cases[] = {{"English", 34, 532, 355}, {"German", 32, 512, 355}, {"Russian", 30, 512, 340},
               {"Italian", 37, 532, 340}, {"Chinese", 33, 532, 325}, {"French", 36, 512, 325},
               {"Polish", 36, 552, 355},  {"Portuguese", 21, 552, 340}};
  for (int index = 0; index < 8; ++index) {
    SCOPED_TRACE(index);
    const SettingsTexts t = settingsTexts(index, 0, 0);
    ASSERT_TRUE(t.hasLanguage);
    EXPECT_STREQ(t.languageName.text, cases[index].name);
    EXPECT_EQ(t.languageName.x, cases[index].nameX);
    EXPECT_EQ(t.languageName.y, 288);
    EXPECT_EQ(t.flag.srcX, cases[index].flagX);
    EXPECT_EQ(t.flag.srcY, cases[index].flagY);
    EXPECT_EQ(t.flag.w, 20);
    EXPECT_EQ(t.flag.h, 15);
    EXPECT_EQ(t.flag.dx, 48);
    EXPECT_EQ(t.flag.dy, 305);
  }
}

TEST(PaintTexts, SoundModesAndReading) {
  struct Case {
    int mode;
    const char* text;
    int x;
  } cases[] = {{0, "Auto", 117}, {1, "Tone", 116}, {2, "Voice", 116}, {3, "Mute", 116}, {4, "Birds", 114}, {5, "Pitch", 116}};
  for (const Case& c : cases) {
    const SettingsTexts t = settingsTexts(0, c.mode, 0);
    ASSERT_TRUE(t.hasSoundMode) << c.mode;
    EXPECT_STREQ(t.soundMode.text, c.text);
    EXPECT_EQ(t.soundMode.x, c.x);
    EXPECT_EQ(t.soundMode.y, 305);
  }
  struct ReadingCase {
    int selector;
    const char* text;
    int x;
  } readings[] = {{0, "Level", 190}, {1, "Quality", 183}, {-7, "Quality", 183}, {1000, "Quality", 183}};
  for (const ReadingCase& c : readings) {
    const SettingsTexts t = settingsTexts(0, 0, c.selector);
    EXPECT_STREQ(t.reading.text, c.text) << c.selector;
    EXPECT_EQ(t.reading.x, c.x);
    EXPECT_EQ(t.reading.y, 305);
  }
}

TEST(PaintTexts, DamagedSettingsPaintNoLanguageAndNoMode) {
  for (int32_t language : {8, 9, -1, INT32_MIN, INT32_MAX}) {
    const SettingsTexts t = settingsTexts(language, 2, 0);
    EXPECT_FALSE(t.hasLanguage) << language;
    EXPECT_TRUE(t.hasSoundMode);
  }
  for (int32_t mode : {6, 7, -1, INT32_MIN, INT32_MAX}) {
    const SettingsTexts t = settingsTexts(3, mode, 0);
    EXPECT_FALSE(t.hasSoundMode) << mode;
    EXPECT_TRUE(t.hasLanguage);
  }
}

}  // namespace
