#include "window/drawing_objects_win32.h"

#include <windows.h>

#include "core/globals_win32.h"
#include "window/drawing_objects.h"
#include "window/hot_regions_win32.h"

namespace {

constexpr COLORREF kGridPenColour = RGB(100, 100, 100);
constexpr COLORREF kDialPenColour = RGB(140, 140, 150);
constexpr int kDialPenWidth = 3;
constexpr COLORREF kLightBrushColour = RGB(205, 205, 213);

HFONT createBoldFont(int height) {
  LOGFONTA font;
  ZeroMemory(&font, sizeof(font));
  font.lfHeight = height;
  font.lfWeight = kBoldWeight;
  return CreateFontIndirectA(&font);
}

template <typename Handle>
void deleteIfPresent(Handle& object) {
  if (object == nullptr) return;
  DeleteObject(object);
  object = nullptr;
}

}  // namespace

void createFontsAndTextState() {
  skin.smallBoldFont = createBoldFont(kSmallFontHeight);
  skin.largeFont = createBoldFont(kLargeFontHeight);
  skin.savedFont = static_cast<HFONT>(SelectObject(shell.windowDC, skin.smallBoldFont));
  SetTextColor(shell.windowDC, RGB(kTextColour.r, kTextColour.g, kTextColour.b));
  SetBkMode(shell.windowDC, TRANSPARENT);
}

void createPensAndBrushes() {
  skin.gridPen = CreatePen(PS_SOLID, 1, kGridPenColour);
  skin.dialPen = CreatePen(PS_SOLID, kDialPenWidth, kDialPenColour);
  skin.lightBrush = CreateSolidBrush(kLightBrushColour);
  skin.blackBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void deleteDrawingObjects() {
  deleteIfPresent(skin.smallBoldFont);
  deleteIfPresent(skin.largeFont);
  deleteHotRegions();
  deleteIfPresent(skin.lightBrush);
  deleteIfPresent(skin.dialPen);
  deleteIfPresent(skin.tracePen);
  deleteIfPresent(skin.gridPen);
}
