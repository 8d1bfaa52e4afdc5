#include <gtest/gtest.h>

#include "core/file_io.h"
#include "support/fake_file_system.h"

TEST(ReplaceFileContents, ReplacesAndLeavesNoTemporaryFile) {
  FakeFileSystem fs;
  fs.files["qvnth.dat"] = "old";
  EXPECT_TRUE(replaceFileContents(fs, "qvnth.dat", "new contents"));
  EXPECT_EQ(fs.files["qvnth.dat"], "new contents");
  EXPECT_EQ(fs.files.size(), 1u);
}

TEST(ReplaceFileContents, CreatesAMissingFile) {
  FakeFileSystem fs;
  EXPECT_TRUE(replaceFileContents(fs, "a.ini", std::string("x\0y", 3)));
  EXPECT_EQ(fs.files["a.ini"], std::string("x\0y", 3));
}

TEST(ReplaceFileContents, AnyFailingStepKeepsTheOldFileWhole) {
  for (int step = 0; step < 4; ++step) {
    FakeFileSystem fs;
    fs.files["qvnth.dat"] = "old settings";
    fs.failCreate = step == 0;
    fs.failAppend = step == 1;
    fs.failClose = step == 2;
    fs.failRename = step == 3;
    EXPECT_FALSE(replaceFileContents(fs, "qvnth.dat", "new settings")) << "step " << step;
    EXPECT_EQ(fs.files["qvnth.dat"], "old settings") << "step " << step;
    EXPECT_EQ(fs.files.count("qvnth.dat.tmp"), 0u) << "step " << step;
  }
}

// The whole-file read of a transponder file: 32-bit builds hold strings of at most 2^31 - 1 bytes.
TEST(ReadableWhole, UpToTheCeilingAndNeverBeyondWhatAStringHolds) {
  constexpr uint64_t kMaxSize32 = (uint64_t{1} << 31) - 1;
  const struct {
    uint64_t size, maxSize;
    bool readable;
  } cases[] = {
      {0, kMaxSize32, true},
      {kWholeReadLimit, kMaxSize32, true},
      {kWholeReadLimit + 1, UINT64_MAX, false},
      {uint64_t{1} << 31, kMaxSize32, false},
      {(uint64_t{1} << 32) - 1, kMaxSize32, false},
      {(uint64_t{4} << 30) + 100, UINT64_MAX, false},
      {1001, 1000, false},
  };
  for (const auto& c : cases) EXPECT_EQ(readableWhole(c.size, c.maxSize), c.readable) << c.size << " of " << c.maxSize;
}
