// Prints how long the transponder rules take beside plain reading of the same bytes:
// 500 files into the satellite list, and a 2000-entry transponder list.
// Usage: transponders_bench <scratch folder>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/file_io.h"
#include "transponders/satellite_list.h"
#include "transponders/transponder_file.h"

namespace fs = std::filesystem;

namespace {

// Reads from a folder the way the program does: "Transponders\name" relative to it.
class FolderFileSystem final : public FileSystem {
 public:
  explicit FolderFileSystem(fs::path root) : root_(std::move(root)) {}
  std::unique_ptr<WritableFile> createFile(const std::string&) override { return nullptr; }
  bool renameReplacing(const std::string&, const std::string&) override { return false; }
  bool removeFile(const std::string&) override { return false; }
  bool readFile(const std::string& name, std::string* contents) override {
    return readPath(pathOf(name), contents);
  }
  std::unique_ptr<ReadableFile> openForReading(const std::string& name) override {
    std::FILE* file = std::fopen(pathOf(name).c_str(), "rb");
    return file != nullptr ? std::make_unique<Reader>(file) : nullptr;
  }
  static bool readPath(const fs::path& path, std::string* contents) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    contents->resize(static_cast<size_t>(size));
    const size_t read = std::fread(contents->data(), 1, contents->size(), file);
    std::fclose(file);
    return read == contents->size();
  }

 private:
  class Reader final : public ReadableFile {
   public:
    explicit Reader(std::FILE* file) : file_(file) {}
    ~Reader() override { std::fclose(file_); }
    bool read(void* data, size_t size, size_t* got) override {
      *got = std::fread(data, 1, size, file_);
      return !std::ferror(file_);
    }

   private:
    std::FILE* file_;
  };
  fs::path pathOf(const std::string& name) const {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return root_ / path;
  }
  fs::path root_;
};

std::string satelliteFile(int position, int entries) {
  std::string text = "[SATTYPE]\r\n1=" + std::to_string(position) + "\r\n2=Satellite " + std::to_string(position) +
                     "\r\n\r\n[DVB]\r\n0=" + std::to_string(entries) + "\r\n";
  for (int i = 0; i < entries; ++i)
    text += std::to_string(i + 1) + "=" + std::to_string(10700 + i * 7 % 2000) + (i % 2 ? ",V," : ",H,") + "27500,34\r\n";
  return text;
}

template <typename F>
double nanosecondsPerRun(int runs, F&& work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) work();
  const auto stop = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(stop - start).count() / runs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <scratch folder>\n", argv[0]);
    return 2;
  }
#ifdef __GLIBC__
  // Otherwise glibc hands the freed list back to the kernel after every run and the next run
  // pays page faults (a tenfold cost in this VM) that measure the allocator, not the rules.
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
#endif
  const fs::path root = argv[1];
  fs::create_directories(root / "Transponders");
  std::vector<std::string> names;
  for (int i = 0; i < 500; ++i) {
    char name[16];
    std::snprintf(name, sizeof(name), "%04d.ini", i * 7);
    names.push_back(name);
    std::ofstream(root / "Transponders" / name, std::ios::binary) << satelliteFile(i * 7, 100);
  }
  std::ofstream(root / "big.ini", std::ios::binary) << satelliteFile(192, 2000);

  FolderFileSystem folder(root);
  volatile size_t sink = 0;
  const int runs = 20;
  const double readOnly = nanosecondsPerRun(runs, [&] {
    std::string bytes;
    for (const std::string& name : names) {
      FolderFileSystem::readPath(root / "Transponders" / name, &bytes);
      sink = sink + bytes.size();
    }
  });
  const double scan = nanosecondsPerRun(runs, [&] { sink = sink + scanSatellites(folder, names, false, 192).items.size(); });
  std::printf("satellite list, 500 files: read bytes %.2f ms, read and list %.2f ms, ratio %.2f\n", readOnly / 1e6,
              scan / 1e6, scan / readOnly);

  const double bigRead = nanosecondsPerRun(200, [&] {
    std::string bytes;
    FolderFileSystem::readPath(root / "big.ini", &bytes);
    sink = sink + bytes.size();
  });
  const double bigLoad = nanosecondsPerRun(200, [&] {
    std::string bytes;
    FolderFileSystem::readPath(root / "big.ini", &bytes);
    const std::vector<std::string> items = transponderItems(readTransponderFile(bytes));
    sink = sink + static_cast<size_t>(selectedTransponderIndex(items, 11000000) + 1);
  });
  std::printf("transponder list, 2000 entries: read bytes %.3f ms, read and list %.3f ms, ratio %.2f\n", bigRead / 1e6,
              bigLoad / 1e6, bigLoad / bigRead);

  std::string bytes;
  FolderFileSystem::readPath(root / "big.ini", &bytes);
  const double rewrite = nanosecondsPerRun(200, [&] {
    TransponderFile file = readTransponderFile(bytes);
    appendTransponderEntry(file, "12345,H,27500");
    sink = sink + composeTransponderFile(file, 192).size();
  });
  std::printf("rewrite of 2000 entries with one added: %.3f ms (%zu bytes)\n", rewrite / 1e6, bytes.size());
  return 0;
}
