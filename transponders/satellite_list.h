// The satellite list: one item per transponder file, in position or name order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.h"
#include "transponders/satellite_name_cache.h"

constexpr size_t kMaxSatelliteFiles = 500;     // listed by one scan
constexpr size_t kSatelliteItemRoom = 127;     // the item text's buffer holds 128 bytes
constexpr size_t kScannedPathRoom = 255;       // "Transponders\" and the file name
constexpr size_t kNameReadPiece = 4096;        // the scan reads a file's start in pieces of this
constexpr size_t kNameReadLimit = 64 * 1024;   // and names it from this much when still unsettled
constexpr int32_t kLastEastPosition = 1800;    // 1800 is 180.0e, 1801 is 179.9w
constexpr int32_t kFullCircle = 3600;          // tenths of a degree

// The position number: the file name's leading decimal digits (none gives 0).
int32_t positionFromFileName(std::string_view fileName);
// The file's name is the one its position's file is read by ("%04d.ini", in any letter case).
// Others (390.ini, "0192 - Copy.ini") would be listed as one file and read and edited as another.
bool isPositionFileName(std::string_view fileName);
// " 19.2e", "  0.8w", "180.0e": degrees with one decimal right-aligned in five, then e or w.
std::string positionField(int32_t position);

struct SatelliteItem {
  std::string text;
  int32_t position = 0;  // the item data
};

// The item for one file. nameFirst: "name position" instead of "position - name". A name
// too long for the item is cut so that the item still ends properly.
SatelliteItem satelliteItem(std::string_view fileName, std::string_view fileBytes, bool nameFirst);
// The same from the satellite's name (satelliteNameText) instead of the file's bytes.
SatelliteItem namedSatelliteItem(std::string_view fileName, std::string name, bool nameFirst);

// The satellite's name in an item of either order: the text without its position field.
std::string satelliteNameOfItem(std::string_view itemText, int32_t position);

// The list control's order: case-insensitive by text.
bool satelliteItemBefore(const SatelliteItem& a, const SatelliteItem& b);

struct SatelliteScan {
  std::vector<SatelliteItem> items;  // sorted as the list shows them
  int selected = -1;                 // the item of the current satellite, or -1
  size_t skipped = 0;                // files that could not be read or whose path is too long
};

// Reads the files (names as found in the folder, in that order) into items, each only as far as
// its name line (see transponderNameSettled), so that a large file costs no more than a small one.
// A file that cannot be read is skipped, one not named by its position left out; at most 500 are listed. The item whose position equals
// currentPosition is selected (the last such file found).
SatelliteScan scanSatellites(FileSystem& fs, const std::vector<std::string>& fileNames, bool nameFirst,
                             int32_t currentPosition);
// The same for the files as the folder search found them, taking a name from cache instead of the
// file where one is noted for the file's present size and time. The cache is then made to hold
// exactly the files listed, each with its name.
SatelliteScan scanSatellites(FileSystem& fs, const std::vector<FoundTransponderFile>& files, bool nameFirst,
                             int32_t currentPosition, SatelliteNameCache* cache);
