#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/hot_regions.h"
#include "ui/paint_plan.h"
#include "ui/skin_picture.h"

namespace {

bool overlaps(const PixelRect& a, const PixelRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(HotRegions, TableIsInCreationOrderWithTheWindowRectangles) {
  struct Case {
    HotRegion region;
    PixelRect rect;
    int cornerW, cornerH;
  } cases[] = {
      {HotRegion::Close, {450, 10, 480, 40}, 30, 30},       {HotRegion::Minimise, {405, 10, 435, 40}, 30, 30},
      {HotRegion::Start, {395, 115, 450, 175}, 55, 60},     {HotRegion::AddRemove, {45, 165, 75, 210}, 30, 45},
      {HotRegion::Language, {25, 335, 90, 365}, 0, 0},      {HotRegion::Sound, {100, 335, 165, 365}, 0, 0},
      {HotRegion::About, {420, 280, 485, 310}, 0, 0},       {HotRegion::Sort, {45, 110, 70, 130}, 0, 0},
      {HotRegion::Reading, {172, 334, 242, 366}, 0, 0},     {HotRegion::DishAlignment, {261, 278, 333, 310}, 0, 0},
      {HotRegion::WebLink, {340, 355, 485, 370}, 0, 0},
  };
  int index = 0;
  for (const Case& c : cases) {
    const HotRegionShape& shape = kHotRegionShapes[index++];
    SCOPED_TRACE(index);
    EXPECT_EQ(shape.region, c.region);
    EXPECT_EQ(shape.rect.left, c.rect.left);
    EXPECT_EQ(shape.rect.top, c.rect.top);
    EXPECT_EQ(shape.rect.right, c.rect.right);
    EXPECT_EQ(shape.rect.bottom, c.rect.bottom);
    EXPECT_EQ(shape.cornerW, c.cornerW);
    EXPECT_EQ(shape.cornerH, c.cornerH);
    EXPECT_EQ(&hotRegionShape(c.region), &shape);
  }
  EXPECT_EQ(kHotRegionShapes[11].region, HotRegion::Help);
}

TEST(HotRegions, HelpSitsBetweenDishAlignmentAndAboutAndOverlapsNothing) {
  const PixelRect help = hotRegionShape(HotRegion::Help).rect;
  EXPECT_GE(help.left, hotRegionShape(HotRegion::DishAlignment).rect.right);
  EXPECT_LE(help.right, hotRegionShape(HotRegion::About).rect.left);
  EXPECT_GT(help.right - help.left, 20);
  EXPECT_GT(help.bottom - help.top, 20);
  for (const HotRegionShape& other : kHotRegionShapes) {
    if (other.region == HotRegion::Help) continue;
    EXPECT_FALSE(overlaps(help, other.rect)) << static_cast<int>(other.region);
  }
}

TEST(HotRegions, DeleteOrderNamesEveryRegionOnce) {
  const HotRegion expected[] = {HotRegion::Reading, HotRegion::Close,    HotRegion::Sort,      HotRegion::Minimise,
                                HotRegion::Start,   HotRegion::Language, HotRegion::Sound,     HotRegion::AddRemove,
                                HotRegion::About,   HotRegion::DishAlignment, HotRegion::Help, HotRegion::WebLink};
  std::set<int> seen;
  for (int i = 0; i < kHotRegionCount; ++i) {
    EXPECT_EQ(kHotRegionDeleteOrder[i], expected[i]) << i;
    seen.insert(static_cast<int>(kHotRegionDeleteOrder[i]));
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kHotRegionCount));
}

TEST(HotRegions, RectangleEdgesAreExclusiveOnTheRightAndBottom) {
  const PixelRect r{45, 110, 70, 130};
  struct Case {
    int x, y;
    bool inside;
  } cases[] = {{45, 110, true}, {69, 129, true}, {70, 120, false}, {60, 130, false}, {44, 120, false}, {60, 109, false}};
  for (const Case& c : cases) EXPECT_EQ(insideRect(r, c.x, c.y), c.inside) << c.x << "," << c.y;
}

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
  } cases[] = {{0, "Auto", 117}, {1, "Tone", 116}, {2, "Voice", 116}, {3, "Mute", 116}, {4, "Birds", 114}};
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
  for (int32_t mode : {5, 6, -1, INT32_MIN, INT32_MAX}) {
    const SettingsTexts t = settingsTexts(3, mode, 0);
    EXPECT_FALSE(t.hasSoundMode) << mode;
    EXPECT_TRUE(t.hasLanguage);
  }
}

TEST(PaintTexts, TooltipsCoverTheirHotRegions) {
  const HotRegion regions[] = {HotRegion::Reading, HotRegion::Language, HotRegion::AddRemove, HotRegion::Sound,
                               HotRegion::Sort};
  int i = 0;
  for (const Tooltip& tip : kTooltips) {
    const PixelRect& r = hotRegionShape(regions[i++]).rect;
    EXPECT_EQ(tip.rect.left, r.left) << tip.text;
    EXPECT_EQ(tip.rect.top, r.top) << tip.text;
    EXPECT_EQ(tip.rect.right, r.right) << tip.text;
    EXPECT_EQ(tip.rect.bottom, r.bottom) << tip.text;
  }
  EXPECT_EQ(i, 5);
  EXPECT_STREQ(kTooltips[3].text, "Click to select sound mode");
}

TEST(SkinPicture, PixelBufferIsSizedForTheReportedDepth) {
  struct Case {
    int width, height, bits;
    size_t stride, bytes;
  } cases[] = {
      {768, 512, 24, 2304, 1179648}, {768, 512, 32, 3072, 1572864}, {768, -512, 32, 3072, 1572864},
      {768, 512, 16, 1536, 786432},  {768, 512, 8, 768, 393216},     {3, 2, 24, 12, 24},
      {1, 1, 1, 4, 4},               {33, 1, 1, 8, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
    EXPECT_EQ(dibStride(c.width, c.bits), c.stride);
    EXPECT_EQ(dibPixelBytes(c.width, c.height, c.bits), c.bytes);
  }
}

TEST(SkinPicture, UnusableHeadersGiveNoBuffer) {
  struct Case {
    int width, height, bits;
  } cases[] = {{768, 512, 0}, {768, 512, 7}, {768, 512, 48}, {0, 512, 24}, {-768, 512, 24},
               {768, 0, 24},  {100000, 512, 32}, {768, 100000, 32}, {768, INT32_MIN, 32}};
  for (const Case& c : cases)
    EXPECT_EQ(dibPixelBytes(c.width, c.height, c.bits), 0u) << c.width << "x" << c.height << "x" << c.bits;
}

TEST(SkinPicture, SourceRowCountsFromTheBottom) {
  EXPECT_EQ(bottomUpSourceY(512, 0, 384), 128);     // the background
  EXPECT_EQ(bottomUpSourceY(512, 355, 15), 142);    // English flag
  EXPECT_EQ(bottomUpSourceY(512, 0, 512), 0);
  EXPECT_EQ(bottomUpSourceY(512, 497, 15), 0);      // the last rows
}

}  // namespace
