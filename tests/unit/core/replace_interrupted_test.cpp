// A process killed at any step of a replacement: what it leaves on disk is the state after the
// last completed step. Both replacements the program makes (the settings image, a transponder
// file's add and remove) must leave the old or the new file whole at every one of those states.
// (A failing step, which the program sees and cleans up after, is tested beside each replacement.)
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "support/fake_file_system.h"
#include "transponders/transponder_edit.h"

namespace {

using Files = std::map<std::string, std::string>;

// Keeps the files as they stood after every step that changes them.
class RecordingFileSystem : public FakeFileSystem {
 public:
  std::vector<Files> states;

  std::unique_ptr<WritableFile> createFile(const std::string& name) override {
    std::unique_ptr<WritableFile> file = FakeFileSystem::createFile(name);
    record();
    return file ? std::make_unique<Recorded>(*this, std::move(file)) : nullptr;
  }
  bool renameReplacing(const std::string& from, const std::string& to) override {
    const bool moved = FakeFileSystem::renameReplacing(from, to);
    record();
    return moved;
  }
  bool removeFile(const std::string& name) override {
    const bool removed = FakeFileSystem::removeFile(name);
    record();
    return removed;
  }
  void record() { states.push_back(files); }

 private:
  class Recorded : public WritableFile {
   public:
    Recorded(RecordingFileSystem& fs, std::unique_ptr<WritableFile> file) : fs_(fs), file_(std::move(file)) {}
    bool append(const void* data, size_t size) override {
      const bool ok = file_->append(data, size);
      fs_.record();
      return ok;
    }
    bool close() override {
      const bool ok = file_->close();
      fs_.record();
      return ok;
    }

   private:
    RecordingFileSystem& fs_;
    std::unique_ptr<WritableFile> file_;
  };
};

const std::string kTransponders = "Transponders\\0192.ini";
const std::string kHeader = "[SATTYPE]\r\n1=0192\r\n2=Astra\r\n\r\n[DVB]\r\n0=";

struct Replacement {
  const char* label;
  std::string name, before, after;
  std::function<bool(FileSystem&)> run;
};

std::vector<Replacement> replacements() {
  const std::string settingsBefore(256, '\x11'), settingsAfter(256, '\x22');
  const std::string two = kHeader + "2\r\n1=10700,H,22000\r\n2=11778,V,27500\r\n";
  const std::string three = kHeader + "3\r\n1=10700,H,22000\r\n2=11778,V,27500\r\n3=12345,H,27500\r\n";
  const std::string one = kHeader + "1\r\n1=11778,V,27500\r\n";
  return {
      {"settings save", "qvnth.dat", settingsBefore, settingsAfter,
       [=](FileSystem& fs) { return replaceFileContents(fs, "qvnth.dat", settingsAfter); }},
      {"add", kTransponders, two, three,
       [](FileSystem& fs) { return addTransponderToFile(fs, kTransponders, 192, "12345,H,27500"); }},
      {"remove", kTransponders, two, one,
       [](FileSystem& fs) { return removeTransponderFromFile(fs, kTransponders, 192, 0, "10700,H,22000"); }},
  };
}

}  // namespace

TEST(ReplaceInterrupted, AKillAtAnyStepLeavesTheOldOrTheNewFileWhole) {
  for (const Replacement& r : replacements()) {
    RecordingFileSystem fs;
    fs.files[r.name] = r.before;
    ASSERT_TRUE(r.run(fs)) << r.label;
    ASSERT_GE(fs.states.size(), 4u) << r.label << ": create, write, close and rename recorded";
    for (size_t step = 0; step < fs.states.size(); ++step) {
      const std::string& left = fs.states[step][r.name];
      EXPECT_TRUE(left == r.before || left == r.after) << r.label << ", killed after step " << step << ": "
                                                       << left;
    }
    EXPECT_EQ(fs.files, (Files{{r.name, r.after}})) << r.label << ": the end, without a temporary file";
  }
}
