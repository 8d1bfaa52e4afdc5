#include "app/window_proc_win32.h"

#include <windowsx.h>

#include "app/commands_win32.h"
#include "app/paint_win32.h"
#include "watch/satellite_line_win32.h"

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(window, wParam);
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kSatelliteTimerId) OnSatelliteTimer();
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLeftButtonDoubleClick(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
