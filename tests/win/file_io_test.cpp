// The atomic replace on the real file system, with two writers at once (two instances adding to
// one satellite at the same moment).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/file_io.h"
#include "core/file_io_win32.h"

namespace {

TEST(ReplaceOnDisk, TwoWritersAtOnceLeaveExactlyOneOfTheirContents) {
  char folder[MAX_PATH];
  ASSERT_GT(GetTempPathA(sizeof(folder), folder), 0u);
  const std::string name = std::string(folder) + "qv_two_writers.ini";
  const std::string contents[2] = {std::string(3000, 'a'), std::string(5000, 'b')};
  FileSystem& fs = systemFileSystem();
  ASSERT_TRUE(replaceFileContents(fs, name, contents[0]));
  std::atomic<int> mixed{0}, replaced{0};
  auto writer = [&](int which) {
    for (int i = 0; i < 300; ++i) {
      replaced += replaceFileContents(fs, name, contents[which]) ? 1 : 0;
      std::string now;
      if (fs.readFile(name, &now) && now != contents[0] && now != contents[1]) ++mixed;
    }
  };
  std::thread other(writer, 1);
  writer(0);
  other.join();
  EXPECT_EQ(mixed.load(), 0) << "reads that were neither writer's contents";
  EXPECT_GT(replaced.load(), 0);
  fs.removeFile(name);
}

}  // namespace
