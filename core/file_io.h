// File writing behind a seam, so that the rules for not losing data can be tested with
// a fault-injecting fake. Names are relative to the current directory (the program folder).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool append(const void* data, size_t size) = 0;  // true when all bytes were written
  virtual bool close() = 0;                                // true when the file is complete
};

// A file read from its start in pieces, for callers that need only its beginning.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Up to size bytes into data; *got is 0 at the end of the file. False on a read error.
  virtual bool read(void* data, size_t size, size_t* got) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates (or empties) the file for writing; nullptr on failure.
  virtual std::unique_ptr<WritableFile> createFile(const std::string& name) = 0;
  // Moves from over to, replacing it; false leaves both as they were.
  virtual bool renameReplacing(const std::string& from, const std::string& to) = 0;
  virtual bool removeFile(const std::string& name) = 0;
  // Whole file into contents; false when it cannot be opened for reading or cannot be read
  // whole (see readableWhole, or shorter on reading than its size said).
  virtual bool readFile(const std::string& name, std::string* contents) = 0;
  // Opens the file for reading in pieces; nullptr when it cannot be opened for reading.
  virtual std::unique_ptr<ReadableFile> openForReading(const std::string& name) = 0;
};

// Far above any transponder file; a larger file is listed but never read whole, so never rewritten.
constexpr uint64_t kWholeReadLimit = 16 << 20;

// Whether a file of size bytes is read whole into a string whose max_size() is maxSize: up to
// kWholeReadLimit, and never beyond what the string can hold (2^31 - 1 bytes on 32-bit builds).
bool readableWhole(uint64_t size, uint64_t maxSize);

// Reads the file's start into bytes, a piece at a time, while it holds fewer than limit bytes and
// enough(bytes) is false; stops at the file's end. False when it cannot be opened or read.
bool readFileStart(FileSystem& fs, const std::string& name, size_t piece, size_t limit,
                   const std::function<bool(std::string_view)>& enough, std::string* bytes);

// Writes contents to name + ".tmp", then puts it in place of name. Returns true on success;
// on any failure the old file is left exactly as it was and the temporary file is removed.
bool replaceFileContents(FileSystem& fs, const std::string& name, std::string_view contents);
