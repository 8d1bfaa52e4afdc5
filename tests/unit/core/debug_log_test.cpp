#include <gtest/gtest.h>

#include "core/debug_log.h"

TEST(LogMarkers, AreFourBytesPaddedWithZeros) {
  EXPECT_EQ(markerBytes("kd;"), (MarkerBytes{0x6B, 0x64, 0x3B, 0x00}));
  EXPECT_EQ(markerBytes("ok;"), (MarkerBytes{0x6F, 0x6B, 0x3B, 0x00}));
  EXPECT_EQ(markerBytes("0;"), (MarkerBytes{'0', ';', 0, 0}));
  EXPECT_EQ(markerBytes("11;"), (MarkerBytes{'1', '1', ';', 0}));
  EXPECT_EQ(markerBytes("toolong"), (MarkerBytes{'t', 'o', 'o', 'l'}));
}

TEST(LogNotes, EndInASemicolonAndFillWholeMarkers) {
  EXPECT_EQ(noteBytes("ab"), (std::vector<uint8_t>{'a', 'b', ';', 0}));
  EXPECT_EQ(noteBytes("abc"), (std::vector<uint8_t>{'a', 'b', 'c', ';'}));
  EXPECT_EQ(noteBytes("abcd"), (std::vector<uint8_t>{'a', 'b', 'c', 'd', ';', 0, 0, 0}));
}
