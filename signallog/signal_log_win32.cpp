// The full-screen signal log window: a modal dialog on the empty template that samples the
// chosen reading once a second, draws it as bars and writes "signal_log.txt" as it goes.
#include "signallog/signal_log_win32.h"

#include <cstring>

#include "core/file_io.h"
#include "core/file_io_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "core/program_folder_win32.h"
#include "resources/resource_ids.h"
#include "signallog/signal_log.h"
#include "window/shaded_frame_win32.h"
#include "window/window_text_win32.h"

namespace {

constexpr COLORREF kLabelColour = RGB(190, 200, 210);
constexpr COLORREF kTraceColour = RGB(0, 100, 0);
constexpr int kFrameCorner = 0;
constexpr int kFrameDarkening = 0;
constexpr INT_PTR kResultNoFile = 1;

// Everything the open window holds; each handle is present only between opening and closing.
struct LogWindow {
  SignalLogRecording recording;
  HDC windowDC = nullptr;
  HDC graphDC = nullptr;
  HBITMAP graphBitmap = nullptr;
  HGDIOBJ originalBitmap = nullptr;  // what the memory DC held, put back before deleting ours
  HGDIOBJ originalPen = nullptr;
};
LogWindow logWindow;

const LogGeometry& geometry() { return logWindow.recording.geometry; }

UtcTime utcNow() {
  SYSTEMTIME t;
  GetSystemTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void drawGrid() {
  SelectObject(logWindow.graphDC, skin.gridPen);
  for (const GridLine& line : gridLines(geometry())) {
    MoveToEx(logWindow.graphDC, line.x1, line.y1, nullptr);
    LineTo(logWindow.graphDC, line.x2, line.y2);
  }
}

// A new compatible bitmap's pixels are undefined: start from black before the grid.
void clearGraph() {
  const RECT whole{0, 0, geometry().graphWidth, geometry().graphHeight};
  FillRect(logWindow.graphDC, &whole, skin.blackBrush);
}

void copyGraphToWindow(DWORD rasterOperation) {
  const LogGeometry& g = geometry();
  BitBlt(logWindow.windowDC, g.graphX, g.graphY, g.graphWidth, g.graphHeight, logWindow.graphDC, 0, 0,
         rasterOperation);
}

void createGraphImage(HWND dialog) {
  const LogGeometry& g = geometry();
  logWindow.windowDC = GetDC(dialog);
  logWindow.graphBitmap = CreateCompatibleBitmap(logWindow.windowDC, g.graphWidth, g.graphHeight);
  logWindow.graphDC = CreateCompatibleDC(logWindow.windowDC);
  logWindow.originalBitmap = SelectObject(logWindow.graphDC, logWindow.graphBitmap);
  logWindow.originalPen = SelectObject(logWindow.graphDC, skin.gridPen);
  clearGraph();
  drawGrid();
  skin.tracePen = CreatePen(PS_SOLID, g.columnUnit, kTraceColour);
  SelectObject(logWindow.graphDC, skin.tracePen);
  MoveToEx(logWindow.graphDC, 0, kGridRows * g.rowUnit, nullptr);
}

void createCloseButton(HWND dialog) {
  const Point origin = closeButtonOrigin(shell.screenWidth);
  CreateWindowExA(0, "BUTTON", "X", WS_CHILD | WS_VISIBLE, origin.x, origin.y, kCloseButtonSize, kCloseButtonSize,
                  dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)), shell.instance, nullptr);
}

void OnInitDialog(HWND dialog) {
  enterProgramFolder();
  if (!startRecording(logWindow.recording, systemFileSystem(), utcNow(), readShared(settingsRecord.readingSelector),
                     shell.screenWidth, shell.screenHeight)) {
    EndDialog(dialog, kResultNoFile);
    return;
  }
  MoveWindow(dialog, 0, 0, shell.screenWidth, shell.screenHeight, TRUE);
  createCloseButton(dialog);
  createGraphImage(dialog);
  SetTimer(dialog, kSampleTimerId, kSamplePeriodMs, nullptr);
}

void drawText(HDC dc, const TextLabel& label) {
  TextOutA(dc, label.x, label.y, label.text, static_cast<int>(strlen(label.text)));
}

void OnPaint(HWND dialog) {
  if (!GetUpdateRect(dialog, nullptr, FALSE)) return;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLabelColour);
  RECT client;
  GetClientRect(dialog, &client);
  drawShadedFrame(dc, client, skin.blackBrush, kFrameCorner, kFrameDarkening);
  const LogGeometry& g = geometry();
  drawWindowText(controls.satelliteList, dc, g.graphX, kTitleY);
  drawWindowText(controls.transponderList, dc, g.graphX + kTransponderTextOffset, kTitleY);
  drawText(dc, logFileLabel(shell.screenWidth));
  for (const TextLabel& label : graphLabels(g)) drawText(dc, label);
  EndPaint(dialog, &paint);
}

// The graph is not kept on screen by painting: each sample ORs the whole image back on.
void OnTimer() {
  EnterCriticalSection(&shell.lock);
  const int32_t sample = chooseReading(readShared(settingsRecord.readingSelector), signalState.level.load(),
                                       signalState.quality.load());
  LeaveCriticalSection(&shell.lock);
  const SampleStep step = recordSample(logWindow.recording, sample, utcNow());
  if (step.bar.top != step.bar.bottom) {
    MoveToEx(logWindow.graphDC, step.bar.x, step.bar.bottom, nullptr);
    LineTo(logWindow.graphDC, step.bar.x, step.bar.top);
  }
  copyGraphToWindow(SRCPAINT);
  if (!step.pageRestart) return;
  clearGraph();
  drawGrid();
  SelectObject(logWindow.graphDC, skin.tracePen);
  copyGraphToWindow(SRCCOPY);
}

template <typename Handle>
void deleteIfPresent(Handle& object) {
  if (object != nullptr) DeleteObject(object);
  object = nullptr;
}

// Our pen and bitmap go back out of the memory DC first: GDI will not delete an object
// that is still selected, and each opening would leak a screen-sized bitmap.
void releaseDrawing(HWND dialog) {
  if (logWindow.graphDC != nullptr) {
    if (logWindow.originalPen != nullptr) SelectObject(logWindow.graphDC, logWindow.originalPen);
    if (logWindow.originalBitmap != nullptr) SelectObject(logWindow.graphDC, logWindow.originalBitmap);
  }
  logWindow.originalPen = nullptr;
  logWindow.originalBitmap = nullptr;
  deleteIfPresent(skin.tracePen);
  deleteIfPresent(logWindow.graphBitmap);
  if (logWindow.graphDC != nullptr) DeleteDC(logWindow.graphDC);
  logWindow.graphDC = nullptr;
  if (logWindow.windowDC != nullptr) ReleaseDC(dialog, logWindow.windowDC);
  logWindow.windowDC = nullptr;
}

void closeSignalLog(HWND dialog, WPARAM wParam) {
  KillTimer(dialog, kSampleTimerId);
  stopRecording(logWindow.recording);
  releaseDrawing(dialog);
  EndDialog(dialog, LOWORD(wParam));
}

}  // namespace

INT_PTR CALLBACK signalLogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_PAINT: OnPaint(dialog); return TRUE;
    case WM_TIMER: OnTimer(); return TRUE;
    case WM_COMMAND: closeSignalLog(dialog, wParam); return TRUE;
    case WM_LBUTTONDBLCLK: closeSignalLog(dialog, wParam); return TRUE;
  }
  return FALSE;
}
