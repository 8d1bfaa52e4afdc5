#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_file_system.h"
#include "transponders/transponder_edit.h"
#include "transponders/transponder_file.h"

namespace {

using Items = std::vector<std::string>;
const std::string kFile = "Transponders\\0192.ini";

std::string header(const std::string& le = "\r\n") {
  return "[SATTYPE]" + le + "1=0192" + le + "2=Astra 1KR/1L/1M/1N" + le + le + "[DVB]" + le + "0=";
}

std::string entryLines(const Items& entries, const std::string& le = "\r\n") {
  std::string text = std::to_string(entries.size()) + le;
  for (size_t i = 0; i < entries.size(); ++i) text += std::to_string(i + 1) + "=" + entries[i] + le;
  return text;
}

std::string plainFile(const Items& entries) { return header() + entryLines(entries); }

Items numbered(size_t count) {
  Items entries;
  for (size_t i = 0; i < count; ++i) entries.push_back(std::to_string(10700 + i) + ",H,22000");
  return entries;
}

}  // namespace

TEST(AddTransponder, NineEntriesBecomeTen) {
  FakeFileSystem fs;
  Items entries = numbered(9);
  fs.files[kFile] = plainFile(entries);
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "11111,V,27500"));
  entries.push_back("11111,V,27500");
  EXPECT_EQ(fs.files[kFile], plainFile(entries));
  EXPECT_NE(fs.files[kFile].find("0=10\r\n"), std::string::npos);
  EXPECT_EQ(fs.files[kFile].substr(fs.files[kFile].size() - 18), "10=11111,V,27500\r\n");
  EXPECT_EQ(fs.files.size(), 1u);  // no temporary file left
}

TEST(AddTransponder, ThousandEntriesGetFourDigits) {
  for (size_t count : {998u, 999u, 1000u, 10001u}) {
    FakeFileSystem fs;
    Items entries = numbered(count);
    fs.files[kFile] = plainFile(entries);
    ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "11111,V,27500"));
    entries.push_back("11111,V,27500");
    EXPECT_EQ(fs.files[kFile], plainFile(entries)) << count;
  }
}

TEST(RemoveTransponder, RemovingTheFirstRenumbers) {
  FakeFileSystem fs;
  fs.files[kFile] = plainFile({"10714,H,22000", "10744,H,22000", "10773,H,22000"});
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 0, "10714,H,22000"));
  EXPECT_EQ(fs.files[kFile], plainFile({"10744,H,22000", "10773,H,22000"}));
  EXPECT_EQ(fs.files[kFile].compare(0, header().size(), header()), 0);
}

TEST(RemoveTransponder, AddingThenRemovingRestoresTheFile) {
  FakeFileSystem fs;
  const std::string original = plainFile(numbered(5));
  fs.files[kFile] = original;
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "12345,H,27500"));
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 5, "12345,H,27500"));
  EXPECT_EQ(fs.files[kFile], original);
}

TEST(RemoveTransponder, PicksTheEntryShowingTheText) {
  FakeFileSystem fs;
  fs.files[kFile] = plainFile({"A1111,H,1", "B2222,H,2", "A1111,H,1", "C3333,H,3"});
  // The list index agrees with the file: that one goes, not the first equal one.
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 2, "A1111,H,1"));
  EXPECT_EQ(fs.files[kFile], plainFile({"A1111,H,1", "B2222,H,2", "C3333,H,3"}));
  // The file changed under the list: the first entry showing the text goes.
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 0, 2, "B2222,H,2"));
  EXPECT_EQ(fs.files[kFile], plainFile({"A1111,H,1", "C3333,H,3"}));
  // Nothing shows the text: nothing changes.
  const std::string before = fs.files[kFile];
  EXPECT_FALSE(removeTransponderFromFile(fs, kFile, 192, 0, "a1111,h,1"));
  EXPECT_FALSE(removeTransponderFromFile(fs, kFile, 192, 7, "Z"));
  EXPECT_EQ(fs.files[kFile], before);
}

TEST(Rewrite, OtherKeysAndBlankLinesAreRenumbered) {
  FakeFileSystem fs;
  fs.files[kFile] = header() + "3\r\n5=11111,H,22000\r\n\r\n9=12222,V,27500\r\n";
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "13333,H,27500"));
  EXPECT_EQ(fs.files[kFile], header() + "4\r\n1=11111,H,22000\r\n2=\r\n3=12222,V,27500\r\n4=13333,H,27500\r\n");
}

TEST(Rewrite, LongEntriesSurviveAddAndRemoveWhole) {
  const Items entries = {"10758,V,22000,34,DVB-S2,8PSK", "10714,H,22000,56", "11023,H,23500,23,DVB-S2,8PSK,35"};
  FakeFileSystem fs;
  fs.files[kFile] = plainFile(entries);
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "12345,H,27500"));
  EXPECT_EQ(fs.files[kFile], plainFile({entries[0], entries[1], entries[2], "12345,H,27500"}));
  // The list shows the first one cut to 22 characters; removing the middle one keeps it whole.
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 1, "10714,H,22000,56"));
  EXPECT_EQ(fs.files[kFile], plainFile({entries[0], entries[2], "12345,H,27500"}));
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 0, "10758,V,22000,34,DVB-S"));
  EXPECT_EQ(fs.files[kFile], plainFile({entries[2], "12345,H,27500"}));
}

TEST(Rewrite, EveryByteThatIsNotAnEntrySurvives) {
  const std::string update = "[UPDATE]\r\nDate=01.02.2024\r\nVersion=7\r\nURL=http://x.example/?a=b\r\n\r\n";
  const std::string section = "\r\n[OTHER]\r\nKey=Value\r\n; the end";
  FakeFileSystem fs;
  fs.files[kFile] = update + header() + "3\r\n; first block\r\n1=11111,H,22000\r\nstray text\r\n2=12222,V,27500\r\n"
                    "; second block\r\n3=13333,H,27500\r\n" + section;
  const std::string expectedAfterRemove = update + header() +
                                          "2\r\n; first block\r\n1=11111,H,22000\r\nstray text\r\n"
                                          "; second block\r\n2=13333,H,27500\r\n" + section;
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 1, "12222,V,27500"));
  EXPECT_EQ(fs.files[kFile], expectedAfterRemove);
  EXPECT_EQ(transponderItems(readTransponderFile(fs.files[kFile])), (Items{"11111,H,22000", "13333,H,27500"}));
  EXPECT_EQ(satelliteNameText(readTransponderFile(fs.files[kFile])), "Astra 1KR/1L/1M/1N ");

  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "14444,V,27500"));
  EXPECT_EQ(fs.files[kFile], update + header() +
                                 "3\r\n; first block\r\n1=11111,H,22000\r\nstray text\r\n"
                                 "; second block\r\n2=13333,H,27500\r\n3=14444,V,27500\r\n" + section);
}

TEST(Rewrite, LineFeedFilesStayLineFeedFiles) {
  FakeFileSystem fs;
  fs.files[kFile] = header("\n") + entryLines({"11111,H,22000", "12222,V,27500"}, "\n");
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "13333,H,27500"));
  EXPECT_EQ(fs.files[kFile], header("\n") + entryLines({"11111,H,22000", "12222,V,27500", "13333,H,27500"}, "\n"));
}

TEST(Rewrite, LastLineWithoutLineEnd) {
  FakeFileSystem fs;
  fs.files[kFile] = header() + "2\r\n1=11111,H,22000\r\n2=12222,V,27500";
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "13333,H,27500"));
  EXPECT_EQ(fs.files[kFile], plainFile({"11111,H,22000", "12222,V,27500", "13333,H,27500"}));
  // A comment last without a line end gets one only when something follows it.
  fs.files[kFile] = header() + "1\r\n1=11111,H,22000\r\n; end";
  ASSERT_TRUE(removeTransponderFromFile(fs, kFile, 192, 0, "11111,H,22000"));
  EXPECT_EQ(fs.files[kFile], header() + "0\r\n; end");
  ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "13333,H,27500"));
  EXPECT_EQ(fs.files[kFile], header() + "1\r\n; end\r\n1=13333,H,27500\r\n");
}

TEST(Rewrite, FilesWithoutACompleteHeaderAreCompletedNotEmptied) {
  struct Case {
    const char* label;
    std::string before;
    std::string after;
  } cases[] = {
      {"empty", "", "[SATTYPE]\r\n1=0192\r\n2=\r\n[DVB]\r\n0=1\r\n1=12345,H,27500\r\n"},
      {"sattype only", "[SATTYPE]\r\n", "[SATTYPE]\r\n1=0192\r\n2=\r\n[DVB]\r\n0=1\r\n1=12345,H,27500\r\n"},
      {"first value only", "[SATTYPE]\r\n1=0192", "[SATTYPE]\r\n1=0192\r\n2=\r\n[DVB]\r\n0=1\r\n1=12345,H,27500\r\n"},
      {"name, no section", "[SATTYPE]\r\n1=0192\r\n2=Astra\r\n",
       "[SATTYPE]\r\n1=0192\r\n2=Astra\r\n[DVB]\r\n0=1\r\n1=12345,H,27500\r\n"},
      {"name and section", "[SATTYPE]\r\n1=0192\r\n2=Astra\r\n\r\n[DVB]\r\n",
       "[SATTYPE]\r\n1=0192\r\n2=Astra\r\n\r\n[DVB]\r\n0=1\r\n1=12345,H,27500\r\n"},
      {"LF alone", "[SATTYPE]\n1=0192\n2=Astra\n", "[SATTYPE]\n1=0192\n2=Astra\n[DVB]\n0=1\n1=12345,H,27500\n"},
  };
  for (const Case& c : cases) {
    FakeFileSystem fs;
    fs.files[kFile] = c.before;
    ASSERT_TRUE(addTransponderToFile(fs, kFile, 192, "12345,H,27500")) << c.label;
    EXPECT_EQ(fs.files[kFile], c.after) << c.label;
    EXPECT_EQ(transponderItems(readTransponderFile(fs.files[kFile])), Items{"12345,H,27500"}) << c.label;
  }
}

TEST(Rewrite, AnyFailureLeavesTheFileAsItWas) {
  const std::string original = plainFile(numbered(3));
  for (int step = 0; step < 5; ++step) {
    FakeFileSystem fs;
    fs.files[kFile] = original;
    fs.failRead = step == 0;
    fs.failCreate = step == 1;
    fs.failAppend = step == 2;
    fs.failClose = step == 3;
    fs.failRename = step == 4;
    EXPECT_FALSE(addTransponderToFile(fs, kFile, 192, "12345,H,27500")) << "step " << step;
    EXPECT_FALSE(removeTransponderFromFile(fs, kFile, 192, 0, "10700,H,22000")) << "step " << step;
    EXPECT_EQ(fs.files[kFile], original) << "step " << step;
    EXPECT_EQ(fs.files.size(), 1u) << "step " << step;
  }
  FakeFileSystem empty;
  EXPECT_FALSE(addTransponderToFile(empty, kFile, 192, "12345,H,27500"));  // a missing file is not created
  EXPECT_TRUE(empty.files.empty());
}
