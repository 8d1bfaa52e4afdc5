// What the calculator window draws for a result set, in drawing order. The Win32 side only
// carries the steps out (texts with TextOutA, pictures from the skin, the needle with AngleArc).
#pragma once
#include <cstddef>
#include <cstdint>

#include "dishcalc/geometry.h"
#include "dishcalc/magnetic_model.h"

// Colours as 0x00BBGGRR, the layout of a Windows COLORREF.
constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kHeadingColour = rgb(180, 30, 0);
constexpr uint32_t kLabelColour = rgb(90, 100, 130);
constexpr uint32_t kResultColour = rgb(0, 0, 0);
constexpr uint32_t kWarningColour = rgb(200, 0, 0);

// The calculator window: 480 x 450 with a one-pixel border, corners of 100.
constexpr int kCalculatorWidth = 480;
constexpr int kCalculatorHeight = 450;
constexpr int kCalculatorCorner = 100;
constexpr int kCalculatorOffsetX = 17;   // from the main window's left
constexpr int kCalculatorOffsetY = -30;  // from the main window's top

// Compass dial: the needle's centre is the compass rose's centre.
constexpr int kCompassCentreX = 85;
constexpr int kCompassCentreY = 270;
constexpr int kNeedleLength = 45;

// Numbers are formatted into 32 characters; a step holds the longest fixed text too.
constexpr size_t kCalculatorTextSize = 32;
constexpr size_t kDrawTextSize = 48;

// A block of the 768 x 512 skin picture (from its top-left) and where it goes.
struct CalculatorPicture {
  int sourceLeft, sourceTop, width, height, left, top;
};
constexpr CalculatorPicture kElevationPicture{412, 412, 100, 100, 200, 230};
constexpr CalculatorPicture kCompassRose{612, 412, 80, 80, 45, 230};
constexpr CalculatorPicture kPolarizationPicture{512, 412, 100, 100, 345, 220};
constexpr CalculatorPicture kPositiveArrow{630, 492, 17, 20, 391, 266};
constexpr CalculatorPicture kNegativeArrow{612, 492, 18, 20, 373, 266};

enum class DrawKind { Text, Picture, Needle };

struct DrawStep {
  DrawKind kind = DrawKind::Text;
  // Text: top-left point, colour and the text itself.
  int left = 0, top = 0;
  uint32_t colour = 0;
  char text[kDrawTextSize] = {};
  // Picture.
  CalculatorPicture block{};
  // Needle: AngleArc angles in degrees counterclockwise from the positive x axis.
  float startAngle = 0, sweepAngle = 0;
};

constexpr size_t kMaxDrawSteps = 28;

struct CalculatorDrawing {
  DrawStep steps[kMaxDrawSteps];
  size_t count = 0;
};

// Headings always; then either the results (texts, elevation picture, compass rose, needle,
// polarization picture, rotation arrow by the skew's sign) or the visibility warning.
void planCalculatorDrawing(const CalculatorResults& results, CalculatorDrawing& drawing);

// The offset-dish line: two decimals and a degree sign, "--" without an offset angle.
void offsetDishText(const CalculatorResults& results, char (&text)[kCalculatorTextSize]);

// Where a hand compass reads the true azimuth: the azimuth less the declination (east
// positive), kept in 0 to 360.
double compassBearing(double azimuth, double declination);

// The compass bearing for today and the skew in words, in free space beside what the plan
// above draws, for a visible satellite only (nothing otherwise). year is today's decimal year:
// outside the magnetic model's years only the true azimuth stands, with a note saying so. Where
// the field is too weak for a compass no bearing is shown but a note saying so; where it is weak
// the bearing and declination are in red. The skew's words are for a viewer behind the dish; the
// picture with the arrow is its front, and a caption says so.
void planCompassAndSkew(const CalculatorResults& results, double year, const MagneticField& field,
                        CalculatorDrawing& drawing);
