#include "tunersim/sim_dish.h"

#include <algorithm>
#include <charconv>

namespace tunersim {

namespace {

constexpr int32_t kHalfCircleTenths = 1800;

std::string_view nextWord(std::string_view& line) {
  const size_t start = line.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    line = {};
    return {};
  }
  line.remove_prefix(start);
  const size_t end = std::min(line.find_first_of(" \t\r"), line.size());
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(end);
  return word;
}

// "19.2E", "13E", "5.0w": at most one decimal, 0 to 180 degrees.
bool readPosition(std::string_view word, int32_t* positionNumber) {
  if (word.size() < 2) return false;
  const char side = static_cast<char>(word.back() & ~0x20);
  if (side != 'E' && side != 'W') return false;
  word.remove_suffix(1);
  int32_t degrees = 0;
  int32_t tenth = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), degrees);
  if (error != std::errc() || end == word.data()) return false;
  const std::string_view rest(end, static_cast<size_t>(word.data() + word.size() - end));
  if (rest.size() == 2 && rest[0] == '.' && rest[1] >= '0' && rest[1] <= '9') tenth = rest[1] - '0';
  else if (!rest.empty()) return false;
  const int32_t tenths = degrees * 10 + tenth;
  if (degrees < 0 || tenths > kHalfCircleTenths) return false;
  *positionNumber = side == 'E' || tenths == 0 ? tenths : 2 * kHalfCircleTenths - tenths;
  return true;
}

bool readOption(std::string_view word, TableOptions& options) {
  if (word == "no-nit") options.noNit = true;
  else if (word == "others-first") options.otherPositionsFirst = true;
  else if (word == "stale-s2") options.staleSystem = true;
  else if (word == "nit-other") options.nitOther = true;
  else return false;
  return true;
}

bool parseDishLine(std::string_view line, DishLine* out) {
  const std::string_view time = nextWord(line);
  const auto [end, error] = std::from_chars(time.data(), time.data() + time.size(), out->ms);
  if (error != std::errc() || end != time.data() + time.size() || out->ms < 0) return false;
  if (nextWord(line) != "dish" || !readPosition(nextWord(line), &out->positionNumber)) return false;
  for (std::string_view word = nextWord(line); !word.empty(); word = nextWord(line))
    if (!readOption(word, out->options)) return false;
  return true;
}

}  // namespace

std::vector<DishLine> parseDishLines(std::string_view script) {
  std::vector<DishLine> lines;
  while (!script.empty()) {
    const size_t end = script.find('\n');
    const std::string_view line = script.substr(0, end);
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    DishLine parsed;
    if (parseDishLine(line, &parsed)) lines.push_back(parsed);
  }
  std::stable_sort(lines.begin(), lines.end(), [](const DishLine& a, const DishLine& b) { return a.ms < b.ms; });
  return lines;
}

std::optional<DishLine> dishAt(const std::vector<DishLine>& lines, int64_t msSinceTune) {
  std::optional<DishLine> found;
  for (const DishLine& line : lines) {
    if (line.ms > msSinceTune) break;
    found = line;
  }
  return found;
}

}  // namespace tunersim
