// An in-memory file system whose every step can be made to fail.
#pragma once
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "core/file_io.h"

class FakeFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  // Fault injection: each makes the named step fail.
  bool failCreate = false;
  bool failAppend = false;  // the bytes written so far stay, as a full disk leaves them
  bool failClose = false;
  bool failRename = false;
  bool failRead = false;
  size_t bytesRead = 0;  // by readFile and the files openForReading gave

  std::unique_ptr<WritableFile> createFile(const std::string& name) override {
    if (failCreate) return nullptr;
    files[name].clear();
    return std::make_unique<File>(*this, name);
  }
  bool renameReplacing(const std::string& from, const std::string& to) override {
    if (failRename || !files.count(from)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool removeFile(const std::string& name) override { return files.erase(name) == 1; }
  bool readFile(const std::string& name, std::string* contents) override {
    auto it = files.find(name);
    if (failRead || it == files.end()) return false;
    *contents = it->second;
    bytesRead += contents->size();
    return true;
  }
  std::unique_ptr<ReadableFile> openForReading(const std::string& name) override {
    auto it = files.find(name);
    if (failRead || it == files.end()) return nullptr;
    return std::make_unique<Reader>(*this, it->second);
  }

 private:
  class File : public WritableFile {
   public:
    File(FakeFileSystem& fs, std::string name) : fs_(fs), name_(std::move(name)) {}
    bool append(const void* data, size_t size) override {
      const size_t kept = fs_.failAppend ? size / 2 : size;
      fs_.files[name_].append(static_cast<const char*>(data), kept);
      return !fs_.failAppend;
    }
    bool close() override { return !fs_.failClose; }

   private:
    FakeFileSystem& fs_;
    std::string name_;
  };
  class Reader : public ReadableFile {
   public:
    Reader(FakeFileSystem& fs, const std::string& bytes) : fs_(fs), bytes_(bytes) {}
    bool read(void* data, size_t size, size_t* got) override {
      *got = std::min(size, bytes_.size() - at_);
      std::memcpy(data, bytes_.data() + at_, *got);
      at_ += *got;
      fs_.bytesRead += *got;
      return true;
    }

   private:
    FakeFileSystem& fs_;
    const std::string& bytes_;
    size_t at_ = 0;
  };
};
