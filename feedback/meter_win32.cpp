// The meter thread: carries out each frame's steps in the back buffer and copies the meter
// area to the window in one block, so the meter never flickers.
#include "feedback/meter_win32.h"

#include <cstring>

#include "core/env_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "feedback/meter.h"
#include "window/layout_win32.h"
#include "window/skin_win32.h"

namespace {

// Wine keeps drawing made outside WM_PAINT in the window's surface until some thread of the
// process looks at its message queue, or draws again 50 ms later: each frame would show only
// when the next one is drawn, so every other frame would be lost. Peeking for a message that is
// never posted flushes the surface and takes nothing from any queue.
void showFrameNow() {
  constexpr UINT kNeverPosted = WM_APP + 0x3FFF;
  MSG message;
  PeekMessageA(&message, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE);
}

HFONT fontFor(MeterFont font) { return font == MeterFont::Large ? skin.largeFont : skin.smallBoldFont; }

void drawStep(HDC dc, const MeterStep& step) {
  switch (step.kind) {
    case MeterStep::Kind::CopySkin:
      drawSkinPart(dc, step.x, step.y, step.w, step.h, step.dx, step.dy);
      return;
    case MeterStep::Kind::CentredText: {
      SelectObject(dc, fontFor(step.font));
      SetTextColor(dc, step.colour);
      RECT box = toRect(step.box);
      DrawTextA(dc, step.text, -1, &box, DT_CENTER | DT_WORDBREAK);
      return;
    }
    case MeterStep::Kind::TextAt:
      SelectObject(dc, fontFor(step.font));
      SetTextColor(dc, step.colour);
      TextOutA(dc, step.dx, step.dy, step.text, static_cast<int>(strlen(step.text)));
      return;
  }
}

class WindowMeterCanvas final : public MeterCanvas {
 public:
  void drawFrame(const MeterFrame& frame) override {
    HDC buffer = shell.backBuffer;
    if (buffer == nullptr) return;
    {
      LockHolder drawing(drawingLock());  // a paint on the user-interface thread draws on the same window DC
      for (int i = 0; i < frame.count; ++i) drawStep(buffer, frame.steps[i]);
      BitBlt(shell.windowDC, kMeterArea.left, kMeterArea.top, kMeterArea.right - kMeterArea.left,
             kMeterArea.bottom - kMeterArea.top, buffer, kMeterArea.left, kMeterArea.top, SRCCOPY);
    }
    showFrameNow();
  }
  void repaintWindow() override { InvalidateRect(shell.mainWindow, nullptr, TRUE); }
};

}  // namespace

DWORD WINAPI meterThread(LPVOID) {
  WindowMeterCanvas canvas;
  runMeterThread(canvas, watchStopEvent(), signalState);
  return 0;
}
