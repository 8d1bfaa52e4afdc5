#include "transponders/transponder_file.h"

#include <algorithm>
#include <cstdio>

#include "transponders/transponder_parse.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLf = "\n";

size_t lineEndAt(std::string_view bytes, size_t from) {
  while (from < bytes.size() && bytes[from] != '\r' && bytes[from] != '\n') ++from;
  return from;
}

// Length of the line end starting at pos: CR LF, CR or LF; 0 at the end of the bytes.
size_t lineEndLength(std::string_view bytes, size_t pos) {
  if (pos >= bytes.size()) return 0;
  if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') return 2;
  return 1;
}

// The style of the file's first line end; CR LF when it has none or uses CR alone.
std::string_view fileLineEnd(std::string_view bytes) {
  const size_t end = bytes.find_first_of("\r\n");
  return end != std::string_view::npos && bytes[end] == '\n' ? kLf : kCrLf;
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A line holding only the heading (any letter case, blanks after it allowed).
bool isHeadingLine(std::string_view line, std::string_view heading) {
  if (line.size() < heading.size()) return false;
  for (size_t i = 0; i < heading.size(); ++i)
    if (lower(line[i]) != lower(heading[i])) return false;
  return isBlank(line.substr(heading.size()));
}

// Start of the first line that is the heading, or npos.
size_t findHeadingLine(std::string_view bytes, std::string_view heading) {
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t end = lineEndAt(bytes, pos);
    if (isHeadingLine(bytes.substr(pos, end - pos), heading)) return pos;
    pos = end + lineEndLength(bytes, end);
  }
  return std::string_view::npos;
}

void readLines(TransponderFile& file, std::string_view bytes, size_t pos) {
  std::vector<size_t> starts;  // where each line begins, to hand blank lines to a trailing section
  std::vector<bool> blank;
  const size_t expectedLines = static_cast<size_t>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end(), '\n')) + 1;
  file.lines.reserve(expectedLines);
  starts.reserve(expectedLines);
  blank.reserve(expectedLines);
  bool entrySeen = false;
  while (pos < bytes.size()) {
    const size_t end = lineEndAt(bytes, pos);
    const size_t next = end + lineEndLength(bytes, end);
    const std::string_view line = bytes.substr(pos, end - pos);
    const std::string_view ending = bytes.substr(end, next - end);
    if (!line.empty() && line[0] == '[') {
      // Blank lines just before the section go with it rather than showing as empty items.
      while (!blank.empty() && blank.back()) {
        pos = starts.back();
        starts.pop_back();
        blank.pop_back();
        file.lines.pop_back();
      }
      file.tail = bytes.substr(pos);
      return;
    }
    TransponderLine entry;
    entry.lineEnd = ending;
    const size_t equals = line.find('=');
    if (!line.empty() && line[0] == ';') {
      entry.text = line;
    } else if (equals != std::string_view::npos) {
      entry.isEntry = true;
      entry.text = line.substr(equals + 1);
      entrySeen = true;
    } else if (isBlank(line) && entrySeen) {
      entry.isEntry = true;  // a blank line among the entries is an empty entry
    } else {
      entry.text = line;     // text without a key is kept, never turned into an empty entry
    }
    starts.push_back(pos);
    blank.push_back(isBlank(line));
    file.lines.push_back(entry);
    pos = next;
  }
}

std::string positionDigits(int32_t position) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%04d", static_cast<int>(position));
  return buffer;
}

// What a file without a complete header needs so that its entries can be found again.
std::string missingHeaderLines(const TransponderFile& file, int32_t position) {
  if (file.equalsInHeader >= 3) return {};
  const std::string le(file.lineEnd);
  std::string text;
  const std::string_view header = file.header;
  if (!header.empty() && header.back() != '\r' && header.back() != '\n') text += le;
  if (file.equalsInHeader == 0) {
    if (!file.hasSatTypeLine) text += "[SATTYPE]" + le;
    text += "1=" + positionDigits(position) + le;
  }
  if (file.equalsInHeader <= 1) text += "2=" + le;
  bool dvbAfterName = false;
  if (file.equalsInHeader == 2) {
    const size_t nameEnd = static_cast<size_t>(file.name.data() - header.data()) + file.name.size();
    dvbAfterName = findHeadingLine(header.substr(nameEnd), "[DVB]") != std::string_view::npos;
  }
  if (!dvbAfterName) text += "[DVB]" + le;
  return text + "0=";
}

template <typename Sink>
void emitFile(const TransponderFile& file, const std::string& missing, Sink&& sink) {
  sink(file.header);
  sink(missing);
  sink(std::to_string(transponderEntryCount(file)));
  sink(file.lineEnd);
  size_t key = 0;
  for (size_t i = 0; i < file.lines.size(); ++i) {
    const TransponderLine& line = file.lines[i];
    if (line.isEntry) {
      sink(std::to_string(++key));
      sink("=");
      sink(line.text);
      sink(file.lineEnd);
      continue;
    }
    sink(line.text);
    const bool last = i + 1 == file.lines.size() && file.tail.empty();
    sink(!line.lineEnd.empty() || last ? line.lineEnd : file.lineEnd);
  }
  sink(file.tail);
}

}  // namespace

namespace {

TransponderFile readFile(std::string_view bytes, bool withLines) {
  TransponderFile file;
  file.lineEnd = fileLineEnd(bytes);
  file.header = bytes;
  size_t start = findHeadingLine(bytes, "[SATTYPE]");
  file.hasSatTypeLine = start != std::string_view::npos;
  if (!file.hasSatTypeLine) start = 0;

  const size_t first = bytes.find('=', start);
  if (first == std::string_view::npos) return file;
  file.equalsInHeader = 1;
  const size_t second = bytes.find('=', first + 1);
  if (second == std::string_view::npos) return file;
  file.equalsInHeader = 2;
  // The name is the rest of its line, a further "=" included.
  const size_t nameEnd = lineEndAt(bytes, second + 1);
  file.name = bytes.substr(second + 1, nameEnd - second - 1);
  file.nameHasLineEnd = nameEnd < bytes.size();
  const size_t third = bytes.find('=', nameEnd + lineEndLength(bytes, nameEnd));
  if (third == std::string_view::npos) return file;
  file.equalsInHeader = 3;
  file.header = bytes.substr(0, third + 1);
  // The rest of the count line is rewritten; the entries start on the next line.
  const size_t countEnd = lineEndAt(bytes, third + 1);
  if (withLines) readLines(file, bytes, countEnd + lineEndLength(bytes, countEnd));
  return file;
}

}  // namespace

TransponderFile readTransponderFile(std::string_view bytes) { return readFile(bytes, true); }

TransponderFile readTransponderHeader(std::string_view bytes) { return readFile(bytes, false); }

bool transponderNameSettled(std::string_view bytesSoFar) {
  const size_t start = findHeadingLine(bytesSoFar, "[SATTYPE]");
  if (start == std::string_view::npos) return false;
  const size_t first = bytesSoFar.find('=', start);
  const size_t second = first == std::string_view::npos ? first : bytesSoFar.find('=', first + 1);
  return second != std::string_view::npos && lineEndAt(bytesSoFar, second + 1) < bytesSoFar.size();
}

std::string satelliteNameText(const TransponderFile& file) {
  std::string name(file.name.substr(0, file.name.find('\0')));
  if (file.nameHasLineEnd) name += ' ';
  return name;
}

std::string transponderItemText(std::string_view entry) {
  std::string item;
  for (char c : entry) {
    if (c == '\0' || item.size() == kTransponderItemLength) break;
    if (c != '=') item += c;
  }
  return item;
}

std::vector<std::string> transponderItems(const TransponderFile& file) {
  std::vector<std::string> items;
  items.reserve(file.lines.size());
  for (const TransponderLine& line : file.lines)
    if (line.isEntry) items.push_back(transponderItemText(line.text));
  return items;
}

size_t transponderEntryCount(const TransponderFile& file) {
  size_t count = 0;
  for (const TransponderLine& line : file.lines) count += line.isEntry ? 1 : 0;
  return count;
}

int selectedTransponderIndex(const std::vector<std::string>& items, int32_t frequencyKHz) {
  int selected = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    int64_t value = leadingInteger(items[i]);
    // Below 15000, not 15001 as the parse has it: an entry of 15000 is never selected.
    if (value < 15000) value *= 1000;
    if (value == frequencyKHz) selected = static_cast<int>(i);
  }
  return selected;
}

void appendTransponderEntry(TransponderFile& file, std::string_view text) {
  TransponderLine line;
  line.isEntry = true;
  line.text = text;
  line.lineEnd = file.lineEnd;
  file.lines.push_back(line);
}

bool removeTransponderEntry(TransponderFile& file, size_t listIndex, std::string_view itemText) {
  std::vector<size_t> entryLines;
  for (size_t i = 0; i < file.lines.size(); ++i)
    if (file.lines[i].isEntry) entryLines.push_back(i);
  auto shows = [&](size_t entry) { return transponderItemText(file.lines[entryLines[entry]].text) == itemText; };
  size_t chosen = entryLines.size();
  if (listIndex < entryLines.size() && shows(listIndex)) {
    chosen = listIndex;
  } else {
    for (size_t entry = 0; entry < entryLines.size() && chosen == entryLines.size(); ++entry)
      if (shows(entry)) chosen = entry;
  }
  if (chosen == entryLines.size()) return false;
  file.lines.erase(file.lines.begin() + static_cast<std::ptrdiff_t>(entryLines[chosen]));
  return true;
}

std::string composeTransponderFile(const TransponderFile& file, int32_t position) {
  const std::string missing = missingHeaderLines(file, position);
  size_t size = 0;
  emitFile(file, missing, [&](std::string_view part) { size += part.size(); });
  std::string bytes;
  bytes.reserve(size);
  emitFile(file, missing, [&](std::string_view part) { bytes += part; });
  return bytes;
}

bool transponderFileName(int32_t position, std::string* name) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof(buffer), "%s%04d.ini", kTransponderFolder, static_cast<int>(position));
  if (length < 0 || static_cast<size_t>(length) > kTransponderFileNameRoom) return false;
  *name = buffer;
  return true;
}
