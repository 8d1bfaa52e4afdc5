#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "transponders/transponder_parse.h"

TEST(LeadingInteger, ReadsLikeTheCLibrary) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"10714,H", 10714},   {"  \t12345", 12345}, {"+42x", 42},           {"-17", -17},
      {"abc", 0},           {"", 0},              {"- 5", 0},             {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX}, {"99999999999999999999", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"-99999999999999999999", INT32_MIN}, {"\r\n7", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(leadingInteger(c.text), c.expected) << c.text;
}

namespace {

struct ParseCase {
  const char* text;
  int expected;           // status index, or kTransponderTextValid
  int32_t frequencyKHz;   // what is stored afterwards (when the rule was reached)
  int32_t polarization;
  int32_t symbolRate;
};

constexpr int kValid = kTransponderTextValid;
constexpr int32_t kUntouched = -99;

}  // namespace

// Each row starts from values set to kUntouched, so a row also shows what a failure leaves.
TEST(ParseTransponderEntry, BoundsAndMessages) {
  const ParseCase table[] = {
      {"1071,H,2200", 2, 1071000, kUntouched, kUntouched},   // 11 characters reach the later rules
      {"10714H22000", kValid, 10714000, 1, 22000},           // 11 characters, valid
      {"10714H2200", 1, kUntouched, kUntouched, kUntouched}, // 10 characters
      {"10714,H,22000,56,DVBS2", kValid, 10714000, 1, 22000},   // 22 characters
      {"10714,H,22000,56,DVBS2x", 1, kUntouched, kUntouched, kUntouched},  // 23 characters
      {"", 1, kUntouched, kUntouched, kUntouched},
      // Frequency bounds, MHz up to 15000, kHz above.
      {"3399,H,27500", kValid, 3399000, 1, 27500},
      {"3398,H,27500", 2, 3398000, kUntouched, kUntouched},
      {"15000,H,27500", kValid, 15000000, 1, 27500},
      {"15001,H,27500", 2, 15001, kUntouched, kUntouched},
      {"15000001,H,27500", kValid, 15000001, 1, 27500},
      {"15000002,H,27500", 2, 15000002, kUntouched, kUntouched},
      {"3399000,V,27500", kValid, 3399000, 0, 27500},
      {"3398999,V,27500", 2, 3398999, kUntouched, kUntouched},
      {"-10714,H,22000", 2, -10714, kUntouched, kUntouched},  // unsigned: negative is very large
      {"H,22000,10714", 2, 0, kUntouched, kUntouched},        // no leading number gives 0
      {"9999999999,H,27", 2, INT32_MAX, kUntouched, kUntouched},
      // Polarization: the first letter anywhere decides, either case.
      {"10714 h 22000", kValid, 10714000, 1, 22000},
      {"10714 l 22000", kValid, 10714000, 1, 22000},
      {"10714 L 22000", kValid, 10714000, 1, 22000},
      {"10714 v 22000", kValid, 10714000, 0, 22000},
      {"10714 r 22000", kValid, 10714000, 0, 22000},
      {"10714 R 22000", kValid, 10714000, 0, 22000},
      {"10714 V 22000 H", kValid, 10714000, 0, 22000},
      {"10714 H 22000 V", kValid, 10714000, 1, 22000},
      {"10714 x 22000", 3, 10714000, 2, kUntouched},
      // Separators between letter and rate.
      {"10714H22000x", kValid, 10714000, 1, 22000},
      {"10714,H,22000", kValid, 10714000, 1, 22000},
      {"10714,H 22000", kValid, 10714000, 1, 22000},
      {"10714,H   22000", kValid, 10714000, 1, 22000},
      {"10714,H,,22000", 4, 10714000, 1, 0},
      // Symbol rate: 1000 to 45000 kS/s; above 45000 it is S/s.
      {"10714,H,1000", kValid, 10714000, 1, 1000},
      {"10714,H,999", 4, 10714000, 1, 999},
      {"10714,H,45000", kValid, 10714000, 1, 45000},
      {"10714,H,45001", 4, 10714000, 1, 45},
      {"10714,H,27500000", kValid, 10714000, 1, 27500},
      {"10714,H,27500999", kValid, 10714000, 1, 27500},
      {"10714,H,999999", 4, 10714000, 1, 999},
      {"10714,H,45000999", kValid, 10714000, 1, 45000},
      {"10714,H,45001000", 4, 10714000, 1, 45001},
      {"10714,H,-27500", 4, 10714000, 1, -27500},
      {"10714,H", 1, kUntouched, kUntouched, kUntouched},
      {"10714,H,rate", 4, 10714000, 1, 0},
      {"10714,H,", 1, kUntouched, kUntouched, kUntouched},
      {"10714,Hello", 4, 10714000, 1, 0},  // 11 characters; "e" after the letter
  };
  for (const ParseCase& c : table) {
    TuningResult values{kUntouched, kUntouched, kUntouched};
    EXPECT_EQ(parseTransponderEntry(c.text, values), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(values.frequencyKHz, c.frequencyKHz) << '"' << c.text << '"';
    EXPECT_EQ(values.polarization, c.polarization) << '"' << c.text << '"';
    EXPECT_EQ(values.symbolRate, c.symbolRate) << '"' << c.text << '"';
  }
}

TEST(ParseTransponderEntry, LetterAtTheVeryEndHasNoRateAfterIt) {
  TuningResult values{0, 0, 0};
  EXPECT_EQ(parseTransponderEntry("10714,27500H", values), kStatusInvalidSymbolRate);
  EXPECT_EQ(values.polarization, 1);
  EXPECT_EQ(values.symbolRate, 0);
}

TEST(DvbS2Mark, OnlyTheLastFieldCountsAndTheParseIgnoresIt) {
  const struct {
    const char* text;
    bool marked;
  } cases[] = {{"11259,V,22000,S2", true}, {"10758,V,27500,34,S2", true}, {"10758,V,27500,34, s2 ", true},
               {"10714,H,22000,56", false}, {"11259,V,22000,S2,5", false}, {"11259,V,22000S2", false},
               {"11259,V,22000,S22", false}, {"S2", false}};
  for (const auto& c : cases) EXPECT_EQ(dvbS2Marked(c.text), c.marked) << c.text;
  TuningResult plain{}, marked{};
  EXPECT_EQ(parseTransponderEntry("11259,V,22000", plain), parseTransponderEntry("11259,V,22000,S2", marked));
  EXPECT_EQ(plain.symbolRate, marked.symbolRate);
}

TEST(StatusMessageText, KnownIndexesAndTheEmptyRest) {
  EXPECT_STREQ(statusMessageText(0), "Please wait ...");
  EXPECT_STREQ(statusMessageText(1), "Incorrect transponder parameters.");
  EXPECT_STREQ(statusMessageText(2), "Invalid transponder frequency.");
  EXPECT_STREQ(statusMessageText(3), "Invalid polarisation.");
  EXPECT_STREQ(statusMessageText(4), "Invalid symbol rate.");
  EXPECT_STREQ(statusMessageText(-1), "");
  EXPECT_STREQ(statusMessageText(5), "Cannot start watching.");
  EXPECT_STREQ(statusMessageText(6), "");
}
