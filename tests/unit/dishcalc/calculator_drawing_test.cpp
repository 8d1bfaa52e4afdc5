#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dishcalc/calculator_drawing.h"
#include "dishcalc/geometry.h"

namespace {

CalculatorResults results(double azimuth, double elevation, double polarization, double offset) {
  CalculatorResults r;
  r.azimuth = azimuth;
  r.elevation = elevation;
  r.polarization = polarization;
  r.offsetAngle = offset;
  return r;
}

// One line per step, so a whole plan compares in one expectation with a readable diff.
std::vector<std::string> describe(const CalculatorDrawing& drawing) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < drawing.count; ++i) {
    const DrawStep& s = drawing.steps[i];
    char line[160];
    if (s.kind == DrawKind::Text)
      std::snprintf(line, sizeof(line), "text %d,%d #%06x %s", s.left, s.top, s.colour, s.text);
    else if (s.kind == DrawKind::Picture)
      std::snprintf(line, sizeof(line), "picture %d,%d %dx%d at %d,%d", s.block.sourceLeft, s.block.sourceTop,
                    s.block.width, s.block.height, s.block.left, s.block.top);
    else
      std::snprintf(line, sizeof(line), "needle %.2f %.2f", s.startAngle, s.sweepAngle);
    lines.push_back(line);
  }
  return lines;
}

const std::vector<std::string> kHeadings = {
    "text 160,25 #001eb4 Select Your position:",
    "text 150,105 #001eb4 Select satellite position:",
    "text 130,45 #82645a Latitude",
    "text 280,45 #82645a Longitude",
};

}  // namespace

TEST(CalculatorDrawing, VisibleSatelliteDrawsResultsPicturesNeedleAndArrowInOrder) {
  CalculatorResults r;
  computePointingAngles(r, 50, 20, 13);
  computeOffsetAngle(r, 1000, 1200);
  CalculatorDrawing drawing;
  planCalculatorDrawing(r, drawing);
  std::vector<std::string> expected = kHeadings;
  const std::vector<std::string> rest = {
      "text 55,165 #82645a Azimuth",
      "text 200,175 #82645a Elevation",
      "text 345,165 #82645a Polarization",
      "text 165,195 #000000 Prime focus: 32.31\xB0",
      "text 170,340 #000000 Offset dish  : -1.25\xB0",
      "text 55,185 #000000 189.11\xB0",
      "text 370,185 #000000 -5.84\xB0",
      "text 170,360 #000000 width :",
      "text 170,380 #000000 height:",
      "picture 412,412 100x100 at 200,230",
      "picture 612,412 80x80 at 45,230",
      "needle -99.11 189.11",
      "picture 512,412 100x100 at 345,220",
      "picture 612,492 18x20 at 373,266",
  };
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(describe(drawing), expected);
}

TEST(CalculatorDrawing, BelowTheLimitOnlyTheWarning) {
  std::vector<std::string> expected = kHeadings;
  expected.push_back("text 200,155 #0000c8 Warning!");
  expected.push_back("text 125,175 #0000c8 Satellite out of the visibility range!");
  for (double elevation : {-3.0, -8.59, -90.0}) {
    CalculatorDrawing drawing;
    planCalculatorDrawing(results(180, elevation, 10, 30), drawing);
    EXPECT_EQ(describe(drawing), expected) << elevation;
  }
}

TEST(CalculatorDrawing, RotationArrowFollowsTheSkewsSign) {
  const struct {
    double polarization;
    const char* lastStep;
  } cases[] = {
      {26.31, "picture 630,492 17x20 at 391,266"},
      {0.001, "picture 630,492 17x20 at 391,266"},
      {-5.84, "picture 612,492 18x20 at 373,266"},
      {0.0, "picture 512,412 100x100 at 345,220"},  // no arrow: the front view is last
  };
  for (const auto& c : cases) {
    CalculatorDrawing drawing;
    planCalculatorDrawing(results(200, 30, c.polarization, 1000), drawing);
    EXPECT_EQ(describe(drawing).back(), c.lastStep) << c.polarization;
  }
}

TEST(CalculatorDrawing, OffsetDishLine) {
  const struct {
    double elevation, offset;
    const char* expected;
  } cases[] = {
      {32.31, kNoOffsetAngle, "Offset dish  : --"},
      {45.42, 27.27, "Offset dish  : 18.15\xB0"},
      {90.0, 60.0, "Offset dish  : 30.00\xB0"},
      {-2.9, 60.0, "Offset dish  : -62.90\xB0"},
  };
  for (const auto& c : cases) {
    char text[kCalculatorTextSize];
    offsetDishText(results(180, c.elevation, 0, c.offset), text);
    EXPECT_STREQ(text, c.expected);
  }
}

TEST(CalculatorDrawing, NeedleAnglesForTheCompassPoints) {
  const struct {
    double azimuth;
    float start, sweep;
  } cases[] = {{0, 90, 0}, {90, 0, 90}, {180, -90, 180}, {270, -180, 270}, {360, -270, 360}};
  for (const auto& c : cases) {
    CalculatorDrawing drawing;
    planCalculatorDrawing(results(c.azimuth, 40, 0, 1000), drawing);
    const DrawStep* needle = nullptr;
    for (size_t i = 0; i < drawing.count; ++i)
      if (drawing.steps[i].kind == DrawKind::Needle) needle = &drawing.steps[i];
    ASSERT_NE(needle, nullptr);
    EXPECT_EQ(needle->startAngle, c.start) << c.azimuth;
    EXPECT_EQ(needle->sweepAngle, c.sweep) << c.azimuth;
  }
}

TEST(CalculatorDrawing, ReplanningStartsAfresh) {
  CalculatorDrawing drawing;
  planCalculatorDrawing(results(180, 40, 5, 30), drawing);
  planCalculatorDrawing(results(180, -40, 5, 30), drawing);
  EXPECT_EQ(drawing.count, kHeadings.size() + 2);
}

namespace {

// The steps the compass and skew texts add after an empty plan.
std::vector<std::string> compassAndSkew(double azimuth, double elevation, double polarization, double year,
                                        double declination, double horizontal) {
  CalculatorDrawing drawing;
  drawing.count = 0;
  planCompassAndSkew(results(azimuth, elevation, polarization, 1000), year, {declination, horizontal}, drawing);
  return describe(drawing);
}

}  // namespace

TEST(CalculatorDrawing, CompassBearingDeclinationAndSkewWords) {
  const std::string view = "text 355,322 #82645a front view", behind = "text 345,376 #000000 from behind";
  const struct {
    double azimuth, elevation, polarization, year, declination;
    std::vector<std::string> expected;
    double horizontal = 20000;  // nT
  } cases[] = {
      {189.11, 32.31, -5.84, 2026.9, 6.40,
       {"text 15,206 #000000 Compass: 182.71\xB0", "text 12,322 #000000 Declination: 6.40\xB0 E", view,
        "text 345,358 #000000 clockwise", behind}},
      {327.72, 45.42, 26.31, 2029.99, -26.83,
       {"text 15,206 #000000 Compass: 354.55\xB0", "text 12,322 #000000 Declination: 26.83\xB0 W", view,
        "text 345,358 #000000 anticlockwise", behind}},
      // Kept in 0 to 360 both ways; no skew, no words; a declination shown as 0.00 has no side.
      {3, 90, 0, 2025.0, 10,
       {"text 15,206 #000000 Compass: 353.00\xB0", "text 12,322 #000000 Declination: 10.00\xB0 E"}},
      {355, 90, 0, 2025.0, -10,
       {"text 15,206 #000000 Compass: 5.00\xB0", "text 12,322 #000000 Declination: 10.00\xB0 W"}},
      {0, 90, 0, 2025.0, -0.004,
       {"text 15,206 #000000 Compass: 0.00\xB0", "text 12,322 #000000 Declination: 0.00\xB0"}},
      // Outside the model's years only a note; below the visibility limit nothing.
      {189.11, 32.31, 0, 2030.0, 6.40, {"text 12,322 #000000 Magnetic model", "text 12,340 #000000 expired"}},
      {189.11, 32.31, 0, 2024.99, 6.40, {"text 12,322 #000000 Magnetic model", "text 12,340 #000000 not valid yet"}},
      {189.11, -3.0, -5.84, 2026.9, 6.40, {}},
      // Near the magnetic poles: no bearing where a compass does not work, red where it is weak.
      {10, 17.7, 0, 2026.9, 6.40, {"text 15,206 #000000 Compass: --", "text 12,322 #0000c8 compass unreliable here"}, 1999},
      {10, 17.7, 0, 2026.9, 6.40,
       {"text 15,206 #0000c8 Compass: 3.60\xB0", "text 12,322 #0000c8 Declination: 6.40\xB0 E"}, 2000},
      {10, 17.7, 0, 2026.9, 6.40,
       {"text 15,206 #000000 Compass: 3.60\xB0", "text 12,322 #000000 Declination: 6.40\xB0 E"}, 6000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(compassAndSkew(c.azimuth, c.elevation, c.polarization, c.year, c.declination, c.horizontal), c.expected)
        << c.azimuth << " " << c.year;

  // After the whole plan every step still has a slot of its own.
  CalculatorDrawing full;
  planCalculatorDrawing(results(189.11, 32.31, -5.84, 30), full);
  const size_t before = full.count;
  planCompassAndSkew(results(189.11, 32.31, -5.84, 30), 2026.9, {6.40, 20000}, full);
  ASSERT_EQ(full.count, before + cases[0].expected.size());
  EXPECT_EQ(describe(full).back(), behind);
}
