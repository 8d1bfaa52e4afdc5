#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "signallog/signal_log.h"
#include "support/fake_file_system.h"

namespace {

struct GeometryCase {
  int width, height;
  int rowUnit, columnUnit, graphX, graphWidth, graphHeight;
};

TEST(LogGeometry, FollowsTheScreenSize) {
  const GeometryCase cases[] = {
      {1024, 768, 30, 3, 62, 901, 601},    {1280, 1024, 43, 4, 40, 1201, 861},
      {800, 600, 22, 2, 100, 601, 441},    {1920, 1080, 46, 6, 60, 1801, 921},
      {2560, 1440, 64, 7, 230, 2101, 1281}, {3840, 2160, 100, 7, 870, 2101, 2001},
      // Narrow screens: one pixel a second, so the 301-pixel graph still fits.
      {600, 480, 16, 1, 150, 301, 321},    {320, 240, 4, 1, 10, 301, 81},
  };
  for (const GeometryCase& c : cases) {
    const LogGeometry g = logGeometry(c.width, c.height);
    const std::string screen = std::to_string(c.width) + "x" + std::to_string(c.height);
    EXPECT_EQ(g.rowUnit, c.rowUnit) << screen;
    EXPECT_EQ(g.columnUnit, c.columnUnit) << screen;
    EXPECT_EQ(g.graphX, c.graphX) << screen;
    EXPECT_EQ(g.graphY, 75) << screen;
    EXPECT_EQ(g.graphWidth, c.graphWidth) << screen;
    EXPECT_EQ(g.graphHeight, c.graphHeight) << screen;
  }
}

TEST(LogGeometry, ColumnUnitChangesJustAboveEachStep) {
  const int cases[][2] = {{1, 1},    {600, 1},  {601, 2},  {900, 2},  {901, 3},  {1200, 3},  {1201, 4},
                          {1500, 4}, {1501, 5}, {1800, 5}, {1801, 6}, {2100, 6}, {2101, 7}, {32000, 7}};
  for (const auto& c : cases) EXPECT_EQ(columnUnitForWidth(c[0]), c[1]) << "width " << c[0];
}

TEST(LogGeometry, ScreenShorterThanTheMarginsStillGetsOneRowUnit) {
  for (int height : {0, 100, 150, 169}) EXPECT_EQ(logGeometry(1024, height).rowUnit, 1) << "height " << height;
  EXPECT_EQ(logGeometry(1024, 170).rowUnit, 1);
  EXPECT_EQ(logGeometry(1024, 190).rowUnit, 2);
}

TEST(GridLines, TwentyOneRowsThenSixMinuteLinesOverTheWholeGraph) {
  const auto lines = gridLines(logGeometry(1024, 768));
  ASSERT_EQ(lines.size(), 27u);
  for (int i = 0; i <= 20; ++i) {
    const GridLine& line = lines[i];
    EXPECT_EQ(line.x1, 0) << "row " << i;
    EXPECT_EQ(line.x2, 900) << "row " << i;
    EXPECT_EQ(line.y1, 30 * i) << "row " << i;
    EXPECT_EQ(line.y2, 30 * i) << "row " << i;
  }
  for (int k = 0; k <= 5; ++k) {
    const GridLine& line = lines[21 + k];
    EXPECT_EQ(line.x1, 180 * k) << "minute " << k;
    EXPECT_EQ(line.x2, 180 * k) << "minute " << k;
    EXPECT_EQ(line.y1, 0) << "minute " << k;
    EXPECT_EQ(line.y2, 600) << "minute " << k;
  }
}

TEST(GraphLabels, MinutesBelowAndPercentagesBesideTheGraph) {
  const auto labels = graphLabels(logGeometry(1024, 768));
  const TextLabel expected[] = {
      {"0min", 42, 680},  {"1 min", 222, 680}, {"2 min", 402, 680}, {"3 min", 582, 680}, {"4 min", 762, 680},
      {"5 min", 942, 680}, {"100%", 62, 67},   {"90%", 62, 127},    {"80%", 62, 187},    {"70%", 62, 247},
      {"60%", 62, 307},   {"50%", 62, 367},    {"40%", 62, 427},    {"30%", 62, 487},    {"20%", 62, 547},
      {"10%", 62, 607},   {"0%", 62, 667},
  };
  ASSERT_EQ(labels.size(), std::size(expected));
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_STREQ(labels[i].text, expected[i].text) << "label " << i;
    EXPECT_EQ(labels[i].x, expected[i].x) << expected[i].text;
    EXPECT_EQ(labels[i].y, expected[i].y) << expected[i].text;
  }
  const TextLabel file = logFileLabel(1024);
  EXPECT_STREQ(file.text, "Log file: signal_log.txt");
  EXPECT_EQ(file.x, 712);
  EXPECT_EQ(file.y, 25);
  EXPECT_EQ(closeButtonOrigin(1024).x, 988);
  EXPECT_EQ(closeButtonOrigin(1024).y, 14);
}

struct BarCase {
  int width, height, index;
  int32_t sample;
  int x, bottom, top;
};

TEST(SampleBar, RisesFromTheBottomLineByWholePixelsAPercent) {
  const BarCase cases[] = {
      {1024, 768, 0, 50, 0, 600, 300},      // 6 pixels a percent
      {1024, 768, 1, 100, 3, 600, 0},
      {1024, 768, 299, 1, 897, 600, 594},
      {1280, 1024, 10, 100, 40, 860, 60},   // 8 a percent: 100 reaches 800 of 860
      {1280, 1024, 10, 107, 40, 860, 4},    // above 100 still draws as the reading says
      {1024, 768, 5, 0, 15, 600, 600},      // no bar
      {1024, 768, 5, -20, 15, 600, 600},    // nothing below the bottom line
      {1024, 768, 5, 101, 15, 600, 0},      // held to the graph's top
      {1024, 768, 5, INT32_MAX, 15, 600, 0},
      {1024, 768, 5, INT32_MIN, 15, 600, 600},
  };
  for (const BarCase& c : cases) {
    const SampleBar bar = sampleBar(logGeometry(c.width, c.height), c.index, c.sample);
    EXPECT_EQ(bar.x, c.x) << "sample " << c.sample;
    EXPECT_EQ(bar.bottom, c.bottom) << "sample " << c.sample;
    EXPECT_EQ(bar.top, c.top) << "sample " << c.sample;
  }
}

TEST(LogLines, HeaderAndFormatLines) {
  std::string line;
  ASSERT_TRUE(formatHeaderLine({2026, 12, 9, 5, 7, 42}, &line));
  EXPECT_EQ(line, ";Quorvan signal level log (GMT 0) 09.12.2026  05:07\r\n");
  ASSERT_TRUE(formatFormatLine(0, &line));
  EXPECT_EQ(line, ";Format: Min:Sec Level\r\n\r\n");
  for (int32_t selector : {1, -1, 7}) {
    ASSERT_TRUE(formatFormatLine(selector, &line));
    EXPECT_EQ(line, ";Format: Min:Sec Quality\r\n\r\n") << "selector " << selector;
  }
}

TEST(LogLines, SampleLineHasMinuteSecondAndAtLeastTwoDigits) {
  const struct {
    UtcTime time;
    int32_t sample;
    const char* expected;
  } cases[] = {
      {{2026, 1, 1, 12, 3, 9}, 7, "03:09   07\r\n"},
      {{2026, 1, 1, 12, 59, 0}, 100, "59:00   100\r\n"},
      {{2026, 1, 1, 0, 0, 59}, 42, "00:59   42\r\n"},
  };
  for (const auto& c : cases) {
    std::string line;
    ASSERT_TRUE(formatSampleLine(c.time, c.sample, &line));
    EXPECT_EQ(line, c.expected);
  }
  std::string line;
  formatSampleLine({2026, 1, 1, 12, 3, 9}, 7, &line);
  EXPECT_EQ(line.size(), 12u);
}

TEST(LogLines, ALineThatDoesNotFitItsBufferIsNotWrittenAtAll) {
  std::string line = "stale";
  // 11 + 1 + 11 + 3 + 3 + 2 = 31 characters: fits 32 with its terminating zero.
  EXPECT_TRUE(formatSampleLine({0, 0, 0, 0, INT_MIN, INT_MIN}, 100, &line));
  EXPECT_EQ(line.size(), 31u);
  EXPECT_FALSE(formatSampleLine({0, 0, 0, 0, INT_MIN, INT_MIN}, 1000, &line));
  EXPECT_TRUE(line.empty());
  line = "stale";
  EXPECT_FALSE(formatHeaderLine({INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0}, &line));
  EXPECT_TRUE(line.empty());
  // A 53-character header needs a buffer of 54.
  EXPECT_TRUE(formatHeaderLine({2026, 12, 9, 5, 7, 0}, &line, 54));
  EXPECT_FALSE(formatHeaderLine({2026, 12, 9, 5, 7, 0}, &line, 53));
  EXPECT_FALSE(formatFormatLine(1, &line, 0));
}

constexpr UtcTime kOpening{2026, 12, 9, 12, 3, 0};
constexpr const char* kLevelHeader =
    ";Quorvan signal level log (GMT 0) 09.12.2026  12:03\r\n;Format: Min:Sec Level\r\n\r\n";

UtcTime secondsAfterOpening(int seconds) {
  UtcTime t = kOpening;
  t.minute += seconds / 60;
  t.second += seconds % 60;
  return t;
}

TEST(Recording, CreatesTheFileAnewWithHeaderAndFormatLine) {
  FakeFileSystem fs;
  fs.files["signal_log.txt"] = "the previous opening's log\r\n";
  SignalLogRecording recording;
  ASSERT_TRUE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  EXPECT_EQ(fs.files["signal_log.txt"], kLevelHeader);
  EXPECT_EQ(recording.index, 0);
  EXPECT_EQ(recording.samples.size(), 300u);
  EXPECT_EQ(recording.geometry.columnUnit, 3);

  SignalLogRecording quality;
  ASSERT_TRUE(startRecording(quality, fs, kOpening, 1, 1024, 768));
  EXPECT_EQ(fs.files["signal_log.txt"],
            ";Quorvan signal level log (GMT 0) 09.12.2026  12:03\r\n;Format: Min:Sec Quality\r\n\r\n");
}

TEST(Recording, FileThatCannotBeCreatedSetsNothingUp) {
  FakeFileSystem fs;
  fs.failCreate = true;
  SignalLogRecording recording;
  EXPECT_FALSE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  EXPECT_EQ(recording.file, nullptr);
  EXPECT_TRUE(recording.samples.empty());
  EXPECT_TRUE(fs.files.empty());
}

TEST(Recording, EachPositiveSampleIsWrittenAtOnceAndOthersWriteNothing) {
  FakeFileSystem fs;
  SignalLogRecording recording;
  ASSERT_TRUE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  std::string expected = kLevelHeader;
  const struct {
    int32_t sample;
    const char* line;
  } samples[] = {{7, "12:01   07\r\n"}, {0, ""}, {-3, ""}, {100, "12:04   100\r\n"}, {1, "12:05   01\r\n"}};
  int second = 1;
  for (const auto& s : samples) {
    UtcTime now = kOpening;
    now.minute = 12;
    now.second = second++;
    const SampleStep step = recordSample(recording, s.sample, now);
    expected += s.line;
    EXPECT_EQ(fs.files["signal_log.txt"], expected) << "after sample " << s.sample;
    EXPECT_FALSE(step.pageRestart);
    EXPECT_EQ(recording.samples[second - 2], s.sample);
  }
  EXPECT_EQ(recording.index, 5);
}

TEST(Recording, WriteErrorsAreIgnoredAndRecordingGoesOn) {
  FakeFileSystem fs;
  fs.failAppend = true;
  SignalLogRecording recording;
  ASSERT_TRUE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  for (int i = 0; i < 3; ++i) recordSample(recording, 50, secondsAfterOpening(i + 1));
  EXPECT_EQ(recording.index, 3);
  EXPECT_NE(recording.file, nullptr);
}

TEST(Recording, The301stSampleStartsANewPageWhileTheFileGoesOn) {
  FakeFileSystem fs;
  SignalLogRecording recording;
  ASSERT_TRUE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  int restarts = 0;
  for (int i = 0; i < 299; ++i) restarts += recordSample(recording, 10 + i % 90, secondsAfterOpening(i + 1)).pageRestart;
  EXPECT_EQ(restarts, 0);
  const SampleStep last = recordSample(recording, 60, secondsAfterOpening(300));
  EXPECT_EQ(last.bar.x, 897);  // drawn at the right edge before the page clears
  EXPECT_TRUE(last.pageRestart);
  EXPECT_EQ(recording.index, 0);
  const SampleStep first = recordSample(recording, 60, secondsAfterOpening(301));
  EXPECT_EQ(first.bar.x, 0);
  EXPECT_FALSE(first.pageRestart);
  EXPECT_EQ(recording.index, 1);

  const std::string& file = fs.files["signal_log.txt"];
  ASSERT_EQ(file.rfind(kLevelHeader, 0), 0u);
  std::string body = file.substr(std::string(kLevelHeader).size());
  size_t lines = 0;
  for (size_t at = 0; (at = body.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 301u);
  EXPECT_NE(body.find("08:00   60\r\n08:01   60\r\n"), std::string::npos);  // seconds 300 and 301
}

TEST(Recording, SelectorChangedWhileOpenChangesTheSamplesButNotTheFormatLine) {
  FakeFileSystem fs;
  SignalLogRecording recording;
  ASSERT_TRUE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  const int32_t level = 62, quality = 35;
  recordSample(recording, chooseReading(0, level, quality), secondsAfterOpening(1));
  recordSample(recording, chooseReading(1, level, quality), secondsAfterOpening(2));
  EXPECT_EQ(fs.files["signal_log.txt"], std::string(kLevelHeader) + "03:01   62\r\n03:02   35\r\n");
  EXPECT_EQ(chooseReading(-1, level, quality), quality);
}

TEST(Recording, StopClosesAndForgetsEverythingAndMayRunTwice) {
  FakeFileSystem fs;
  SignalLogRecording recording;
  ASSERT_TRUE(startRecording(recording, fs, kOpening, 0, 1024, 768));
  recordSample(recording, 9, secondsAfterOpening(1));
  stopRecording(recording);
  EXPECT_EQ(recording.file, nullptr);
  EXPECT_TRUE(recording.samples.empty());
  stopRecording(recording);
  EXPECT_EQ(recording.file, nullptr);
}

}  // namespace
