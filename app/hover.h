// Hover images of the main window: what one pointer move draws, decided without Windows.
#pragma once
#include <cstdint>

#include "window/drawing_objects.h"
#include "window/layout.h"

// The web address while the pointer is on it.
constexpr TextColour kWebHoverColour{0, 102, 204};

// One byte per hover image; 1 while it is shown. Painting neither resets nor honours them.
struct HoverFlags {
  uint8_t close, minimise, start, add, remove, language, sound, about, sort, reading, dishAlignment, webLink;
};

// What a pointer move draws, in order: skin blocks, or the web address in a new colour.
struct HoverDraw {
  enum Kind : uint8_t { Block, WebText } kind;
  SkinBlock block;    // Block
  TextColour colour;  // WebText
};
struct HoverPlan {
  static constexpr int kCapacity = 16;
  HoverDraw steps[kCapacity];
  int count = 0;
};

// Hover image of each region that has one (the add/remove region shows its add half here).
SkinBlock hoverImage(HotRegion region);

// Whether the pointer is in a hot region; the Win32 side asks the real regions.
using InsideTest = bool (*)(HotRegion region, int x, int y);

// Updates the flags for a pointer at (x, y) and lists what to draw. While watching, the
// start, sort and add/remove images stay as they are.
HoverPlan updateHover(HoverFlags& flags, int x, int y, bool watching, InsideTest inside);
