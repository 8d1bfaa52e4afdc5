#include "transponders/satellite_name_cache.h"

#include <charconv>

namespace {

constexpr std::string_view kHeader = "satnames 1\n";

// A decimal field ended by a tab; advances past the tab.
bool takeNumber(std::string_view& rest, uint64_t* value) {
  const size_t tab = rest.find('\t');
  if (tab == std::string_view::npos || tab == 0) return false;
  const char* end = rest.data() + tab;
  const auto [stop, error] = std::from_chars(rest.data(), end, *value);
  if (error != std::errc() || stop != end) return false;
  rest.remove_prefix(tab + 1);
  return true;
}

}  // namespace

SatelliteNameCache readSatelliteNameCache(std::string_view bytes) {
  SatelliteNameCache cache;
  if (bytes.substr(0, kHeader.size()) != kHeader) return {};
  std::string_view rest = bytes.substr(kHeader.size());
  // Each entry: file name, size, write time and name length, tab-ended, then the name's bytes and
  // a line feed. The name goes by its length: a file may give one with tabs or line ends in it.
  while (!rest.empty()) {
    const size_t tab = rest.find('\t');
    if (tab == std::string_view::npos || tab == 0) return {};
    const std::string fileName(rest.substr(0, tab));
    rest.remove_prefix(tab + 1);
    NotedName noted;
    uint64_t length = 0;
    if (!takeNumber(rest, &noted.size) || !takeNumber(rest, &noted.writeTime) || !takeNumber(rest, &length))
      return {};
    if (length > kNotedNameLength || rest.size() < length + 1 || rest[length] != '\n') return {};
    noted.name.assign(rest.substr(0, length));
    rest.remove_prefix(length + 1);
    cache[fileName] = std::move(noted);
  }
  return cache;
}

std::string composeSatelliteNameCache(const SatelliteNameCache& cache) {
  std::string bytes(kHeader);
  for (const auto& [fileName, noted] : cache) {
    const std::string_view name = std::string_view(noted.name).substr(0, kNotedNameLength);
    bytes += fileName + '\t' + std::to_string(noted.size) + '\t' + std::to_string(noted.writeTime) + '\t' +
             std::to_string(name.size()) + '\t';
    bytes += name;
    bytes += '\n';
  }
  return bytes;
}

SatelliteNameCache loadSatelliteNameCache(FileSystem& fs) {
  std::string bytes;
  const auto never = [](std::string_view) { return false; };
  if (!readFileStart(fs, kSatelliteNameCacheFile, 16 * 1024, kSatelliteNameCacheLimit + 1, never, &bytes) ||
      bytes.size() > kSatelliteNameCacheLimit)
    return {};
  return readSatelliteNameCache(bytes);
}

bool saveSatelliteNameCache(FileSystem& fs, const SatelliteNameCache& cache) {
  return replaceFileContents(fs, kSatelliteNameCacheFile, composeSatelliteNameCache(cache));
}

const std::string* notedName(const SatelliteNameCache& cache, const FoundTransponderFile& file) {
  const auto noted = cache.find(file.name);
  if (noted == cache.end() || noted->second.size != file.size || noted->second.writeTime != file.writeTime)
    return nullptr;
  return &noted->second.name;
}
