#include "core/file_io.h"

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
