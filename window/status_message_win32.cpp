#include "window/status_message_win32.h"

#include <windows.h>

#include "core/env_win32.h"
#include "core/globals_win32.h"
#include "window/layout_win32.h"
#include "window/shaded_frame.h"
#include "window/shaded_frame_win32.h"
#include "window/status_message.h"

namespace {
constexpr int kStatusCorner = 48;
constexpr COLORREF kStatusTextColour = RGB(kStatusColour.r, kStatusColour.g, kStatusColour.b);
constexpr COLORREF kNormalTextColour = RGB(190, 200, 210);
constexpr DWORD kStatusPauseMs = 2000;

void drawStatusBox(int index) {
  LockHolder drawing(drawingLock());  // the meter thread copies its frames to the same window DC
  HDC dc = shell.windowDC;
  RECT box = toRect(kStatusBox);
  drawShadedFrame(dc, box, skin.lightBrush, kStatusCorner, kBrightening);
  skin.savedFont = static_cast<HFONT>(SelectObject(dc, skin.smallBoldFont));
  SetTextColor(dc, kStatusTextColour);
  DrawTextA(dc, statusMessageText(index), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SetTextColor(dc, kNormalTextColour);
  SelectObject(dc, skin.savedFont);
}

}  // namespace

void showStatusMessage(int index) {
  drawStatusBox(index);
  // Wine keeps drawing done outside WM_PAINT in the window surface until the thread next waits
  // for messages; the pause that may follow is a Sleep or a wait for threads, so without this
  // wait of no time and for no message the text never reaches the screen.
  GdiFlush();
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0);
}

void showStatusForAWhile(int index) {
  showStatusMessage(index);
  Sleep(kStatusPauseMs);
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
}
