// Names in the character tables broadcasters use, as the window shows them (Windows-1252).
#include <gtest/gtest.h>

#include <string>

#include "satcheck/dvb_text.h"

TEST(DvbText, EachTableShowsWhatWindows1252Can) {
  using std::string;
  struct Case {
    const char* name;
    string in;
    string shown;
  } cases[] = {
      {"empty", "", ""},
      {"plain ASCII in the default table", "ASTRA", "ASTRA"},
      {"default table accents over the next letter", "M\xC8unchen Caf\xC2" "e", "M\xFCnchen Caf\xE9"},
      {"default table caron on S", "\xCFSkoda", "\x8Akoda"},
      {"default table accent on a letter 1252 lacks", "\xC2n", "?"},
      {"accent as the last byte", "A\xC1", "A?"},
      {"default table single characters", "\xA3 \xE9 \xFB \xE2", "\xA3 \xD8 \xDF ?"},
      {"emphasis codes dropped, line break a space", "A\x86" "B\x87\x8A" "C", "AB C"},
      {"ISO 8859-5 (0x01): Cyrillic cannot show", "\x01\xB0\xB1 TV", "?? TV"},
      {"ISO 8859-9 (0x05)", "\x05T\xDDRK\xC7\xC6", "T?RK\xC7\xC6"},
      {"ISO 8859-15 (0x0B) euro sign", "\x0B\xA4 5", "\x80 5"},
      {"ISO 8859-1 by number", string("\x10\x00\x01\xE9t\xE9", 6), "\xE9t\xE9"},
      {"ISO 8859-2 by number", string("\x10\x00\x02\xA9\xE8", 5), "\x8A?"},
      {"ISO 8859 selector cut short", string("\x10\x00", 2), ""},
      {"unknown part number", string("\x10\x00\x0C" "A\xE0", 5), "A?"},
      {"UTF-8", "\x15" "Caf\xC3\xA9 \xE2\x82\xAC \xD0\x96", "Caf\xE9 \x80 ?"},
      {"UTF-8 broken and cut", "\x15" "a\xC3" "b\xE2\x82", "a?b??"},
      {"UCS-2", string("\x11\x00" "A\x00\xE9\x04\x16\x00", 8), "A\xE9?"},
      {"Korean table: ASCII only", "\x12" "KBS\xB0\xA1", "KBS??"},
      {"encoding type id selector", string("\x1F\x01" "ab", 4), "ab"},
      {"lone encoding type id byte", "\x1F", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(dvbTextToAnsi(c.in), c.shown) << c.name;
}
