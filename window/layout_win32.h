// The layout table's rectangles as the system takes them.
#pragma once
#include <windows.h>

#include "window/layout.h"

inline RECT toRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
