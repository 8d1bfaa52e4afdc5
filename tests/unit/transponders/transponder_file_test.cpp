#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transponders/transponder_file.h"

namespace {

using namespace std::string_literals;
using Items = std::vector<std::string>;

// A file as the program itself writes them: [SATTYPE], [DVB], CR LF, keys from 1.
std::string plainFile(const std::string& name, const Items& entries, const std::string& le = "\r\n") {
  std::string file = "[SATTYPE]" + le + "1=0192" + le + "2=" + name + le + le + "[DVB]" + le;
  file += "0=" + std::to_string(entries.size()) + le;
  for (size_t i = 0; i < entries.size(); ++i) file += std::to_string(i + 1) + "=" + entries[i] + le;
  return file;
}

Items itemsOf(const std::string& bytes) { return transponderItems(readTransponderFile(bytes)); }
std::string nameOf(const std::string& bytes) { return satelliteNameText(readTransponderFile(bytes)); }

}  // namespace

TEST(TransponderFileName, FitsOnlyIn23Characters) {
  std::string name;
  ASSERT_TRUE(transponderFileName(192, &name));
  EXPECT_EQ(name, "Transponders\\0192.ini");
  ASSERT_TRUE(transponderFileName(0, &name));
  EXPECT_EQ(name, "Transponders\\0000.ini");
  ASSERT_TRUE(transponderFileName(123456, &name));
  EXPECT_EQ(name, "Transponders\\123456.ini");
  name = "unchanged";
  EXPECT_FALSE(transponderFileName(1234567, &name));
  EXPECT_FALSE(transponderFileName(INT32_MIN, &name));
  EXPECT_EQ(name, "unchanged");
}

TEST(SatelliteName, NameWalk) {
  struct Case {
    const char* label;
    std::string bytes;
    std::string name;
  } cases[] = {
      {"plain", plainFile("Astra 1KR/1L", {"10714,H,22000"}), "Astra 1KR/1L "},
      {"empty file", "", ""},
      {"one =", "[SATTYPE]\r\n1=0192\r\n", ""},
      {"name at the end of the file", "[SATTYPE]\r\n1=0192\r\n2=Hot Bird", "Hot Bird"},
      {"further = in the name line", "[SATTYPE]\r\n1=0192\r\n2=Astra=1KR\r\n[DVB]\r\n0=1\r\n1=10714,H,22000\r\n",
       "Astra=1KR "},
      {"LF alone", plainFile("Thor 5", {"11216,V,24500"}, "\n"), "Thor 5 "},
      {"CR alone", plainFile("Thor 6", {"11216,V,24500"}, "\r"), "Thor 6 "},
      {"update section first",
       "[UPDATE]\r\nDate=01.02.2024\r\nVersion=7\r\nURL=http://x.example/a?b=c\r\n\r\n" + plainFile("Eutelsat 9B", {}),
       "Eutelsat 9B "},
      {"sattype in other case with blanks", "x=1\r\n[sattype]  \r\n1=0090\r\n2=Eutelsat\r\n", "Eutelsat "},
      {"no sattype: counting from the first byte", "a=1\r\n2=Name\r\n", "Name "},
      {"sattype inside a longer line does not count", "a=b\r\n[SATTYPE] x\r\n1=Y\r\n2=Z\r\n", "Y "},
      {"NUL ends the name", "[SATTYPE]\r\n1=0192\r\n2=Ast\0ra\r\n"s, "Ast "},
  };
  for (const Case& c : cases) EXPECT_EQ(nameOf(c.bytes), c.name) << c.label;
}

TEST(TransponderItems, EntryCollection) {
  struct Case {
    const char* label;
    std::string bytes;
    Items items;
  } cases[] = {
      {"plain", plainFile("A", {"10714,H,22000,56", "10744,H,22000"}), {"10714,H,22000,56", "10744,H,22000"}},
      {"empty file", "", {}},
      {"fewer than four =", "[SATTYPE]\r\n1=0192\r\n2=A\r\n[DVB]\r\n0=0\r\n", {}},
      {"blank line among the entries", "[SATTYPE]\r\n1=1\r\n2=A\r\n0=3\r\n1=11111,H,22000\r\n\r\n3=12222,V,27500\r\n",
       {"11111,H,22000", "", "12222,V,27500"}},
      {"= inside an entry is dropped", plainFile("A", {"107=14,H,22000"}), {"10714,H,22000"}},
      {"last entry without line end", "[SATTYPE]\r\n1=1\r\n2=A\r\n0=2\r\n1=11111,H,22000\r\n2=12222,V,27500",
       {"11111,H,22000", "12222,V,27500"}},
      {"LF alone", plainFile("A", {"11111,H,22000", "12222,V,27500"}, "\n"), {"11111,H,22000", "12222,V,27500"}},
      {"23 characters shown as 22", plainFile("A", {"10758,V,22000,34,DVB-S", "10758,V,22000,34,DVB-S2,8PSK"}),
       {"10758,V,22000,34,DVB-S", "10758,V,22000,34,DVB-S"}},
      {"comments are not listed", plainFile("A", {"11111,H,22000", "12222,V,27500"}) + "; note\r\n3=13333,H,27500\r\n",
       {"11111,H,22000", "12222,V,27500", "13333,H,27500"}},
      {"a section after the entries ends them",
       plainFile("A", {"11111,H,22000"}) + "\r\n[EXTRA]\r\n1=99999,H,99\r\n", {"11111,H,22000"}},
      {"lines before the first entry are not listed", "[SATTYPE]\r\n1=1\r\n2=A\r\n0=1\r\n\r\n\r\n1=11111,H,22000\r\n",
       {"11111,H,22000"}},
      {"text without a key is not listed", plainFile("A", {"11111,H,22000"}) + "stray words\r\n", {"11111,H,22000"}},
      {"blank line at the end stays an empty item", plainFile("A", {"11111,H,22000"}) + "\r\n", {"11111,H,22000", ""}},
      {"update section first",
       "[UPDATE]\r\nDate=01.02.2024\r\nVersion=7\r\n" + plainFile("B", {"11111,H,22000"}), {"11111,H,22000"}},
      {"name line with a further =", "[SATTYPE]\r\n1=0192\r\n2=Astra=1KR\r\n[DVB]\r\n0=1\r\n1=10714,H,22000\r\n",
       {"10714,H,22000"}},
      {"NUL ends an item", "[SATTYPE]\r\n1=1\r\n2=A\r\n0=1\r\n1=111\0x1,H\r\n"s, {"111"}},
  };
  for (const Case& c : cases) EXPECT_EQ(itemsOf(c.bytes), c.items) << c.label;
}

TEST(SelectedTransponder, FrequencyMatch) {
  const Items items = {"10714,H,22000", "14999,H,27500", "15000,V,27500", "12031000,H,27500", "", "-5,H",
                       "10714,V,27500"};
  EXPECT_EQ(selectedTransponderIndex(items, 10714000), 6);   // the later of two
  EXPECT_EQ(selectedTransponderIndex(items, 14999000), 1);   // below 15000: MHz
  EXPECT_EQ(selectedTransponderIndex(items, 15000000), -1);  // the parse stores this, the list never matches it
  EXPECT_EQ(selectedTransponderIndex(items, 15000), 2);
  EXPECT_EQ(selectedTransponderIndex(items, 12031000), 3);
  EXPECT_EQ(selectedTransponderIndex(items, 0), 4);
  EXPECT_EQ(selectedTransponderIndex(items, -5000), 5);
  EXPECT_EQ(selectedTransponderIndex({"-2147483648"}, 0), -1);  // no overflow into a false match
  EXPECT_EQ(selectedTransponderIndex({}, 10714000), -1);
}

TEST(TransponderNameSettled, OnlyAfterTheNameLineThatFollowsSatType) {
  const struct {
    const char* bytes;
    bool settled;
  } cases[] = {
      {"[UPDATE]\r\nDate=1\r\nVersion=2\r\n[SATTYPE]\r\n1=0100\r\n2=Name\r", true},
      {"[UPDATE]\r\nDate=1\r\nVersion=2\r\n[SATTYPE]\r\n1=0100\r\n2=Name", false},
      {"[UPDATE]\r\nDate=1\r\nVersion=2\r\n", false},
      {"1=0100\r\n2=Name\r\n[DVB]\r\n0=1\r\n", false},
      {"[sattype]\n1=0100\n2=Name\n", true},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(transponderNameSettled(c.bytes), c.settled) << c.bytes;
}
