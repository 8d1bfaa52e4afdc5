// The main window's hot regions as system regions, made from the layout table.
#pragma once
#include "window/layout.h"

// Start-up: one region per hot region, in creation order.
void createHotRegions();
// True when the pointer is inside the region's real shape (rounded where the table says so).
bool pointInHotRegion(HotRegion region, int x, int y);
// Shutdown: in the delete order, each only if present.
void deleteHotRegions();
