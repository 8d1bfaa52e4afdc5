#include "dishcalc/calculator_drawing.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

DrawStep& nextStep(CalculatorDrawing& drawing) {
  // The plan never exceeds the array; the last slot is reused rather than overrun.
  if (drawing.count < kMaxDrawSteps) ++drawing.count;
  DrawStep& step = drawing.steps[drawing.count - 1];
  step = DrawStep{};
  return step;
}

void addText(CalculatorDrawing& drawing, int left, int top, uint32_t colour, const char* text) {
  DrawStep& step = nextStep(drawing);
  step.kind = DrawKind::Text;
  step.left = left;
  step.top = top;
  step.colour = colour;
  std::snprintf(step.text, sizeof(step.text), "%s", text);
}

void addDegrees(CalculatorDrawing& drawing, int left, int top, const char* format, double value,
                uint32_t colour = kResultColour) {
  char text[kCalculatorTextSize];
  std::snprintf(text, sizeof(text), format, value);
  addText(drawing, left, top, colour, text);
}

void addPicture(CalculatorDrawing& drawing, const CalculatorPicture& block) {
  DrawStep& step = nextStep(drawing);
  step.kind = DrawKind::Picture;
  step.block = block;
}

void addNeedle(CalculatorDrawing& drawing, double azimuth) {
  DrawStep& step = nextStep(drawing);
  step.kind = DrawKind::Needle;
  step.startAngle = static_cast<float>(90.0 - azimuth);
  step.sweepAngle = static_cast<float>(azimuth);
}

void addResults(const CalculatorResults& results, CalculatorDrawing& drawing) {
  addText(drawing, 55, 165, kLabelColour, "Azimuth");
  addText(drawing, 200, 175, kLabelColour, "Elevation");
  addText(drawing, 345, 165, kLabelColour, "Polarization");
  addDegrees(drawing, 165, 195, "Prime focus: %.2f\xB0", results.elevation);
  char offset[kCalculatorTextSize];
  offsetDishText(results, offset);
  addText(drawing, 170, 340, kResultColour, offset);
  addDegrees(drawing, 55, 185, "%.2f\xB0", results.azimuth);
  addDegrees(drawing, 370, 185, "%.2f\xB0", results.polarization);
  addText(drawing, 170, 360, kResultColour, "width :");
  addText(drawing, 170, 380, kResultColour, "height:");

  addPicture(drawing, kElevationPicture);
  addPicture(drawing, kCompassRose);
  addNeedle(drawing, results.azimuth);
  addPicture(drawing, kPolarizationPicture);
  if (results.polarization > 0)
    addPicture(drawing, kPositiveArrow);
  else if (results.polarization < 0)
    addPicture(drawing, kNegativeArrow);
}

// Free space: under the azimuth value and under the compass rose on the left; under the
// polarization picture and right of the dish-size boxes on the right.
constexpr int kCompassLeft = 15, kCompassTop = 206;
constexpr int kDeclinationLeft = 12, kDeclinationTop = 322, kSecondLineTop = 340;
constexpr int kPictureViewLeft = 355, kPictureViewTop = 322;
constexpr int kSkewLeft = 345, kSkewTop = 358, kViewpointTop = 376;

void addMagneticTexts(CalculatorDrawing& drawing, double azimuth, double year, const MagneticField& field) {
  if (!magneticModelValid(year)) {
    addText(drawing, kDeclinationLeft, kDeclinationTop, kResultColour, "Magnetic model");
    addText(drawing, kDeclinationLeft, kSecondLineTop, kResultColour,
            year < kMagneticModelEpoch ? "not valid yet" : "expired");
    return;
  }
  // Near the magnetic poles a bearing to a hundredth of a degree would be trusted where no compass works.
  if (field.horizontal < kCompassBlackoutNt) {
    addText(drawing, kCompassLeft, kCompassTop, kResultColour, "Compass: --");
    addText(drawing, kDeclinationLeft, kDeclinationTop, kWarningColour, "compass unreliable here");
    return;
  }
  const uint32_t colour = field.horizontal < kCompassCautionNt ? kWarningColour : kResultColour;
  const double declination = field.declination;
  addDegrees(drawing, kCompassLeft, kCompassTop, "Compass: %.2f\xB0", compassBearing(azimuth, declination), colour);
  char text[kCalculatorTextSize];
  // The side goes with the number shown: a declination that rounds to 0.00 has none.
  const char* side = std::fabs(declination) < 0.005 ? "" : declination > 0 ? " E" : " W";
  std::snprintf(text, sizeof(text), "Declination: %.2f\xB0%s", std::fabs(declination), side);
  addText(drawing, kDeclinationLeft, kDeclinationTop, colour, text);
}

// A negative skew (northern site east of the satellite) turns the LNB clockwise for someone
// behind the dish looking at the satellite. The picture is the dish's front, where its arrow
// shows the same turn mirrored, so it is captioned as such.
void addSkewWords(CalculatorDrawing& drawing, double polarization) {
  if (polarization == 0) return;
  addText(drawing, kPictureViewLeft, kPictureViewTop, kLabelColour, "front view");
  addText(drawing, kSkewLeft, kSkewTop, kResultColour, polarization < 0 ? "clockwise" : "anticlockwise");
  addText(drawing, kSkewLeft, kViewpointTop, kResultColour, "from behind");
}

}  // namespace

double compassBearing(double azimuth, double declination) {
  const double bearing = std::fmod(azimuth - declination, 360.0);
  return bearing < 0 ? bearing + 360.0 : bearing;
}

void planCompassAndSkew(const CalculatorResults& results, double year, const MagneticField& field,
                        CalculatorDrawing& drawing) {
  if (!satelliteVisible(results.elevation)) return;
  addMagneticTexts(drawing, results.azimuth, year, field);
  addSkewWords(drawing, results.polarization);
}

void offsetDishText(const CalculatorResults& results, char (&text)[kCalculatorTextSize]) {
  if (!hasOffsetAngle(results))
    std::snprintf(text, sizeof(text), "Offset dish  : --");
  else
    std::snprintf(text, sizeof(text), "Offset dish  : %.2f\xB0", offsetDishElevation(results));
}

void planCalculatorDrawing(const CalculatorResults& results, CalculatorDrawing& drawing) {
  drawing.count = 0;
  addText(drawing, 160, 25, kHeadingColour, "Select Your position:");
  addText(drawing, 150, 105, kHeadingColour, "Select satellite position:");
  addText(drawing, 130, 45, kLabelColour, "Latitude");
  addText(drawing, 280, 45, kLabelColour, "Longitude");
  if (satelliteVisible(results.elevation)) {
    addResults(results, drawing);
  } else {
    addText(drawing, 200, 155, kWarningColour, "Warning!");
    addText(drawing, 125, 175, kWarningColour, "Satellite out of the visibility range!");
  }
}
