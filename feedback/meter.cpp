#include "feedback/meter.h"

#include <cstdio>

namespace {

constexpr int kMeterWidth = kMeterArea.right - kMeterArea.left;
constexpr int kMeterHeight = kMeterArea.bottom - kMeterArea.top;
constexpr int kCaptionWidth = 180;
constexpr int kCaptionHeight = 15;
constexpr int kBarHeight = 42;
constexpr int kBarSkinX = 0;
constexpr int kBarSkinY = 428;

struct RowPlace {
  int captionSkinY;
  int captionY;
  int barY;
  PixelRect box;
  int markerY;
  const char* marker;
};
constexpr int kCaptionX = 140;
constexpr int kBarX = 87;
constexpr int kMarkerX = 340;
constexpr RowPlace kLevelRow = {413, 80, 98, kLevelBox, 105, "SL"};
constexpr RowPlace kQualityRow = {398, 147, 166, kQualityBox, 170, "SQ"};

MeterStep& nextStep(MeterFrame& frame) {
  MeterStep& step = frame.steps[frame.count++];
  step = MeterStep{};
  return step;
}

void addSkinCopy(MeterFrame& frame, int x, int y, int w, int h, int dx, int dy) {
  MeterStep& step = nextStep(frame);
  step.kind = MeterStep::Kind::CopySkin;
  step.x = x;
  step.y = y;
  step.w = w;
  step.h = h;
  step.dx = dx;
  step.dy = dy;
}

MeterStep& addText(MeterFrame& frame, MeterStep::Kind kind, MeterFont font, uint32_t colour) {
  MeterStep& step = nextStep(frame);
  step.kind = kind;
  step.font = font;
  step.colour = colour;
  return step;
}

void addRow(MeterFrame& frame, const RowPlace& row, int32_t reading, bool seen) {
  if (reading != 0) {
    addSkinCopy(frame, kBarSkinX, kBarSkinY, barWidth(reading), kBarHeight, kBarX, row.barY);
    MeterStep& value = addText(frame, MeterStep::Kind::CentredText, MeterFont::Large, kValueColour);
    value.box = row.box;
    snprintf(value.text, sizeof value.text, "%d%s", static_cast<int>(reading), "%");
    return;
  }
  if (seen) {
    MeterStep& marker = addText(frame, MeterStep::Kind::TextAt, MeterFont::SmallBold, kSeenMarkerColour);
    marker.dx = kMarkerX;
    marker.dy = row.markerY;
    snprintf(marker.text, sizeof marker.text, "%s", row.marker);
  }
  MeterStep& zero = addText(frame, MeterStep::Kind::CentredText, MeterFont::Large, kZeroColour);
  zero.box = row.box;
  snprintf(zero.text, sizeof zero.text, "0%%");
}

}  // namespace

int barWidth(int32_t reading) {
  const double width = static_cast<double>(reading) * kBarPixelsPerPercent;
  if (width <= 0) return 0;
  if (width >= kBarMaxWidth) return kBarMaxWidth;
  return static_cast<int>(width);
}

MeterInputs readMeterInputs(const SignalState& signal) {
  return MeterInputs{signal.level.load(), signal.quality.load(), signal.levelSeen.load() != 0,
                     signal.qualitySeen.load() != 0};
}

MeterFrame composeMeterFrame(const MeterInputs& inputs) {
  MeterFrame frame{};
  addSkinCopy(frame, kMeterArea.left, kMeterArea.top, kMeterWidth, kMeterHeight, kMeterArea.left, kMeterArea.top);
  addSkinCopy(frame, 0, kLevelRow.captionSkinY, kCaptionWidth, kCaptionHeight, kCaptionX, kLevelRow.captionY);
  addSkinCopy(frame, 0, kQualityRow.captionSkinY, kCaptionWidth, kCaptionHeight, kCaptionX, kQualityRow.captionY);
  if (inputs.level != 0 || inputs.quality != 0)
    addSkinCopy(frame, kGreenStartButton.srcX, kGreenStartButton.srcY, kGreenStartButton.w, kGreenStartButton.h,
                kGreenStartButton.dx, kGreenStartButton.dy);
  addRow(frame, kLevelRow, inputs.level, inputs.levelSeen);
  addRow(frame, kQualityRow, inputs.quality, inputs.qualitySeen);
  return frame;
}

bool waitForPollThread(StopEvent& stop, const SignalState& signal) {
  while (signal.pollRunning.load() == 0) {
    if (signal.watch.load() == 0 || !stop.pause(kPollStartCheckMs)) return false;
  }
  return true;
}

void runMeterThread(MeterCanvas& canvas, StopEvent& stop, SignalState& signal) {
  signal.meterRunning.store(1);
  if (waitForPollThread(stop, signal)) {
    do {
      canvas.drawFrame(composeMeterFrame(readMeterInputs(signal)));
      if (!stop.pause(kMeterFrameMs)) break;
    } while (signal.pollRunning.load() != 0);
  }
  canvas.repaintWindow();
  signal.meterRunning.store(0);
}
