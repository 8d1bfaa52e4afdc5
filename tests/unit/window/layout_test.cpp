#include <gtest/gtest.h>

#include <set>
#include <string>

#include "window/layout.h"
#include "window/skin_picture.h"

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

TEST(Tooltips, NameTheirHotRegionsInOrder) {
  const HotRegion regions[] = {HotRegion::Reading, HotRegion::Language, HotRegion::AddRemove, HotRegion::Sound,
                               HotRegion::Sort};
  int i = 0;
  for (const Tooltip& tip : kTooltips) EXPECT_EQ(tip.region, regions[i++]) << tip.text;
  EXPECT_STREQ(kTooltips[3].text, "Click to select sound mode");
}

TEST(MainWindowOrigin, CentresHorizontallyAndSits64PixelsHigh) {
  struct Case {
    int width, height, x, y;
  } cases[] = {
      {1024, 768, 256, 128}, {800, 600, 144, 44}, {1280, 1024, 384, 256}, {500, 400, -6, -56}, {1025, 769, 256, 128},
  };
  for (const Case& c : cases) {
    const WindowOrigin origin = mainWindowOrigin(c.width, c.height);
    EXPECT_EQ(origin.x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(origin.y, c.y) << c.width << "x" << c.height;
  }
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
