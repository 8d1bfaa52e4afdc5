#include "ui/hot_regions.h"

// The help button sits between the dish-alignment and about buttons; the skin paints it there.
const HotRegionShape kHotRegionShapes[kHotRegionCount] = {
    {HotRegion::Close, {450, 10, 480, 40}, 30, 30, "X"},
    {HotRegion::Minimise, {405, 10, 435, 40}, 30, 30, "_"},
    {HotRegion::Start, {395, 115, 450, 175}, 55, 60, "Start"},
    {HotRegion::AddRemove, {45, 165, 75, 210}, 30, 45, "+/-"},
    {HotRegion::Language, {25, 335, 90, 365}, 0, 0, "Language"},
    {HotRegion::Sound, {100, 335, 165, 365}, 0, 0, "Sound"},
    {HotRegion::About, {420, 280, 485, 310}, 0, 0, "About"},
    {HotRegion::Sort, {45, 110, 70, 130}, 0, 0, "S"},
    {HotRegion::Reading, {172, 334, 242, 366}, 0, 0, "Reading"},
    {HotRegion::DishAlignment, {261, 278, 333, 310}, 0, 0, "Dish"},
    {HotRegion::WebLink, {340, 355, 485, 370}, 0, 0, nullptr},
    {HotRegion::Help, {340, 278, 412, 310}, 0, 0, "Help"},
};

const HotRegion kHotRegionDeleteOrder[kHotRegionCount] = {
    HotRegion::Reading, HotRegion::Close,    HotRegion::Sort,     HotRegion::Minimise,
    HotRegion::Start,   HotRegion::Language, HotRegion::Sound,    HotRegion::AddRemove,
    HotRegion::About,   HotRegion::DishAlignment, HotRegion::Help, HotRegion::WebLink,
};

const HotRegionShape& hotRegionShape(HotRegion region) { return kHotRegionShapes[static_cast<int>(region)]; }

bool insideRect(const PixelRect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

SkinBlock backgroundBlock(const SkinBlock& hover) { return {hover.dx, hover.dy, hover.w, hover.h, hover.dx, hover.dy}; }
