#include "window/layout.h"

namespace {
constexpr SkinBlock kNoHover{0, 0, 0, 0, 0, 0};
}

WindowOrigin mainWindowOrigin(int screenWidth, int screenHeight) {
  return {screenWidth / 2 - kWindowOffsetX, screenHeight / 2 - kWindowOffsetY};
}

// The help button sits between the dish-alignment and about buttons; the skin paints it there.
const HotRegionShape kHotRegionShapes[kHotRegionCount] = {
    {HotRegion::Close, {450, 10, 480, 40}, 30, 30, "X", {694, 0, 35, 34, 449, 9}},
    {HotRegion::Minimise, {405, 10, 435, 40}, 30, 30, "_", {729, 0, 39, 34, 402, 9}},
    {HotRegion::Start, {kStartButtonX, kStartButtonY, kStartButtonX + 55, kStartButtonY + 60}, 55, 60, "Start",
     {512, 0, 60, 65, kStartButtonX, kStartButtonY}},
    {HotRegion::AddRemove, {45, 165, 75, 210}, 30, 45, "+/-", kNoHover},
    {HotRegion::Language, {25, 335, 90, 365}, 0, 0, "Language", {698, 66, 70, 32, 23, 334}},
    {HotRegion::Sound, {100, 335, 165, 365}, 0, 0, "Sound", {698, 34, 70, 32, 97, 334}},
    {HotRegion::About, {420, 280, 485, 310}, 0, 0, "About", {698, 98, 70, 32, 416, 278}},
    {HotRegion::Sort, {45, 110, 70, 130}, 0, 0, "S", {664, 0, 30, 25, 43, 108}},
    {HotRegion::Reading, {172, 334, 242, 366}, 0, 0, "Reading", {698, 130, 70, 32, 172, 334}},
    {HotRegion::DishAlignment, {261, 278, 333, 310}, 0, 0, "Dish", {698, 162, 70, 32, 263, 278}},
    {HotRegion::WebLink, kWebLinkRect, 0, 0, nullptr, kNoHover},
    {HotRegion::Help, {340, 278, 412, 310}, 0, 0, "Help", kNoHover},
};

const HotRegion kHotRegionDeleteOrder[kHotRegionCount] = {
    HotRegion::Reading, HotRegion::Close,    HotRegion::Sort,     HotRegion::Minimise,
    HotRegion::Start,   HotRegion::Language, HotRegion::Sound,    HotRegion::AddRemove,
    HotRegion::About,   HotRegion::DishAlignment, HotRegion::Help, HotRegion::WebLink,
};

const Tooltip kTooltips[5] = {
    {HotRegion::Reading, "Sound for Level/Quality"},
    {HotRegion::Language, "Click to change voice language"},
    {HotRegion::AddRemove, "Add/Remove transponder from ini file"},
    {HotRegion::Sound, "Click to select sound mode"},
    {HotRegion::Sort, "Sort by Position/Name"},
};

const HotRegionShape& hotRegionShape(HotRegion region) { return kHotRegionShapes[static_cast<int>(region)]; }

bool insideRect(const PixelRect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

SkinBlock backgroundBlock(const SkinBlock& hover) { return {hover.dx, hover.dy, hover.w, hover.h, hover.dx, hover.dy}; }
