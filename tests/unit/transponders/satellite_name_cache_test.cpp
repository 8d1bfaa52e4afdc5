#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_file_system.h"
#include "support/satellite_files.h"
#include "transponders/satellite_list.h"
#include "transponders/satellite_name_cache.h"

TEST(SatelliteNameCache, NamesWithAnyBytesComeBackAndDamagedNotesAreNotTrusted) {
  SatelliteNameCache cache;
  cache["0192.ini"] = {1391, 134413108953091948u, "Astra 1KR/1L/1M/1N\r"};
  cache["3592.ini"] = {7, 0, std::string("Thor\tx\n\n\0y", 11)};  // a file may give any bytes
  cache["0130.ini"] = {0, 1, ""};
  const std::string bytes = composeSatelliteNameCache(cache);
  EXPECT_EQ(readSatelliteNameCache(bytes), cache);

  // A cut note gives at most the entries before the cut, each as it was: never a wrong name.
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const SatelliteNameCache part = readSatelliteNameCache(bytes.substr(0, cut));
    EXPECT_LT(part.size(), cache.size()) << "cut at " << cut;
    for (const auto& [fileName, noted] : part) EXPECT_EQ(cache.at(fileName), noted) << "cut at " << cut;
  }
  const char* damaged[] = {"satnames 2\n", "satnames 1\n0192.ini\t12\t3\t4\tab\n", "satnames 1\n0192.ini\t-1\t3\t0\t\n",
                           "satnames 1\n0192.ini\t1\t3\t999\tname\n", "satnames 1\n\t1\t3\t0\t\n"};
  for (const char* note : damaged) EXPECT_TRUE(readSatelliteNameCache(note).empty()) << note;
}

TEST(SatelliteNameCache, ANotedFileIsNotOpenedUntilItsSizeOrTimeChanges) {
  FakeFileSystem fs;
  fs.files["Transponders\\0192.ini"] = fileWithName("Astra 1");
  fs.files["Transponders\\0130.ini"] = fileWithName("Hot Bird");
  std::vector<FoundTransponderFile> found = {{"0192.ini", 100, 5}, {"0130.ini", 200, 6}, {"0282.ini", 300, 7}};
  SatelliteNameCache cache;
  cache["0282.ini"] = {300, 7, "Astra 2 "};  // noted; the file itself is not even there to read
  cache["0999.ini"] = {1, 1, "Gone"};       // noted, but no longer in the folder
  SatelliteScan scan = scanSatellites(fs, found, false, 282, &cache);
  EXPECT_EQ(textsOf(scan), (std::vector<std::string>{" 13.0e - Hot Bird ", " 19.2e - Astra 1 ", " 28.2e - Astra 2 "}));
  EXPECT_EQ(scan.selected, 2);
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_EQ(cache.count("0999.ini"), 0u);

  fs.bytesRead = 0;
  fs.files["Transponders\\0192.ini"] = fileWithName("Astra 1 renamed");  // same size and time: the note holds
  found[1].writeTime = 60;                                                // 0130.ini was written since
  fs.files["Transponders\\0130.ini"] = fileWithName("Hot Bird 13");
  scan = scanSatellites(fs, found, true, 0, &cache);
  EXPECT_EQ(fs.bytesRead, fs.files["Transponders\\0130.ini"].size());  // only the changed file was read
  EXPECT_EQ(textsOf(scan), (std::vector<std::string>{"Astra 1  19.2e", "Astra 2  28.2e", "Hot Bird 13  13.0e"}));
  EXPECT_EQ(cache["0130.ini"], (NotedName{200, 60, "Hot Bird 13 "}));
}

TEST(SatelliteNameCache, SavedWholeAndATooLargeNoteIsIgnored) {
  FakeFileSystem fs;
  SatelliteNameCache cache;
  cache["0192.ini"] = {1, 2, std::string(500, 'N')};  // noted cut, still longer than any item's room
  ASSERT_TRUE(saveSatelliteNameCache(fs, cache));
  const SatelliteNameCache loaded = loadSatelliteNameCache(fs);
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded.at("0192.ini").name, std::string(kNotedNameLength, 'N'));
  EXPECT_EQ(namedSatelliteItem("0192.ini", loaded.at("0192.ini").name, false).text,
            namedSatelliteItem("0192.ini", std::string(500, 'N'), false).text);

  fs.files[kSatelliteNameCacheFile] += std::string(kSatelliteNameCacheLimit, 'x');
  EXPECT_TRUE(loadSatelliteNameCache(fs).empty());
  fs.failCreate = true;
  EXPECT_FALSE(saveSatelliteNameCache(fs, cache));
}
