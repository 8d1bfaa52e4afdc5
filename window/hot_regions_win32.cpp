#include "window/hot_regions_win32.h"

#include <windows.h>

namespace {
HRGN hotRegions[kHotRegionCount];
}  // namespace

void createHotRegions() {
  for (const HotRegionShape& shape : kHotRegionShapes) {
    const PixelRect& r = shape.rect;
    hotRegions[static_cast<int>(shape.region)] =
        shape.cornerW != 0 ? CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, shape.cornerW, shape.cornerH)
                           : CreateRectRgn(r.left, r.top, r.right, r.bottom);
  }
}

bool pointInHotRegion(HotRegion region, int x, int y) {
  HRGN handle = hotRegions[static_cast<int>(region)];
  return handle != nullptr && PtInRegion(handle, x, y) != FALSE;
}

void deleteHotRegions() {
  for (HotRegion region : kHotRegionDeleteOrder) {
    HRGN& handle = hotRegions[static_cast<int>(region)];
    if (handle == nullptr) continue;
    DeleteObject(handle);
    handle = nullptr;
  }
}
