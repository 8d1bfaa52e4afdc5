// The signal log: where the full-screen graph goes on a given screen, what the log file
// holds, and what each one-second sample writes and draws. No Windows here.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "resources/resource_ids.h"

constexpr const char* kSignalLogFileName = "signal_log.txt";
constexpr const char* kLogFileLabel = "Log file: signal_log.txt";
constexpr int kSamplesPerPage = 300;  // five minutes at one a second
constexpr int kSampleTimerId = IDT_SIGNAL_SAMPLE;
constexpr unsigned kSamplePeriodMs = 1000;
constexpr int kCloseButtonId = IDC_OK;
constexpr int kCloseButtonSize = 20;
constexpr int kGridRows = 20;        // 5 % a row
constexpr int kGridMinutes = 5;      // one vertical line a minute, plus the left edge
constexpr int kGraphTop = 75;
constexpr int kTitleY = 25;          // satellite, transponder and log file texts
constexpr int kTransponderTextOffset = 250;
// Formatting buffers; a line that does not fit is not written at all.
constexpr size_t kHeaderBufferSize = 64;
constexpr size_t kSampleBufferSize = 32;

// Broken-down UTC time as the system gives it.
struct UtcTime {
  int year, month, day, hour, minute, second;
};

// Everything is in pixels of the full-screen window.
struct LogGeometry {
  int16_t rowUnit;      // r: pixels for 5 %
  int16_t columnUnit;   // c: pixels for one second, also the trace pen's width
  int16_t graphX;       // x0: left edge of the graph
  int16_t graphY;       // always kGraphTop
  int16_t graphWidth;   // 300c + 1
  int16_t graphHeight;  // 20r + 1
};

// Column unit by screen width: 7 above 2100 down to 2 for 601..900; narrower screens get 1.
int columnUnitForWidth(int screenWidth);
// r = (height - 150) / 20 (at least 1), c by width, x0 = (width - 300c) / 2.
LogGeometry logGeometry(int screenWidth, int screenHeight);

struct GridLine {
  int x1, y1, x2, y2;
};
// 21 horizontal lines, then 6 vertical ones, in graph-image coordinates.
constexpr size_t kGridLineCount = (kGridRows + 1) + (kGridMinutes + 1);
std::array<GridLine, kGridLineCount> gridLines(const LogGeometry& geometry);

struct TextLabel {
  const char* text;
  int x, y;
};
// "0min" .. "5 min" under the graph, then "100%" .. "0%" beside it, in window coordinates.
constexpr size_t kGraphLabelCount = (kGridMinutes + 1) + 11;
std::array<TextLabel, kGraphLabelCount> graphLabels(const LogGeometry& geometry);
// Where "Log file: signal_log.txt" goes, and the top-left corner of the "X" button.
TextLabel logFileLabel(int screenWidth);
struct Point {
  int x, y;
};
Point closeButtonOrigin(int screenWidth);

// The vertical bar of one sample, in graph-image coordinates: from (x, bottom) up to (x, top).
struct SampleBar {
  int x, bottom, top;
};
// Bars rise 20r/100 pixels a percent (truncated). Values outside 0..100 are held to the graph,
// so a wild reading can neither overflow nor draw outside it; 0 and below give top == bottom.
SampleBar sampleBar(const LogGeometry& geometry, int index, int32_t sample);

// The lines of the log file, CR LF ended. Each returns false, leaving line empty, when the
// text would not fit its buffer (capacity includes the terminating zero).
bool formatHeaderLine(const UtcTime& time, std::string* line, size_t capacity = kHeaderBufferSize);
// The format line names the reading chosen at opening and carries the blank line after it.
bool formatFormatLine(int32_t readingSelector, std::string* line, size_t capacity = kHeaderBufferSize);
bool formatSampleLine(const UtcTime& time, int32_t sample, std::string* line,
                      size_t capacity = kSampleBufferSize);

// The reading the log follows: quality when the selector is non-zero, else level.
inline int32_t chooseReading(int32_t readingSelector, int32_t level, int32_t quality) {
  return readingSelector != 0 ? quality : level;
}

// One opening of the log window: the file, the page of samples and its index.
struct SignalLogRecording {
  std::unique_ptr<WritableFile> file;
  std::vector<int32_t> samples;  // kSamplesPerPage while recording
  int index = 0;
  LogGeometry geometry{};
};

// Creates the log file anew and writes the header and format lines, each with its own write.
// False when the file cannot be created (nothing else is then set up); write errors are ignored.
bool startRecording(SignalLogRecording& recording, FileSystem& fs, const UtcTime& now, int32_t readingSelector,
                    int screenWidth, int screenHeight);

// What the window must draw for one sample.
struct SampleStep {
  SampleBar bar;
  bool pageRestart;  // the page is full: clear the graph, draw the grid again, copy it whole
};
// Stores the sample, writes its line when it is above 0, and moves to the next index,
// back to 0 after the 300th.
SampleStep recordSample(SignalLogRecording& recording, int32_t sample, const UtcTime& now);

// Closes the file and frees the samples; safe to call twice.
void stopRecording(SignalLogRecording& recording);
