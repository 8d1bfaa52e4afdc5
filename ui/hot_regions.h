// The main window's hot regions: where they are, what they show on hover and in what order
// they are made and released. Window pixels; right and bottom are exclusive, as for regions.
#pragma once
#include <cstdint>

// Creation order.
enum class HotRegion {
  Close, Minimise, Start, AddRemove, Language, Sound, About, Sort, Reading, DishAlignment, WebLink, Help
};
constexpr int kHotRegionCount = 12;

struct PixelRect {
  int left, top, right, bottom;
};

// A block of the skin picture copied to the window at the same size.
struct SkinBlock {
  int srcX, srcY, w, h, dx, dy;
};

struct HotRegionShape {
  HotRegion region;
  PixelRect rect;
  int cornerW, cornerH;  // 0 for a plain rectangle
  const char* fallbackLabel;  // drawn only when the skin picture is missing
};

// All twelve, in creation order; the index is the enum value.
extern const HotRegionShape kHotRegionShapes[kHotRegionCount];
const HotRegionShape& hotRegionShape(HotRegion region);

// The shutdown deletes the regions in this order, which differs from the creation order.
extern const HotRegion kHotRegionDeleteOrder[kHotRegionCount];

// True when (x, y) lies in the rectangle (right and bottom exclusive).
bool insideRect(const PixelRect& rect, int x, int y);

// The background's own block at the place of a hover image: drawing it removes the image.
SkinBlock backgroundBlock(const SkinBlock& hover);
