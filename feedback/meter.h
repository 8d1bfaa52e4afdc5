// The signal meter: what one frame draws, and the meter thread's loop. Free of Windows; the
// Win32 side only carries out the steps of a frame (feedback/meter_win32.cpp).
#pragma once
#include <cstdint>

#include "core/env.h"
#include "core/globals.h"
#include "window/layout.h"

constexpr uint32_t kMeterFrameMs = 400;
// Threads may be scheduled in any order, so the meter can run before the poll thread's first
// step; it checks this often until the poll thread is up.
constexpr uint32_t kPollStartCheckMs = 5;

// Reading to bar width: percent x 2.86, truncated; the gradient bar in the skin is 286 wide,
// so the width stays within 0..286 whatever the card reports.
constexpr double kBarPixelsPerPercent = 2.86;
constexpr int kBarMaxWidth = 286;
int barWidth(int32_t reading);

// Colours in the system's COLORREF layout (red in the low byte).
constexpr uint32_t meterRgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kValueColour = meterRgb(230, 240, 250);
constexpr uint32_t kZeroColour = meterRgb(220, 0, 0);
constexpr uint32_t kSeenMarkerColour = meterRgb(0, 0, 255);

enum class MeterFont { SmallBold, Large };

struct MeterStep {
  enum class Kind { CopySkin, CentredText, TextAt };
  Kind kind;
  // CopySkin: the block (x, y, w, h) of the skin picture goes to (dx, dy).
  int x, y, w, h, dx, dy;
  // CentredText: centred from the top of box. TextAt: at (dx, dy).
  PixelRect box;
  MeterFont font;
  uint32_t colour;
  char text[8];
};

// Background, two captions, the green button, two steps per row.
constexpr int kMaxMeterSteps = 8;
struct MeterFrame {
  MeterStep steps[kMaxMeterSteps];
  int count;
};

struct MeterInputs {
  int32_t level;
  int32_t quality;
  bool levelSeen;
  bool qualitySeen;
};
MeterInputs readMeterInputs(const SignalState& signal);
// The steps of one frame, in drawing order.
MeterFrame composeMeterFrame(const MeterInputs& inputs);

// What the meter thread draws on.
class MeterCanvas {
 public:
  virtual ~MeterCanvas() = default;
  // Carries out the steps in the back buffer, then copies the meter area to the window.
  virtual void drawFrame(const MeterFrame& frame) = 0;
  // The whole window, background included, so it gets its normal look back.
  virtual void repaintWindow() = 0;
};

// Waits while the watch flag is set and the poll thread has not yet raised its flag, however
// long that takes (the poll thread raises it at its first step, and stopping drops the watch
// flag and sets the stop event). True when the poll thread is running, false when watching
// ended first.
bool waitForPollThread(StopEvent& stop, const SignalState& signal);

// The meter thread's whole life: raises the meter-running flag, draws a frame every 400 ms
// while the poll-running flag is set (tested after each frame) and stop has not cut the pause
// short, repaints the window and clears its flag last.
void runMeterThread(MeterCanvas& canvas, StopEvent& stop, SignalState& signal);
