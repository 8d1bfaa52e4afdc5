#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "feedback/meter.h"

namespace {

// One line per step, so a whole frame compares as a list and a failure shows the difference.
std::string describe(const MeterStep& step) {
  std::ostringstream out;
  switch (step.kind) {
    case MeterStep::Kind::CopySkin:
      out << "skin " << step.x << "," << step.y << " " << step.w << "x" << step.h << " to " << step.dx << ","
          << step.dy;
      break;
    case MeterStep::Kind::CentredText:
      out << "centred '" << step.text << "' in " << step.box.left << "," << step.box.top << "," << step.box.right
          << "," << step.box.bottom;
      break;
    case MeterStep::Kind::TextAt:
      out << "text '" << step.text << "' at " << step.dx << "," << step.dy;
      break;
  }
  if (step.kind != MeterStep::Kind::CopySkin) {
    out << (step.font == MeterFont::Large ? " large" : " small") << " #" << std::hex << step.colour;
  }
  return out.str();
}

std::vector<std::string> describe(const MeterFrame& frame) {
  std::vector<std::string> lines;
  for (int i = 0; i < frame.count; ++i) lines.push_back(describe(frame.steps[i]));
  return lines;
}

const std::vector<std::string> kCommon = {"skin 80,80 385x130 to 80,80", "skin 0,413 180x15 to 140,80",
                                          "skin 0,398 180x15 to 140,147"};
const std::string kGreen = "skin 512,65 60x65 to 395,115";
// COLORREF layout: 0x00BBGGRR.
const std::string kValue = " large #faf0e6";
const std::string kRed = " large #dc";
const std::string kBlue = " small #ff0000";

std::vector<std::string> with(std::vector<std::string> lines) {
  lines.insert(lines.begin(), kCommon.begin(), kCommon.end());
  return lines;
}

TEST(MeterBar, WidthIsReadingTimesTwoPointEightSixTruncatedWithinTheSkinBar) {
  const struct {
    int32_t reading;
    int width;
  } cases[] = {
      {50, 143}, {35, 100}, {100, 286}, {99, 283}, {1, 2}, {0, 0},
      // A card outside its 0..100 contract must not make the copy run past the skin's bar.
      {101, 286}, {1000, 286}, {INT_MAX, 286}, {-1, 0}, {INT_MIN, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(barWidth(c.reading), c.width) << "reading " << c.reading;
}

TEST(MeterFrame, StepsFollowTheReadingsAndSeenFlags) {
  const struct {
    const char* what;
    MeterInputs inputs;
    std::vector<std::string> expected;
  } cases[] = {
      {"both zero, nothing seen: red start button stays, two red zeros",
       {0, 0, false, false},
       with({"centred '0%' in 180,98,270,140" + kRed, "centred '0%' in 180,166,270,208" + kRed})},
      {"level 50 only",
       {50, 0, false, false},
       with({kGreen, "skin 0,428 143x42 to 87,98", "centred '50%' in 180,98,270,140" + kValue,
             "centred '0%' in 180,166,270,208" + kRed})},
      {"quality only still turns the button green",
       {0, 35, false, true},
       with({kGreen, "centred '0%' in 180,98,270,140" + kRed, "skin 0,428 100x42 to 87,166",
             "centred '35%' in 180,166,270,208" + kValue})},
      {"both lost after being seen: blue markers beside the red zeros",
       {0, 0, true, true},
       with({"text 'SL' at 340,105" + kBlue, "centred '0%' in 180,98,270,140" + kRed, "text 'SQ' at 340,170" + kBlue,
             "centred '0%' in 180,166,270,208" + kRed})},
      {"full level, capped quality",
       {100, 99, true, true},
       with({kGreen, "skin 0,428 286x42 to 87,98", "centred '100%' in 180,98,270,140" + kValue,
             "skin 0,428 283x42 to 87,166", "centred '99%' in 180,166,270,208" + kValue})},
  };
  for (const auto& c : cases) EXPECT_EQ(describe(composeMeterFrame(c.inputs)), c.expected) << c.what;
}

TEST(MeterFrame, OutOfRangeValuesStayInsideTheTextBufferAndTheBar) {
  const MeterFrame frame = composeMeterFrame({INT_MIN, INT_MAX, false, false});
  ASSERT_EQ(frame.count, 8);
  // "%d%" of INT_MIN needs 13 characters; the buffer holds 7 and the terminator.
  EXPECT_STREQ(frame.steps[5].text, "-214748");
  EXPECT_EQ(frame.steps[4].w, 0);
  EXPECT_STREQ(frame.steps[7].text, "2147483");
  EXPECT_EQ(frame.steps[6].w, kBarMaxWidth);
}

TEST(MeterFrame, InputsAreReadFromTheSharedState) {
  SignalState signal;
  signal.level.store(42);
  signal.quality.store(17);
  signal.levelSeen.store(1);
  const MeterInputs inputs = readMeterInputs(signal);
  EXPECT_EQ(inputs.level, 42);
  EXPECT_EQ(inputs.quality, 17);
  EXPECT_TRUE(inputs.levelSeen);
  EXPECT_FALSE(inputs.qualitySeen);
}

}  // namespace
