#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/fake_file_system.h"
#include "support/satellite_files.h"
#include "transponders/satellite_list.h"

TEST(PositionField, EastAndWest) {
  struct Case {
    int32_t position;
    const char* field;
  } cases[] = {
      {192, " 19.2e"},  {0, "  0.0e"},    {1800, "180.0e"}, {1801, "179.9w"}, {3592, "  0.8w"},
      {3600, "  0.0w"}, {3550, "  5.0w"}, {50, "  5.0e"},   {1055, "105.5e"}, {3599, "  0.1w"},
      {9999, "-639.9w"}, {INT32_MAX, "-214748004.7w"},
  };
  for (const Case& c : cases) EXPECT_EQ(positionField(c.position), c.field) << c.position;
}

TEST(PositionFromFileName, LeadingDigitsOnly) {
  EXPECT_EQ(positionFromFileName("0192.ini"), 192);
  EXPECT_EQ(positionFromFileName("3592 Thor.ini"), 3592);
  EXPECT_EQ(positionFromFileName("Astra.ini"), 0);
  EXPECT_EQ(positionFromFileName("-5.ini"), 0);
  EXPECT_EQ(positionFromFileName("99999999999999.ini"), INT32_MAX);
}

// Only a file that loading the satellite's list reads again is listed: any other name would show
// one file's name and load (and edit) another's entries.
TEST(SatelliteScan, ListsOnlyFilesNamedByTheirPosition) {
  const struct {
    const char* name;
    bool listed;
  } cases[] = {{"0192.ini", true},  {"0192.INI", true},         {"3599.ini", true},
               {"12345.ini", true}, {"390.ini", false},         {"0390 Hellas Sat.ini", false},
               {"0192 - Copy.ini", false}, {"Astra.ini", false}, {"0192.inix", false},
               {"00192.ini", false}, {"99999999999999.ini", false}};
  for (const auto& c : cases) {
    FakeFileSystem fs;
    fs.files[std::string("Transponders\\") + c.name] = fileWithName("Sat");
    EXPECT_EQ(scanSatellites(fs, {c.name}, false, 0).items.size(), c.listed ? 1u : 0u) << c.name;
  }
}

TEST(SatelliteItem, BothOrders) {
  const std::string astra = fileWithName("Astra 1KR/1L");
  EXPECT_EQ(satelliteItem("0192.ini", astra, false).text, " 19.2e - Astra 1KR/1L ");
  EXPECT_EQ(satelliteItem("0192.ini", astra, true).text, "Astra 1KR/1L  19.2e");
  EXPECT_EQ(satelliteItem("0192.ini", astra, true).position, 192);
  EXPECT_EQ(satelliteItem("1800.ini", astra, true).text, "Astra 1KR/1L 180.0e");
  EXPECT_EQ(satelliteItem("0130.ini", "", false).text, " 13.0e - ");  // empty file
  EXPECT_EQ(satelliteItem("0130.ini", "", true).text, " 13.0e");
  EXPECT_EQ(satelliteItem("Astra.ini", astra, false).text, "  0.0e - Astra 1KR/1L ");
  EXPECT_EQ(satelliteItem("Astra.ini", astra, false).position, 0);
}

TEST(SatelliteItem, LongNamesAreCutToTheItemsRoom) {
  for (size_t length : {110u, 117u, 118u, 119u, 120u, 121u, 122u, 300u, 5000u}) {
    const std::string name(length, 'N');
    const std::string bytes = fileWithName(name);
    const std::string positionFirst = satelliteItem("0192.ini", bytes, false).text;
    const std::string nameFirst = satelliteItem("0192.ini", bytes, true).text;
    EXPECT_LE(positionFirst.size(), 127u) << length;
    EXPECT_LE(nameFirst.size(), 127u) << length;
    EXPECT_EQ(positionFirst.substr(0, 9), " 19.2e - ") << length;
    EXPECT_EQ(positionFirst.back(), ' ') << length;
    EXPECT_EQ(nameFirst.substr(nameFirst.size() - 7), "  19.2e") << length;  // still ends with the position
    const size_t kept = std::min<size_t>(length, 117);  // 127 - 9 - the space
    EXPECT_EQ(positionFirst, " 19.2e - " + std::string(kept, 'N') + " ") << length;
  }
}

TEST(SatelliteOrder, PositionFirstFollowsDegreesAndNameFirstFollowsNames) {
  FakeFileSystem fs;
  const std::vector<std::pair<std::string, std::string>> files = {
      {"0192.ini", "Astra 1"}, {"3550.ini", "eutelsat 5 West"}, {"0130.ini", "Hot Bird"},
      {"3592.ini", "Thor"},    {"0050.ini", "Astra 4A"},        {"1055.ini", "AsiaSat 7"}, {"0282.ini", "astra 2"}};
  std::vector<std::string> names;
  for (const auto& [fileName, satellite] : files) {
    fs.files["Transponders\\" + fileName] = fileWithName(satellite);
    names.push_back(fileName);
  }
  const SatelliteScan byPosition = scanSatellites(fs, names, false, 130);
  EXPECT_EQ(textsOf(byPosition), (std::vector<std::string>{"  0.8w - Thor ", "  5.0e - Astra 4A ",
                                                            "  5.0w - eutelsat 5 West ", " 13.0e - Hot Bird ",
                                                            " 19.2e - Astra 1 ", " 28.2e - astra 2 ",
                                                            "105.5e - AsiaSat 7 "}));
  EXPECT_EQ(byPosition.selected, 3);
  EXPECT_EQ(byPosition.items[3].position, 130);

  const SatelliteScan byName = scanSatellites(fs, names, true, 3550);
  EXPECT_EQ(textsOf(byName), (std::vector<std::string>{"AsiaSat 7 105.5e", "Astra 1  19.2e", "astra 2  28.2e",
                                                        "Astra 4A   5.0e", "eutelsat 5 West   5.0w",
                                                        "Hot Bird  13.0e", "Thor   0.8w"}));
  EXPECT_EQ(byName.selected, 4);
  EXPECT_EQ(scanSatellites(fs, names, true, 1).selected, -1);
}

TEST(SatelliteScan, AtMost500FilesAreListed) {
  FakeFileSystem fs;
  std::vector<std::string> names;
  for (int i = 0; i < 501; ++i) {
    char name[16];
    std::snprintf(name, sizeof(name), "%04d.ini", i);
    names.push_back(name);
    fs.files[std::string("Transponders\\") + name] = fileWithName("S" + std::to_string(i));
  }
  const SatelliteScan scan = scanSatellites(fs, names, false, 500);
  EXPECT_EQ(scan.items.size(), 500u);
  EXPECT_EQ(scan.selected, -1);  // the 501st file, 0500.ini, is not listed
  EXPECT_EQ(scanSatellites(fs, names, false, 499).selected, 499);
}

TEST(SatelliteScan, UnreadableFilesAndLongPathsAreSkippedAndTheScanGoesOn) {
  FakeFileSystem fs;
  fs.files["Transponders\\0100.ini"] = fileWithName("First");
  fs.files["Transponders\\0300.ini"] = fileWithName("Third");
  const std::string longName = std::string(250, '7') + ".ini";
  fs.files["Transponders\\" + longName] = fileWithName("Long");
  // 0200.ini is listed in the folder but cannot be read (locked, or gone meanwhile); the long name
  // is not its position's file name and is left out.
  const SatelliteScan scan = scanSatellites(fs, {"0100.ini", "0200.ini", longName, "0300.ini"}, false, 300);
  EXPECT_EQ(textsOf(scan), (std::vector<std::string>{" 10.0e - First ", " 30.0e - Third "}));
  EXPECT_EQ(scan.skipped, 1u);
  EXPECT_EQ(scan.selected, 1);
  EXPECT_TRUE(scanSatellites(fs, {}, false, 0).items.empty());
}

TEST(SatelliteScan, ReadsEachFileOnlyAsFarAsItsNameLine) {
  const std::string entries(1 << 20, 'x');
  const std::string update = "[UPDATE]\r\nDate=2024\r\nURL=" + std::string(5000, 'u') + "\r\n";
  struct Case {
    std::string bytes;
    size_t mostServed;
  };
  const Case cases[] = {
      {fileWithName("Plain") + entries, kNameReadPiece},
      // The name line lies across the first piece's end.
      {update + fileWithName("After an update") + entries, 2 * kNameReadPiece},
      // No [SATTYPE]: one may follow, so reading goes on, but not beyond the limit.
      {"1=0100\r\n2=Bare\r\n" + entries, kNameReadLimit},
      {std::string(3 << 20, '\0'), kNameReadLimit},
      {"[SATTYPE]\r\n1=0100\r\n2=Unended", kNameReadPiece},
  };
  for (const Case& c : cases) {
    FakeFileSystem fs;
    fs.files["Transponders\\0100.ini"] = c.bytes;
    const SatelliteScan scan = scanSatellites(fs, {"0100.ini"}, false, 100);
    ASSERT_EQ(scan.items.size(), 1u);
    EXPECT_LE(fs.bytesRead, c.mostServed) << c.bytes.substr(0, 40);
    if (c.bytes.find("[SATTYPE]") != std::string::npos) {
      EXPECT_EQ(scan.items[0].text, satelliteItem("0100.ini", c.bytes, false).text) << c.bytes.substr(0, 40);
    }
  }
}

TEST(SatelliteItem, TheNameComesBackFromEitherOrder) {
  struct Case {
    const char* name;
    int32_t position;
  } cases[] = {{"Astra 1KR/1L/1M/1N", 192}, {"Thor 5/6/7", 3592}, {"Intelsat 1R 2.0", 3350}, {"", 130}};
  for (const Case& c : cases) {
    const std::string file = fileWithName(c.name);
    char fileName[16];
    std::snprintf(fileName, sizeof(fileName), "%04d.ini", c.position);
    for (bool nameFirst : {false, true})
      EXPECT_EQ(satelliteNameOfItem(satelliteItem(fileName, file, nameFirst).text, c.position), c.name)
          << c.name << (nameFirst ? " name first" : " position first");
  }
  EXPECT_EQ(satelliteNameOfItem(" 13.0e - Hot Bird", 192), "13.0e - Hot Bird") << "another position's field stays";
}
