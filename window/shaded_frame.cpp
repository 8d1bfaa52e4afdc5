#include "window/shaded_frame.h"

RingColour shadedRingColour(int style, int ring) {
  const int step = 10 * ring;
  if (style == kDarkening) return {160 - step, 170 - step, 180 - step};
  return {45 + step, 45 + step, 53 + step};
}

PixelRect shadedRingRect(const PixelRect& rect, int ring) {
  return {rect.left + ring, rect.top + ring, rect.right - ring, rect.bottom - ring};
}

int shadedRingCorner(int corner, int ring) { return corner > ring ? corner - ring : 0; }
