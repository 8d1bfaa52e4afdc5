// Adding and removing entries in a satellite's transponder file. The file is read again,
// changed in memory and put back whole through a temporary file, so a failure at any point
// leaves the old file as it was. Every other entry and every other byte stays as it is.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_io.h"

// Appends the entry text as the last entry. True when the new file is in place.
bool addTransponderToFile(FileSystem& fs, const std::string& fileName, int32_t position, std::string_view text);

// Removes the entry the list shows as itemText at listIndex (see removeTransponderEntry).
// True when the new file is in place; false, with the file unchanged, when no entry shows that
// text or the file cannot be read or written.
bool removeTransponderFromFile(FileSystem& fs, const std::string& fileName, int32_t position, size_t listIndex,
                               std::string_view itemText);
