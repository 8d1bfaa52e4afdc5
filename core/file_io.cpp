#include "core/file_io.h"

#include <vector>

bool readableWhole(uint64_t size, uint64_t maxSize) { return size <= kWholeReadLimit && size <= maxSize; }

bool readFileStart(FileSystem& fs, const std::string& name, size_t piece, size_t limit,
                   const std::function<bool(std::string_view)>& enough, std::string* bytes) {
  std::unique_ptr<ReadableFile> file = fs.openForReading(name);
  if (!file) return false;
  bytes->clear();
  std::vector<char> buffer(piece);
  while (bytes->size() < limit && !enough(*bytes)) {
    size_t got = 0;
    if (!file->read(buffer.data(), buffer.size(), &got)) return false;
    if (got == 0) break;
    bytes->append(buffer.data(), got);
  }
  return true;
}

bool replaceFileContents(FileSystem& fs, const std::string& name, std::string_view contents) {
  const std::string temporary = name + ".tmp";
  std::unique_ptr<WritableFile> file = fs.createFile(temporary);
  if (!file) return false;
  bool written = file->append(contents.data(), contents.size());
  written = file->close() && written;
  if (written && fs.renameReplacing(temporary, name)) return true;
  fs.removeFile(temporary);
  return false;
}
