#include "app/paint_win32.h"

#include "app/hover.h"
#include "app/paint_plan.h"
#include "core/env_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "window/hot_regions_win32.h"
#include "window/layout.h"
#include "window/layout_win32.h"
#include "window/message_dialog.h"
#include "window/skin_win32.h"
#include "watch/satellite_line_win32.h"

namespace {

HoverFlags hoverFlags{};

constexpr COLORREF kFallbackPanel = RGB(205, 205, 213);
constexpr COLORREF kFallbackOutline = RGB(90, 100, 120);

COLORREF toColorRef(TextColour c) { return RGB(c.r, c.g, c.b); }

void drawText(HDC dc, const PlacedText& text) { TextOutA(dc, text.x, text.y, text.text, lstrlenA(text.text)); }

void drawWebAddress(HDC dc) { TextOutA(dc, kWebAddressX, kWebAddressY, kWebAddressText, lstrlenA(kWebAddressText)); }

// Without the skin picture the window is a plain panel whose buttons are outlined and named,
// so the program stays usable.
void drawFallbackPanel(HDC dc) {
  HBRUSH panel = CreateSolidBrush(kFallbackPanel);
  RECT all{0, 0, kWindowWidth, kWindowHeight};
  FillRect(dc, &all, panel);
  DeleteObject(panel);
  HPEN outline = CreatePen(PS_SOLID, 1, kFallbackOutline);
  HGDIOBJ previousPen = SelectObject(dc, outline);
  HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ previousFont = SelectObject(dc, skin.savedFont);
  for (const HotRegionShape& shape : kHotRegionShapes) {
    if (shape.fallbackLabel == nullptr) continue;
    RECT r = toRect(shape.rect);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, shape.cornerW, shape.cornerH);
    DrawTextA(dc, shape.fallbackLabel, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, previousFont);
  SelectObject(dc, previousBrush);
  SelectObject(dc, previousPen);
  DeleteObject(outline);
}

void drawBackground(HDC dc) {
  if (skin.pixels != nullptr)
    drawSkinPart(dc, 0, 0, kWindowWidth, kWindowHeight, 0, 0);
  else
    drawFallbackPanel(dc);
}

// The hint takes whatever text colour the window DC holds (a status message leaves its own).
void drawHintOrSatellite(HDC dc) {
  if (signalState.watch.load() == 0) {
    SelectObject(dc, skin.savedFont);
    RECT hint = toRect(kHintRect);
    DrawTextA(dc, kStartHint, -1, &hint, 0);
  } else {
    SelectObject(dc, skin.savedFont);  // its own context: the back buffer is the meter's
    drawSatelliteLine(dc);
  }
}

void drawSettingsTexts(HDC dc) {
  const SettingsTexts texts = settingsTexts(readShared(settingsRecord.languageIndex),
                                            readShared(settingsRecord.soundMode),
                                            readShared(settingsRecord.readingSelector));
  if (texts.hasLanguage) {
    const SkinBlock& flag = texts.flag;
    drawSkinPart(dc, flag.srcX, flag.srcY, flag.w, flag.h, flag.dx, flag.dy);
    drawText(dc, texts.languageName);
  }
  if (texts.hasSoundMode) drawText(dc, texts.soundMode);
  drawText(dc, texts.reading);
}

void drawWebLink(HDC dc) {
  drawWebAddress(dc);
  MoveToEx(dc, kWebAddressX, kUnderlineY, nullptr);
  LineTo(dc, kUnderlineRight, kUnderlineY);
}

}  // namespace

void OnPaint(HWND window) {
  LockHolder drawing(drawingLock());  // BeginPaint gives the window DC the meter thread copies its frames to
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  drawBackground(dc);
  drawHintOrSatellite(dc);
  SelectObject(dc, skin.savedFont);
  SetTextColor(dc, toColorRef(kTextColour));
  drawSettingsTexts(dc);
  drawWebLink(dc);
  SelectObject(dc, skin.savedFont);
  EndPaint(window, &paint);
}

void drawHoverImages(int x, int y) {
  LockHolder drawing(drawingLock());
  const HoverPlan plan = updateHover(hoverFlags, x, y, signalState.watch.load() != 0, pointInHotRegion);
  for (int i = 0; i < plan.count; ++i) {
    const HoverDraw& step = plan.steps[i];
    if (step.kind == HoverDraw::WebText) {
      SetTextColor(shell.windowDC, toColorRef(step.colour));
      drawWebAddress(shell.windowDC);
    } else {
      const SkinBlock& b = step.block;
      drawSkinPart(shell.windowDC, b.srcX, b.srcY, b.w, b.h, b.dx, b.dy);
    }
  }
}
