#include "transponders/satellite_list.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "transponders/transponder_file.h"

namespace {

char lower(unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

}  // namespace

int32_t positionFromFileName(std::string_view fileName) {
  int64_t value = 0;
  for (size_t i = 0; i < fileName.size() && fileName[i] >= '0' && fileName[i] <= '9'; ++i)
    value = std::min<int64_t>(value * 10 + (fileName[i] - '0'), std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(value);
}

bool isPositionFileName(std::string_view fileName) {
  std::string own;
  if (!transponderFileName(positionFromFileName(fileName), &own)) return false;
  own.erase(0, std::string_view(kTransponderFolder).size());
  if (own.size() != fileName.size()) return false;
  for (size_t i = 0; i < own.size(); ++i)
    if (lower(static_cast<unsigned char>(own[i])) != lower(static_cast<unsigned char>(fileName[i]))) return false;
  return true;
}

std::string positionField(int32_t position) {
  const bool east = position <= kLastEastPosition;
  // Tenths of a degree, in 64 bits: a file name's number may be far beyond 3600.
  const int64_t tenths = east ? int64_t{position} : int64_t{kFullCircle} - position;
  const uint64_t size = tenths < 0 ? 0 - static_cast<uint64_t>(tenths) : static_cast<uint64_t>(tenths);
  char buffer[40];
  std::snprintf(buffer, sizeof(buffer), "%s%llu.%llu", tenths < 0 ? "-" : "",
                static_cast<unsigned long long>(size / 10), static_cast<unsigned long long>(size % 10));
  char field[48];
  std::snprintf(field, sizeof(field), "%5s%c", buffer, east ? 'e' : 'w');
  return field;
}

SatelliteItem satelliteItem(std::string_view fileName, std::string_view fileBytes, bool nameFirst) {
  return namedSatelliteItem(fileName, satelliteNameText(readTransponderHeader(fileBytes)), nameFirst);
}

SatelliteItem namedSatelliteItem(std::string_view fileName, std::string name, bool nameFirst) {
  SatelliteItem item;
  item.position = positionFromFileName(fileName);
  const std::string field = positionField(item.position);
  const std::string_view separator = nameFirst ? "" : " - ";
  const size_t room = kSatelliteItemRoom - field.size() - separator.size();
  if (name.size() > room) {
    name.resize(room - 1);
    name += ' ';  // a cut name still ends with its space, as a whole one does
  }
  item.text = nameFirst ? name + field : field + std::string(separator) + name;
  return item;
}

std::string satelliteNameOfItem(std::string_view itemText, int32_t position) {
  const std::string field = positionField(position);
  const std::string positionFirst = field + " - ";
  if (itemText.starts_with(positionFirst)) itemText.remove_prefix(positionFirst.size());
  else if (itemText.ends_with(field)) itemText.remove_suffix(field.size());
  const size_t first = itemText.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = itemText.find_last_not_of(' ');
  return std::string(itemText.substr(first, last - first + 1));
}

bool satelliteItemBefore(const SatelliteItem& a, const SatelliteItem& b) {
  const size_t common = std::min(a.text.size(), b.text.size());
  for (size_t i = 0; i < common; ++i) {
    const char x = lower(static_cast<unsigned char>(a.text[i]));
    const char y = lower(static_cast<unsigned char>(b.text[i]));
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.text.size() < b.text.size();
}

SatelliteScan scanSatellites(FileSystem& fs, const std::vector<std::string>& fileNames, bool nameFirst,
                             int32_t currentPosition) {
  std::vector<FoundTransponderFile> files;
  for (const std::string& fileName : fileNames) files.push_back({fileName, 0, 0});
  return scanSatellites(fs, files, nameFirst, currentPosition, nullptr);
}

SatelliteScan scanSatellites(FileSystem& fs, const std::vector<FoundTransponderFile>& files, bool nameFirst,
                             int32_t currentPosition, SatelliteNameCache* cache) {
  SatelliteScan scan;
  SatelliteNameCache listed;
  std::string current;
  bool haveCurrent = false;
  std::string bytes;
  for (const FoundTransponderFile& file : files) {
    if (scan.items.size() == kMaxSatelliteFiles) break;
    if (!isPositionFileName(file.name)) continue;
    const std::string path = kTransponderFolder + file.name;
    const std::string* noted = cache != nullptr ? notedName(*cache, file) : nullptr;
    // A file we cannot use is passed over; the ones after it are still listed.
    // The file's start, in pieces, up to where its name is settled or the limit.
    if (path.size() > kScannedPathRoom ||
        (noted == nullptr &&
         !readFileStart(fs, path, kNameReadPiece, kNameReadLimit, transponderNameSettled, &bytes))) {
      ++scan.skipped;
      continue;
    }
    std::string name = noted != nullptr ? *noted : satelliteNameText(readTransponderHeader(bytes));
    name.resize(std::min(name.size(), kNotedNameLength));
    listed[file.name] = NotedName{file.size, file.writeTime, name};
    scan.items.push_back(namedSatelliteItem(file.name, std::move(name), nameFirst));
    if (scan.items.back().position == currentPosition) {
      current = scan.items.back().text;
      haveCurrent = true;
    }
  }
  if (cache != nullptr) *cache = std::move(listed);
  std::stable_sort(scan.items.begin(), scan.items.end(), satelliteItemBefore);
  if (haveCurrent) {
    for (size_t i = 0; i < scan.items.size(); ++i) {
      if (scan.items[i].text == current && scan.items[i].position == currentPosition) {
        scan.selected = static_cast<int>(i);
        break;
      }
    }
  }
  return scan;
}
