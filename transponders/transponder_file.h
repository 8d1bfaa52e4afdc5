// The transponder file format: one satellite per file, found by counting "=".
//
//   [SATTYPE]          counting starts at this line when the file has one; anything before
//   1=0192             it (an [UPDATE] section, say) belongs to the header
//   2=Astra 1KR        second "=": the satellite name, to the line end
//   [DVB]
//   0=2                third "=": the entry count; the header ends with this "="
//   1=10714,H,22000    then one entry per line, key "=" entry
//   2=10744,H,22000
//
// Lines end with CR LF, LF or CR. Among the entries a line starting with ";" is a comment and a
// line starting with "[" ends them; both, and every other byte that is not an entry, survive a
// rewrite unchanged. Entries are kept whole; the list shows at most 22 characters of each.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kTransponderItemLength = 22;   // what the transponder list shows of an entry
constexpr size_t kTransponderFileNameRoom = 23; // "Transponders\%04d.ini" must fit in 24 bytes
constexpr const char* kTransponderFolder = "Transponders\\";

// One line after the count line, up to a trailing section.
struct TransponderLine {
  bool isEntry = false;
  // Entry: every byte after the key's "=" up to the line end. Other lines: the whole line.
  std::string_view text;
  std::string_view lineEnd;  // the line's own end; empty for a last line without one
};

// A parsed file. Views point into the bytes given to readTransponderFile (and into texts
// passed to appendTransponderEntry), which must outlive it.
struct TransponderFile {
  // Every byte through the third "=". When the file holds fewer than three "=", the whole file.
  std::string_view header;
  int equalsInHeader = 0;        // 3 for a complete header, else how many were found (0..2)
  bool hasSatTypeLine = false;
  std::string_view name;         // the name bytes, line end excluded
  bool nameHasLineEnd = false;
  std::vector<TransponderLine> lines;
  std::string_view tail;         // a section after the entries, with what follows it
  std::string_view lineEnd;      // for lines the rewrite writes: the file's own style
};

TransponderFile readTransponderFile(std::string_view bytes);
// The same without the lines after the count: enough for the name.
TransponderFile readTransponderHeader(std::string_view bytes);

// True when the bytes read so far from a file's start settle its name: a [SATTYPE] line and after
// it the name line with its end. Without a [SATTYPE] line nothing is settled, since one may follow.
bool transponderNameSettled(std::string_view bytesSoFar);

// The name as the satellite list shows it: the line end becomes one space; a NUL ends it.
std::string satelliteNameText(const TransponderFile& file);

// What the transponder list shows of an entry: the entry without its "=" characters, ending
// at a NUL, at most 22 characters.
std::string transponderItemText(std::string_view entry);
// The listed items in file order (entries only).
std::vector<std::string> transponderItems(const TransponderFile& file);
size_t transponderEntryCount(const TransponderFile& file);

// The index of the item to select for the frequency: an item's leading number below 15000 is
// MHz; the last match wins. -1 when none matches.
int selectedTransponderIndex(const std::vector<std::string>& items, int32_t frequencyKHz);

// Edits. The text must outlive the file.
void appendTransponderEntry(TransponderFile& file, std::string_view text);
// Removes the entry shown as itemText: the one at listIndex when it shows that text, else the
// first that does. False when no entry shows it.
bool removeTransponderEntry(TransponderFile& file, size_t listIndex, std::string_view itemText);

// The whole new file: header, count, numbered entries with the other lines in place, tail.
// A file without a complete header gets the missing lines, with position as the first value.
std::string composeTransponderFile(const TransponderFile& file, int32_t position);

// "Transponders\%04d.ini"; false when it would not fit its 23 characters.
bool transponderFileName(int32_t position, std::string* name);
