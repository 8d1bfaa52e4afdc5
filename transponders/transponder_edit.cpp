#include "transponders/transponder_edit.h"

#include "transponders/transponder_file.h"

bool addTransponderToFile(FileSystem& fs, const std::string& fileName, int32_t position, std::string_view text) {
  std::string bytes;
  if (!fs.readFile(fileName, &bytes)) return false;
  TransponderFile file = readTransponderFile(bytes);
  appendTransponderEntry(file, text);
  return replaceFileContents(fs, fileName, composeTransponderFile(file, position));
}

bool removeTransponderFromFile(FileSystem& fs, const std::string& fileName, int32_t position, size_t listIndex,
                               std::string_view itemText) {
  std::string bytes;
  if (!fs.readFile(fileName, &bytes)) return false;
  TransponderFile file = readTransponderFile(bytes);
  if (!removeTransponderEntry(file, listIndex, itemText)) return false;
  return replaceFileContents(fs, fileName, composeTransponderFile(file, position));
}
