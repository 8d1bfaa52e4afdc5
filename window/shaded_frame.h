// The shaded frame every drawer uses (dialogs, status messages, signal log, calculator),
// decided without Windows: 16 graded rounded rings.
#pragma once
#include "window/layout.h"

// Shaded frame: 16 rounded rings, 0 the outermost.
constexpr int kShadedRingCount = 16;
constexpr int kShadedRingPenWidth = 2;
enum ShadedStyle : int { kDarkening = 0, kBrightening = 1 };
struct RingColour {
  int r, g, b;
  bool operator==(const RingColour&) const = default;
};
RingColour shadedRingColour(int style, int ring);
PixelRect shadedRingRect(const PixelRect& rect, int ring);
// Corner ellipse size of a ring; never negative, so a square frame (corner 0) stays square.
int shadedRingCorner(int corner, int ring);
