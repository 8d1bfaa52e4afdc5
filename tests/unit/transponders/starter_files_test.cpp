// The Transponders folder shipped with the program: every file must list and parse.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "transponders/satellite_list.h"
#include "transponders/transponder_file.h"
#include "transponders/transponder_parse.h"

namespace {

std::filesystem::path starterFolder() {
  return std::filesystem::path(__FILE__).parent_path() / "../../../transponders/starter";
}

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

TEST(StarterFiles, EverySatelliteListsAndEveryEntryParses) {
  int files = 0;
  int cBand = 0;
  int entries = 0;
  int dvbS2 = 0;
  for (const auto& found : std::filesystem::directory_iterator(starterFolder())) {
    if (found.path().extension() != ".ini") continue;
    ++files;
    const std::string fileName = found.path().filename().string();
    const std::string bytes = readAll(found.path());
    const TransponderFile file = readTransponderFile(bytes);
    const int32_t position = positionFromFileName(fileName);
    EXPECT_LT(position, 3600) << fileName;
    EXPECT_EQ(fileName.size(), 8u) << "named %04d.ini";
    EXPECT_EQ(file.equalsInHeader, 3) << fileName;
    EXPECT_GT(file.name.size(), 3u) << fileName;
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << fileName << " uses CR LF";
    EXPECT_TRUE(file.tail.empty()) << fileName;
    // The count line holds the number of entries.
    const std::vector<std::string> items = transponderItems(file);
    const size_t countAt = file.header.size();
    EXPECT_EQ(leadingInteger(std::string_view(bytes).substr(countAt)), static_cast<int32_t>(items.size())) << fileName;
    EXPECT_GE(items.size(), 1u) << fileName;
    for (const TransponderLine& line : file.lines) {
      EXPECT_TRUE(line.isEntry) << fileName << ": " << line.text;
      EXPECT_LE(line.text.size(), kTransponderItemLength) << fileName << ": listed whole";
      dvbS2 += line.text.ends_with(",S2") ? 1 : 0;
    }
    entries += static_cast<int>(items.size());
    bool isCBand = false;
    for (const std::string& item : items) {
      TuningResult values{};
      EXPECT_EQ(parseTransponderEntry(item, values), kTransponderTextValid) << fileName << ": " << item;
      EXPECT_EQ(selectedTransponderIndex({item}, values.frequencyKHz), 0) << fileName << ": " << item;
      isCBand = isCBand || values.frequencyKHz < 4200000;
    }
    cBand += isCBand ? 1 : 0;
    // A rewrite with nothing changed gives the same bytes.
    EXPECT_EQ(composeTransponderFile(file, position), bytes) << fileName;
  }
  EXPECT_GE(files, 190);
  EXPECT_GE(cBand, 1);
  std::printf("%d files, %d entries, %d of them DVB-S2\n", files, entries, dvbS2);
}
