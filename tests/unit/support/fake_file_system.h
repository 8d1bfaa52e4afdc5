// An in-memory file system whose every step can be made to fail.
#pragma once
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
    return true;
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
};
