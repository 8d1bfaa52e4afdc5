#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "dishcalc/magnetic_model.h"

// The grid of sites (latitude -80 to 80 by 10, longitude -180 to 180 by 30) at three dates, as
// npm's geomagnetism computes it; ctest makes the file first and names it in this variable.
TEST(MagneticModel, AgreesWithAnIndependentImplementationOverTheGrid) {
  const char* path = std::getenv("QV_MAGNETIC_REFERENCE");
  if (path == nullptr) GTEST_SKIP() << "QV_MAGNETIC_REFERENCE is set when ctest runs this";
  std::ifstream reference(path);
  ASSERT_TRUE(reference.good()) << path;
  int year, month, day, sites = 0;
  double latitude, longitude, expected, horizontal, largest = 0;
  while (reference >> year >> month >> day >> latitude >> longitude >> expected >> horizontal) {
    const MagneticField got = magneticField(latitude, longitude, decimalYear(year, month, day));
    EXPECT_NEAR(got.declination, expected, 0.05) << year << "-" << month << "-" << day << " " << latitude << " " << longitude;
    EXPECT_NEAR(got.horizontal, horizontal, 0.5) << year << "-" << month << "-" << day << " " << latitude << " " << longitude;
    largest = std::fmax(largest, std::fabs(got.declination - expected));
    ++sites;
  }
  EXPECT_EQ(sites, 17 * 13 * 3);
  // Two computations of one table agree to about 1e-6; a coefficient changed in its last
  // digit (0.1 nT) moves some site of the grid by more than 1e-4.
  EXPECT_LT(largest, 1e-4) << "largest difference over the grid";
}

TEST(MagneticModel, PolesAndTheModelsYearsGiveNumbers) {
  for (double latitude : {90.0, 89.99, 85.0, -85.0, -89.99, -90.0}) {
    for (double longitude : {-180.0, 0.0, 137.5}) {
      for (double year : {2025.0, 2029.99, 2030.0, 2040.0}) {
        const MagneticField field = magneticField(latitude, longitude, year);
        EXPECT_TRUE(std::isfinite(field.declination) && std::isfinite(field.horizontal))
            << latitude << " " << longitude << " " << year;
        EXPECT_LE(std::fabs(field.declination), 180.0);
      }
    }
  }
  // Nearer the pole the meridians converge, yet the field one step short of it stays close.
  EXPECT_NEAR(magneticField(89.999, 0, 2026).declination, magneticField(90, 0, 2026).declination, 0.5);
}

TEST(MagneticModel, ValidFrom2025UpTo2030) {
  const struct {
    double year;
    bool valid;
  } cases[] = {{2024.999, false}, {2025.0, true}, {2029.99, true}, {2030.0, false}, {2031.0, false}};
  for (const auto& c : cases) EXPECT_EQ(magneticModelValid(c.year), c.valid) << c.year;
}

TEST(MagneticModel, DecimalYearCountsTheDaysBefore) {
  const struct {
    int year, month, day;
    double expected;
  } cases[] = {
      {2025, 1, 1, 2025.0},
      {2025, 3, 1, 2025 + 59 / 365.0},
      {2028, 3, 1, 2028 + 60 / 366.0},  // leap year: February has 29 days
      {2100, 3, 1, 2100 + 59 / 365.0},  // a century is no leap year
      {2029, 12, 31, 2029 + 364 / 365.0},
      {2030, 1, 1, 2030.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(decimalYear(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month << "-" << c.day;
}

// Horizontal intensity on 1 January 2026 as npm's geomagnetism gives it: in the blackout zone near
// the south magnetic pole, in the caution zone, and in southern Poland.
TEST(MagneticModel, HorizontalIntensityNearTheMagneticPoleAndAway) {
  const struct {
    double latitude, longitude, horizontal;
  } cases[] = {{-64, 137, 617.5}, {-70, 140, 4711.7}, {50, 20, 19862.3}};
  for (const auto& c : cases)
    EXPECT_NEAR(magneticField(c.latitude, c.longitude, 2026.0).horizontal, c.horizontal, 1.0) << c.latitude << " " << c.longitude;
}
