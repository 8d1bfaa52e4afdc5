#include "app/hover.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Rectangles stand in for the real regions; the points used lie well inside the round ones.
bool insideTable(HotRegion region, int x, int y) { return insideRect(hotRegionShape(region).rect, x, y); }

std::vector<SkinBlock> blocksOf(const HoverPlan& plan) {
  std::vector<SkinBlock> blocks;
  for (int i = 0; i < plan.count; ++i)
    if (plan.steps[i].kind == HoverDraw::Block) blocks.push_back(plan.steps[i].block);
  return blocks;
}

void expectBlock(const SkinBlock& got, const SkinBlock& expected) {
  EXPECT_EQ(got.srcX, expected.srcX);
  EXPECT_EQ(got.srcY, expected.srcY);
  EXPECT_EQ(got.w, expected.w);
  EXPECT_EQ(got.h, expected.h);
  EXPECT_EQ(got.dx, expected.dx);
  EXPECT_EQ(got.dy, expected.dy);
}

constexpr int kOutsideX = 300, kOutsideY = 240;  // plain background, in no region

struct HoverCase {
  const char* name;
  HotRegion region;
  int x, y;           // a point inside the region
  SkinBlock image;    // hover image: source (x, y, w, h) and destination
  uint8_t HoverFlags::*flag;
};

const HoverCase kCases[] = {
    {"close", HotRegion::Close, 465, 25, {694, 0, 35, 34, 449, 9}, &HoverFlags::close},
    {"minimise", HotRegion::Minimise, 420, 25, {729, 0, 39, 34, 402, 9}, &HoverFlags::minimise},
    {"start", HotRegion::Start, 422, 145, {512, 0, 60, 65, 395, 115}, &HoverFlags::start},
    {"language", HotRegion::Language, 50, 350, {698, 66, 70, 32, 23, 334}, &HoverFlags::language},
    {"sound", HotRegion::Sound, 130, 350, {698, 34, 70, 32, 97, 334}, &HoverFlags::sound},
    {"about", HotRegion::About, 450, 295, {698, 98, 70, 32, 416, 278}, &HoverFlags::about},
    {"sort", HotRegion::Sort, 57, 120, {664, 0, 30, 25, 43, 108}, &HoverFlags::sort},
    {"reading", HotRegion::Reading, 200, 350, {698, 130, 70, 32, 172, 334}, &HoverFlags::reading},
    {"dish alignment", HotRegion::DishAlignment, 297, 295, {698, 162, 70, 32, 263, 278}, &HoverFlags::dishAlignment},
};

TEST(Hover, EnteringShowsImageOnceAndLeavingRestoresBackground) {
  for (const HoverCase& c : kCases) {
    SCOPED_TRACE(c.name);
    HoverFlags flags{};
    std::vector<SkinBlock> blocks = blocksOf(updateHover(flags, c.x, c.y, false, insideTable));
    ASSERT_EQ(blocks.size(), 1u);
    expectBlock(blocks[0], c.image);
    EXPECT_EQ(flags.*c.flag, 1);
    // Staying inside draws nothing: a repaint that removed the image leaves it removed.
    EXPECT_EQ(updateHover(flags, c.x + 1, c.y, false, insideTable).count, 0);
    blocks = blocksOf(updateHover(flags, kOutsideX, kOutsideY, false, insideTable));
    ASSERT_EQ(blocks.size(), 1u);
    expectBlock(blocks[0], {c.image.dx, c.image.dy, c.image.w, c.image.h, c.image.dx, c.image.dy});
    EXPECT_EQ(flags.*c.flag, 0);
    EXPECT_EQ(updateHover(flags, kOutsideX, kOutsideY, false, insideTable).count, 0);
  }
}

TEST(Hover, HoverImageTableAgreesWithTransitions) {
  for (const HoverCase& c : kCases) {
    SCOPED_TRACE(c.name);
    expectBlock(hoverImage(c.region), c.image);
  }
}

TEST(Hover, AddRemoveHalvesSwapAtY186) {
  HoverFlags flags{};
  std::vector<SkinBlock> blocks = blocksOf(updateHover(flags, 60, 185, false, insideTable));
  ASSERT_EQ(blocks.size(), 2u);
  expectBlock(blocks[0], {663, 25, 31, 22, 43, 164});  // plus
  expectBlock(blocks[1], {43, 188, 31, 22, 43, 188});  // lower half's background
  EXPECT_EQ(flags.add, 1);
  EXPECT_EQ(flags.remove, 0);
  EXPECT_EQ(updateHover(flags, 61, 170, false, insideTable).count, 0);

  blocks = blocksOf(updateHover(flags, 60, 186, false, insideTable));
  ASSERT_EQ(blocks.size(), 2u);
  expectBlock(blocks[0], {667, 47, 31, 22, 43, 188});  // minus
  expectBlock(blocks[1], {43, 164, 31, 22, 43, 164});  // upper half's background
  EXPECT_EQ(flags.add, 0);
  EXPECT_EQ(flags.remove, 1);
  EXPECT_EQ(updateHover(flags, 61, 200, false, insideTable).count, 0);

  blocks = blocksOf(updateHover(flags, kOutsideX, kOutsideY, false, insideTable));
  ASSERT_EQ(blocks.size(), 1u);
  expectBlock(blocks[0], {43, 188, 31, 22, 43, 188});
  EXPECT_EQ(flags.remove, 0);

  updateHover(flags, 60, 170, false, insideTable);
  blocks = blocksOf(updateHover(flags, kOutsideX, kOutsideY, false, insideTable));
  ASSERT_EQ(blocks.size(), 1u);
  expectBlock(blocks[0], {43, 164, 31, 22, 43, 164});
  EXPECT_EQ(flags.add, 0);
}

TEST(Hover, WatchingFreezesStartSortAndAddRemove) {
  HoverFlags flags{};
  updateHover(flags, 422, 145, false, insideTable);  // start image shown while idle
  ASSERT_EQ(flags.start, 1);
  // Leaving while watching keeps it; entering sort or add/remove shows nothing.
  EXPECT_EQ(updateHover(flags, kOutsideX, kOutsideY, true, insideTable).count, 0);
  EXPECT_EQ(flags.start, 1);
  EXPECT_EQ(updateHover(flags, 57, 120, true, insideTable).count, 0);
  EXPECT_EQ(updateHover(flags, 60, 190, true, insideTable).count, 0);
  EXPECT_EQ(flags.sort, 0);
  EXPECT_EQ(flags.remove, 0);
  // The always-live buttons still react while watching.
  EXPECT_EQ(blocksOf(updateHover(flags, 465, 25, true, insideTable)).size(), 1u);
  EXPECT_EQ(flags.close, 1);
  // Back to idle, the first move elsewhere takes the start image away.
  const std::vector<SkinBlock> blocks = blocksOf(updateHover(flags, kOutsideX, kOutsideY, false, insideTable));
  ASSERT_EQ(blocks.size(), 2u);
  expectBlock(blocks[0], {449, 9, 35, 34, 449, 9});
  expectBlock(blocks[1], {395, 115, 60, 65, 395, 115});
}

TEST(Hover, WebLinkChangesTextColourOnEnterAndLeave) {
  HoverFlags flags{};
  HoverPlan plan = updateHover(flags, 400, 360, false, insideTable);
  ASSERT_EQ(plan.count, 1);
  EXPECT_EQ(plan.steps[0].kind, HoverDraw::WebText);
  EXPECT_EQ(plan.steps[0].colour, (TextColour{0, 102, 204}));
  EXPECT_EQ(updateHover(flags, 401, 360, false, insideTable).count, 0);
  plan = updateHover(flags, 400, 371, false, insideTable);  // bottom edge is exclusive
  ASSERT_EQ(plan.count, 1);
  EXPECT_EQ(plan.steps[0].colour, (TextColour{40, 60, 80}));
  EXPECT_EQ(flags.webLink, 0);
}

TEST(Hover, JumpBetweenButtonsLeavesBeforeItEntersInStepOrder) {
  HoverFlags flags{};
  updateHover(flags, 200, 350, false, insideTable);  // reading
  // Straight onto language: reading's image goes (it is tested before language) then language's comes.
  const std::vector<SkinBlock> blocks = blocksOf(updateHover(flags, 50, 350, false, insideTable));
  ASSERT_EQ(blocks.size(), 2u);
  expectBlock(blocks[0], {172, 334, 70, 32, 172, 334});
  expectBlock(blocks[1], {698, 66, 70, 32, 23, 334});
}

}  // namespace
