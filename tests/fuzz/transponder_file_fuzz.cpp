// Any bytes as a transponder file: reading, listing, selecting, rewriting and parsing must give
// a result without a crash, and a rewrite must give back every entry it did not remove.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/fake_file_system.h"
#include "transponders/satellite_list.h"
#include "transponders/transponder_edit.h"
#include "transponders/transponder_file.h"
#include "transponders/transponder_parse.h"

namespace {

void check(bool condition, const char* what) {
  if (condition) return;
  __builtin_printf("invariant broken: %s\n", what);
  std::abort();
}

std::vector<std::string> fullEntries(const TransponderFile& file) {
  std::vector<std::string> entries;
  for (const TransponderLine& line : file.lines)
    if (line.isEntry) entries.emplace_back(line.text);
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TransponderFile file = readTransponderFile(bytes);
  const std::vector<std::string> items = transponderItems(file);
  for (const std::string& item : items) check(item.size() <= kTransponderItemLength, "item longer than 22");
  const int32_t frequency = size >= 4 ? leadingInteger(bytes.substr(size - 4)) * 1000 : 0;
  const int selected = selectedTransponderIndex(items, frequency);
  check(selected >= -1 && selected < static_cast<int>(items.size()), "selection outside the list");

  for (bool nameFirst : {false, true}) {
    const SatelliteItem item = satelliteItem(bytes.substr(0, size % 300), bytes, nameFirst);
    check(item.text.size() <= kSatelliteItemRoom, "satellite item longer than its room");
  }

  // Unchanged, added to and removed from: read back, the entries are what they should be.
  const std::vector<std::string> before = fullEntries(file);
  const std::string same = composeTransponderFile(file, 192);
  const TransponderFile reread = readTransponderFile(same);
  check(fullEntries(reread) == before, "rewrite changed the entries");
  check(reread.tail == file.tail, "rewrite changed the trailing section");
  if (file.equalsInHeader == 3) check(same.compare(0, file.header.size(), file.header) == 0, "header changed");

  FakeFileSystem fs;
  fs.files["t.ini"] = bytes;
  const std::string added = "12345,H,27500";
  check(addTransponderToFile(fs, "t.ini", 192, added), "add failed");
  std::vector<std::string> expected = before;
  expected.push_back(added);
  check(fullEntries(readTransponderFile(fs.files["t.ini"])) == expected, "add lost or changed an entry");

  if (!items.empty()) {
    fs.files["t.ini"] = bytes;
    const size_t index = size % items.size();
    check(removeTransponderFromFile(fs, "t.ini", 192, index, items[index]), "remove failed");
    expected = before;
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
    check(fullEntries(readTransponderFile(fs.files["t.ini"])) == expected, "remove took the wrong entry");
  }

  TuningResult values{0, 0, 0};
  const int status = parseTransponderEntry(std::string_view(bytes).substr(0, 24), values);
  check(status == kTransponderTextValid || (status >= 1 && status <= 4), "unknown parse result");
  if (status == kTransponderTextValid) {
    check(values.symbolRate >= 1000 && values.symbolRate <= 45000, "valid parse with a bad rate");
    check(values.polarization == 0 || values.polarization == 1, "valid parse without a letter");
  }
  return 0;
}
