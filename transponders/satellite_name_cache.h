// The satellite names noted from the last scan, kept in the program folder, so that a start-up
// need not open every transponder file again: under Wine each open is a round trip to the server,
// and with some two hundred files those opens were a sixth of the start-up. A noted name counts
// only while its file's size and last write time are still the ones it was noted with.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "core/file_io.h"

constexpr const char* kSatelliteNameCacheFile = "satnames.dat";
constexpr size_t kSatelliteNameCacheLimit = 512 * 1024;  // a larger file is not ours: it is ignored
constexpr size_t kNotedNameLength = 128;  // longer names are noted cut: the list item cuts them shorter still

// A transponder file as the folder search reports it.
struct FoundTransponderFile {
  std::string name;
  uint64_t size = 0;
  uint64_t writeTime = 0;
};

struct NotedName {
  uint64_t size = 0;
  uint64_t writeTime = 0;
  std::string name;  // the satellite's name as the file gives it (satelliteNameText)
  bool operator==(const NotedName&) const = default;
};

// By file name, as the folder search gives it.
using SatelliteNameCache = std::map<std::string, NotedName>;

// The noted names; empty when bytes are not a whole note of ours (a damaged note is not trusted).
SatelliteNameCache readSatelliteNameCache(std::string_view bytes);
std::string composeSatelliteNameCache(const SatelliteNameCache& cache);

// The note in the current folder; empty when there is none, it cannot be read or is too large.
SatelliteNameCache loadSatelliteNameCache(FileSystem& fs);
// Replaces the note whole (or leaves the old one); false when it cannot be written.
bool saveSatelliteNameCache(FileSystem& fs, const SatelliteNameCache& cache);

// The name noted for the file, or nullptr when none is noted for its present size and time.
const std::string* notedName(const SatelliteNameCache& cache, const FoundTransponderFile& file);
