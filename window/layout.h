// The main window's layout table: every place that more than one piece of the program uses
// (the window itself, hot regions and their hover images, tooltips, the start button, the
// meter's boxes, the strips that commands repaint). Window pixels; right and bottom are
// exclusive, as for regions.
#pragma once
#include <cstdint>

constexpr int kWindowWidth = 512;
constexpr int kWindowHeight = 384;
// The vertical offset is 256, not 192: the window sits 64 pixels above the true centre.
constexpr int kWindowOffsetX = 256;
constexpr int kWindowOffsetY = 256;

struct WindowOrigin {
  int x;
  int y;
};
// Top-left corner of the main window for a screen of the given size (halves truncate toward zero).
WindowOrigin mainWindowOrigin(int screenWidth, int screenHeight);

struct PixelRect {
  int left, top, right, bottom;
};

// A block of the skin picture copied to the window at the same size.
struct SkinBlock {
  int srcX, srcY, w, h, dx, dy;
};

// Creation order.
enum class HotRegion {
  Close, Minimise, Start, AddRemove, Language, Sound, About, Sort, Reading, DishAlignment, WebLink, Help
};
constexpr int kHotRegionCount = 12;

// The start button: its hot region, its hover image and the meter's green image start here.
constexpr int kStartButtonX = 395;
constexpr int kStartButtonY = 115;
constexpr SkinBlock kGreenStartButton{512, 65, 60, 65, kStartButtonX, kStartButtonY};

// The web address, written at its top-left and underlined along its bottom.
constexpr PixelRect kWebLinkRect{340, 355, 485, 370};

struct HotRegionShape {
  HotRegion region;
  PixelRect rect;
  int cornerW, cornerH;       // 0 for a plain rectangle
  const char* fallbackLabel;  // drawn only when the skin picture is missing
  SkinBlock hover;            // the hover image; w 0 when the region has none of its own
};

// All twelve, in creation order; the index is the enum value.
extern const HotRegionShape kHotRegionShapes[kHotRegionCount];
const HotRegionShape& hotRegionShape(HotRegion region);

// The shutdown deletes the regions in this order, which differs from the creation order.
extern const HotRegion kHotRegionDeleteOrder[kHotRegionCount];

// The add/remove region shows one of two halves: above this y it adds, from it on it removes.
constexpr int kAddRemoveBorderY = 186;
constexpr SkinBlock kAddHoverImage{663, 25, 31, 22, 43, 164};
constexpr SkinBlock kRemoveHoverImage{667, 47, 31, 22, 43, 188};

// Tooltips show over these hot regions.
struct Tooltip {
  HotRegion region;
  const char* text;
};
extern const Tooltip kTooltips[5];

// True when (x, y) lies in the rectangle (right and bottom exclusive).
bool insideRect(const PixelRect& rect, int x, int y);

// The background's own block at the place of a hover image: drawing it removes the image.
SkinBlock backgroundBlock(const SkinBlock& hover);

// The start hint while idle; the satellite name replaces it while watching.
constexpr PixelRect kHintRect{22, 50, 480, 75};
constexpr int kSatelliteNameX = 122;
constexpr int kSatelliteNameY = 50;
// The satellite line with what the stream adds to it, repainted when that changes.
constexpr PixelRect kSatelliteLineRect{kSatelliteNameX, 50, 505, 75};
// Language, sound mode and reading: repainted whenever one of them changes.
constexpr PixelRect kSettingsStrip{20, 270, 250, 320};
// Status messages draw here, over the hint.
constexpr PixelRect kStatusBox{64, 20, 448, 80};

// The meter: cleared, drawn off-screen, then copied in one block; the values centre in the boxes.
constexpr PixelRect kMeterArea{80, 80, 465, 210};
constexpr PixelRect kLevelBox{180, 98, 270, 140};
constexpr PixelRect kQualityBox{180, 166, 270, 208};
