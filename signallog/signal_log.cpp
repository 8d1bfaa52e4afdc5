#include "signallog/signal_log.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

// Pixels above which each column unit applies, widest first.
struct ColumnStep {
  int widthAbove;
  int columnUnit;
};
constexpr ColumnStep kColumnSteps[] = {{2100, 7}, {1800, 6}, {1500, 5}, {1200, 4}, {900, 3}, {600, 2}};
// Narrow screens are left open by the table; one pixel a second still fits 301 pixels.
constexpr int kNarrowColumnUnit = 1;
constexpr int kRowMargin = 150;
constexpr int kLabelLeftShift = 20;
constexpr int kTimeLabelGap = 80;    // below the graph's top edge at 20r
constexpr int kPercentLabelTop = 67;
constexpr int kCloseButtonRightMargin = 36;
constexpr int kCloseButtonTop = 14;
constexpr int kLogFileLabelShift = 200;

constexpr const char* kTimeLabels[kGridMinutes + 1] = {"0min", "1 min", "2 min", "3 min", "4 min", "5 min"};
constexpr const char* kPercentLabels[11] = {"100%", "90%", "80%", "70%", "60%", "50%",
                                             "40%",  "30%", "20%", "10%", "0%"};

// printf into a buffer of capacity characters; false when the text (and its zero) does not fit.
bool formatLine(std::string* line, size_t capacity, const char* format, ...) {
  line->clear();
  if (capacity == 0) return false;
  std::vector<char> buffer(capacity);
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(buffer.data(), capacity, format, arguments);
  va_end(arguments);
  if (length < 0 || static_cast<size_t>(length) >= capacity) return false;
  line->assign(buffer.data(), static_cast<size_t>(length));
  return true;
}

void writeLine(WritableFile& file, const std::string& line) { file.append(line.data(), line.size()); }

}  // namespace

int columnUnitForWidth(int screenWidth) {
  for (const ColumnStep& step : kColumnSteps)
    if (screenWidth > step.widthAbove) return step.columnUnit;
  return kNarrowColumnUnit;
}

LogGeometry logGeometry(int screenWidth, int screenHeight) {
  LogGeometry geometry{};
  // A screen too short for the margins still gets a graph one row unit high.
  const int rowUnit = std::max(1, (screenHeight - kRowMargin) / kGridRows);
  const int columnUnit = columnUnitForWidth(screenWidth);
  geometry.rowUnit = static_cast<int16_t>(rowUnit);
  geometry.columnUnit = static_cast<int16_t>(columnUnit);
  geometry.graphX = static_cast<int16_t>((screenWidth - kSamplesPerPage * columnUnit) / 2);
  geometry.graphY = kGraphTop;
  geometry.graphWidth = static_cast<int16_t>(kSamplesPerPage * columnUnit + 1);
  geometry.graphHeight = static_cast<int16_t>(kGridRows * rowUnit + 1);
  return geometry;
}

std::array<GridLine, kGridLineCount> gridLines(const LogGeometry& g) {
  std::array<GridLine, kGridLineCount> lines{};
  const int right = kSamplesPerPage * g.columnUnit;
  const int bottom = kGridRows * g.rowUnit;
  size_t n = 0;
  for (int i = 0; i <= kGridRows; ++i) lines[n++] = {0, i * g.rowUnit, right, i * g.rowUnit};
  const int minute = kSamplesPerPage / kGridMinutes * g.columnUnit;
  for (int k = 0; k <= kGridMinutes; ++k) lines[n++] = {k * minute, 0, k * minute, bottom};
  return lines;
}

std::array<TextLabel, kGraphLabelCount> graphLabels(const LogGeometry& g) {
  std::array<TextLabel, kGraphLabelCount> labels{};
  const int minute = kSamplesPerPage / kGridMinutes * g.columnUnit;
  const int timeY = kGridRows * g.rowUnit + kTimeLabelGap;
  size_t n = 0;
  for (int k = 0; k <= kGridMinutes; ++k) labels[n++] = {kTimeLabels[k], g.graphX + k * minute - kLabelLeftShift, timeY};
  // One label every other row: 10 % steps.
  for (int k = 0; k <= 10; ++k) labels[n++] = {kPercentLabels[k], g.graphX, kPercentLabelTop + 2 * g.rowUnit * k};
  return labels;
}

TextLabel logFileLabel(int screenWidth) { return {kLogFileLabel, screenWidth / 2 + kLogFileLabelShift, kTitleY}; }

Point closeButtonOrigin(int screenWidth) { return {screenWidth - kCloseButtonRightMargin, kCloseButtonTop}; }

SampleBar sampleBar(const LogGeometry& g, int index, int32_t sample) {
  const int bottom = kGridRows * g.rowUnit;
  const int64_t perPercent = bottom / 100;
  const int64_t height = std::clamp<int64_t>(perPercent * sample, 0, bottom);
  return {index * g.columnUnit, bottom, bottom - static_cast<int>(height)};
}

bool formatHeaderLine(const UtcTime& t, std::string* line, size_t capacity) {
  return formatLine(line, capacity, ";Quorvan signal level log (GMT 0) %.02d.%.02d.%.04d  %.02d:%.02d\r\n", t.day,
                    t.month, t.year, t.hour, t.minute);
}

bool formatFormatLine(int32_t readingSelector, std::string* line, size_t capacity) {
  return formatLine(line, capacity,
                    readingSelector != 0 ? ";Format: Min:Sec Quality\r\n\r\n" : ";Format: Min:Sec Level\r\n\r\n");
}

bool formatSampleLine(const UtcTime& t, int32_t sample, std::string* line, size_t capacity) {
  return formatLine(line, capacity, "%.02d:%.02d   %.02d\r\n", t.minute, t.second, static_cast<int>(sample));
}

bool startRecording(SignalLogRecording& recording, FileSystem& fs, const UtcTime& now, int32_t readingSelector,
                    int screenWidth, int screenHeight) {
  recording.file = fs.createFile(kSignalLogFileName);
  if (!recording.file) return false;
  std::string line;
  if (formatHeaderLine(now, &line)) writeLine(*recording.file, line);
  if (formatFormatLine(readingSelector, &line)) writeLine(*recording.file, line);
  recording.geometry = logGeometry(screenWidth, screenHeight);
  recording.samples.assign(kSamplesPerPage, 0);
  recording.index = 0;
  return true;
}

SampleStep recordSample(SignalLogRecording& recording, int32_t sample, const UtcTime& now) {
  if (recording.samples.size() != kSamplesPerPage) recording.samples.assign(kSamplesPerPage, 0);
  recording.samples[recording.index] = sample;
  std::string line;
  if (sample > 0 && recording.file && formatSampleLine(now, sample, &line)) writeLine(*recording.file, line);
  SampleStep step{sampleBar(recording.geometry, recording.index, sample), false};
  if (++recording.index == kSamplesPerPage) {
    recording.index = 0;
    step.pageRestart = true;
  }
  return step;
}

void stopRecording(SignalLogRecording& recording) {
  if (recording.file) {
    recording.file->close();
    recording.file.reset();
  }
  recording.samples.clear();
  recording.samples.shrink_to_fit();
  recording.index = 0;
}
