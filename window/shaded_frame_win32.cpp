#include "window/shaded_frame_win32.h"

#include "window/shaded_frame.h"

void drawShadedFrame(HDC dc, const RECT& rect, HBRUSH brush, int corner, int style) {
  HGDIOBJ previous = SelectObject(dc, brush);
  const PixelRect outer{rect.left, rect.top, rect.right, rect.bottom};
  for (int ring = 0; ring < kShadedRingCount; ++ring) {
    const RingColour c = shadedRingColour(style, ring);
    HPEN pen = CreatePen(PS_SOLID, kShadedRingPenWidth, RGB(c.r, c.g, c.b));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    const PixelRect r = shadedRingRect(outer, ring);
    const int ellipse = shadedRingCorner(corner, ring);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, ellipse, ellipse);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
  }
  if (previous != nullptr) SelectObject(dc, previous);
}
