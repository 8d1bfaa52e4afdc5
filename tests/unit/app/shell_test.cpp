#include <gtest/gtest.h>

#include "app/shell.h"

TEST(MainWindowOrigin, CentresHorizontallyAndSits64PixelsHigh) {
  struct Case {
    int width, height, x, y;
  } cases[] = {
      {1024, 768, 256, 128}, {800, 600, 144, 44}, {1280, 1024, 384, 256}, {500, 400, -6, -56}, {1025, 769, 256, 128},
  };
  for (const Case& c : cases) {
    const WindowOrigin origin = mainWindowOrigin(c.width, c.height);
    EXPECT_EQ(origin.x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(origin.y, c.y) << c.width << "x" << c.height;
  }
}

TEST(LogMarkers, AreFourBytesPaddedWithZeros) {
  EXPECT_EQ(markerBytes("kd;"), (MarkerBytes{0x6B, 0x64, 0x3B, 0x00}));
  EXPECT_EQ(markerBytes("ok;"), (MarkerBytes{0x6F, 0x6B, 0x3B, 0x00}));
  EXPECT_EQ(shutdownMarker(0), (MarkerBytes{'0', ';', 0, 0}));
  EXPECT_EQ(shutdownMarker(9), (MarkerBytes{'9', ';', 0, 0}));
  EXPECT_EQ(shutdownMarker(10), (MarkerBytes{'1', '0', ';', 0}));
  EXPECT_EQ(shutdownMarker(11), (MarkerBytes{'1', '1', ';', 0}));
  EXPECT_EQ(markerBytes("toolong"), (MarkerBytes{'t', 'o', 'o', 'l'}));
}
