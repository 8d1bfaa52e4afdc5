#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <unordered_map>

#include "dishcalc/geometry.h"

namespace {

// Results are compared as the calculator shows them: two decimals.
std::string twoDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.2f", value);
  return text;
}

struct Site {
  int32_t latitudeDegrees, latitudeMinutes, longitudeDegrees, longitudeMinutes, position;
};

CalculatorResults pointingFor(const Site& site) {
  CalculatorResults results;
  computePointingAngles(results, siteCoordinate(site.latitudeDegrees, site.latitudeMinutes),
                        siteCoordinate(site.longitudeDegrees, site.longitudeMinutes),
                        satelliteLongitude(site.position));
  return results;
}

}  // namespace

TEST(SiteCoordinate, HemisphereSignCoversTheMinutes) {
  const struct {
    int32_t degrees, minutes;
    double expected;
  } cases[] = {
      {50, 0, 50.0}, {-33, 30, -33.5}, {0, 0, 0.0}, {0, 30, 0.5}, {90, 0, 90.0},
      {-90, 0, -90.0}, {18, 25, 18.0 + 25.0 / 60}, {-180, 0, -180.0}, {-1, 59, -1.0 - 59.0 / 60},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(siteCoordinate(c.degrees, c.minutes), c.expected) << c.degrees << " " << c.minutes;
  EXPECT_EQ(twoDecimals(siteCoordinate(-33, 55)), "-33.92");
}

TEST(SatelliteLongitude, EastUpTo1800AndWestFrom1801) {
  const struct {
    int32_t position;
    double expected;
  } cases[] = {{130, 13.0}, {3590, -1.0}, {1800, 180.0}, {1801, -179.9}, {0, 0.0}, {3599, -0.1}, {2500, -110.0}};
  // p / 10 - 360 carries the rounding of the subtraction (3599 is -0.1000000000000227).
  for (const auto& c : cases) EXPECT_NEAR(satelliteLongitude(c.position), c.expected, 1e-12) << c.position;
}

TEST(PointingAngles, WorkedExamples) {
  const struct {
    Site site;
    const char *elevation, *azimuth, *polarization;
  } cases[] = {
      {{50, 0, 20, 0, 130}, "32.31", "189.11", "-5.84"},
      {{-33, 55, 18, 25, 3590}, "45.42", "327.72", "26.31"},
      {{50, 0, 20, 0, 2500}, "-31.78", nullptr, nullptr},
      // Equator, satellite east and west of the site: quotients of +-infinity.
      {{0, 0, 13, 0, 200}, nullptr, "90.00", "90.00"},
      {{0, 0, 13, 0, 60}, nullptr, "270.00", "-90.00"},
  };
  for (const auto& c : cases) {
    const CalculatorResults r = pointingFor(c.site);
    SCOPED_TRACE(testing::Message() << c.site.latitudeDegrees << "/" << c.site.longitudeDegrees << " sat "
                                    << c.site.position);
    if (c.elevation) {
      EXPECT_EQ(twoDecimals(r.elevation), c.elevation);
    }
    if (c.azimuth) {
      EXPECT_EQ(twoDecimals(r.azimuth), c.azimuth);
    }
    if (c.polarization) {
      EXPECT_EQ(twoDecimals(r.polarization), c.polarization);
    }
  }
}

TEST(PointingAngles, VisibilityLimitIsExclusive) {
  EXPECT_FALSE(satelliteVisible(pointingFor({50, 0, 20, 0, 2500}).elevation));
  EXPECT_TRUE(satelliteVisible(pointingFor({50, 0, 20, 0, 130}).elevation));
  // At 90 degrees north the whole orbit lies below the limit (about -8.6).
  const CalculatorResults pole = pointingFor({90, 0, 180, 0, 130});
  EXPECT_EQ(twoDecimals(pole.elevation), "-8.59");
  EXPECT_FALSE(satelliteVisible(pole.elevation));
  EXPECT_FALSE(satelliteVisible(-3.0));
  EXPECT_TRUE(satelliteVisible(std::nextafter(-3.0, 0.0)));
}

TEST(PointingAngles, SiteBeneathTheSatelliteLooksStraightUp) {
  CalculatorResults r;
  r.azimuth = r.polarization = 77;  // must be overwritten, not left over
  computePointingAngles(r, siteCoordinate(0, 0), siteCoordinate(13, 0), satelliteLongitude(130));
  EXPECT_EQ(r.azimuth, 0.0);
  EXPECT_EQ(r.polarization, 0.0);
  EXPECT_EQ(twoDecimals(r.elevation), "90.00");
  EXPECT_FALSE(std::isnan(r.azimuth) || std::isnan(r.polarization) || std::isnan(r.elevation));
  EXPECT_TRUE(isSubSatellitePoint(0.0, 13.0, 13.0));
  EXPECT_FALSE(isSubSatellitePoint(0.5, 13.0, 13.0));
  EXPECT_FALSE(isSubSatellitePoint(0.0, 13.0, 13.1));
}

TEST(PointingAngles, SatelliteDueNorthOrSouthHasNoSkew) {
  // Southern site: due north is 360, not 0.
  const CalculatorResults south = pointingFor({-33, 0, 13, 0, 130});
  EXPECT_EQ(twoDecimals(south.azimuth), "360.00");
  EXPECT_EQ(twoDecimals(south.polarization), "0.00");
  // Northern site: due south, and the skew shows as 0.00, never "-0.00".
  const CalculatorResults north = pointingFor({50, 0, 13, 0, 130});
  EXPECT_EQ(twoDecimals(north.azimuth), "180.00");
  EXPECT_EQ(twoDecimals(north.polarization), "0.00");
  EXPECT_FALSE(north.polarization < 0 || north.polarization > 0);
}

TEST(PointingAngles, DifferenceIsNotReducedButActsPeriodically) {
  // 170 E with a satellite at 170 W (340 apart) equals 170 W with one at 150 W (20 apart).
  const CalculatorResults wrapped = pointingFor({40, 0, 170, 0, 1900});
  const CalculatorResults direct = pointingFor({40, 0, -170, 0, 2100});
  EXPECT_EQ(twoDecimals(wrapped.elevation), twoDecimals(direct.elevation));
  EXPECT_EQ(twoDecimals(wrapped.azimuth), twoDecimals(direct.azimuth));
  EXPECT_EQ(twoDecimals(wrapped.polarization), twoDecimals(direct.polarization));
}

TEST(PointingAngles, LeavesTheOffsetAngleAlone) {
  CalculatorResults r;
  r.offsetAngle = 33.5;
  computePointingAngles(r, 50, 20, 13);
  EXPECT_EQ(r.offsetAngle, 33.5);
}

TEST(OffsetAngle, RatioRules) {
  const struct {
    uint32_t width, height;
    const char* expected;  // nullptr: no offset angle
  } cases[] = {
      {1000, 1200, "33.56"},
      {800, 900, "27.27"},
      {500, 1000, "60.00"},  // ratio exactly 2 is inclusive
      {999, 1000, "2.56"},
      {1000, 1000, nullptr},
      {1200, 1000, nullptr},
      {600, 1300, nullptr},  // ratio above 2
      {499, 1000, nullptr},
      {0, 1200, nullptr},    // width 0: infinite ratio
      {0, 0, nullptr},
      {1000, 0, nullptr},
      {4294967295u, 4294967295u, nullptr},
      {2147483648u, 4294967295u, "60.00"},
  };
  for (const auto& c : cases) {
    CalculatorResults r;
    computeOffsetAngle(r, c.width, c.height);
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    if (c.expected) {
      EXPECT_TRUE(hasOffsetAngle(r));
      EXPECT_EQ(twoDecimals(r.offsetAngle), c.expected);
    } else {
      EXPECT_EQ(r.offsetAngle, kNoOffsetAngle);
      EXPECT_FALSE(hasOffsetAngle(r));
    }
  }
}

TEST(OffsetAngle, OffsetDishElevationOfTheExamples) {
  CalculatorResults r = pointingFor({50, 0, 20, 0, 130});
  computeOffsetAngle(r, 1000, 1200);
  EXPECT_EQ(twoDecimals(offsetDishElevation(r)), "-1.25");
  r = pointingFor({-33, 55, 18, 25, 3590});
  computeOffsetAngle(r, 800, 900);
  EXPECT_EQ(twoDecimals(offsetDishElevation(r)), "18.15");
}

// Every site at whole degrees against every satellite position. The results depend on the
// site's longitude and the satellite's only through their difference, so every pair is visited
// at the latitudes where quotients turn infinite or tiny (0, +-1, +-90), and every distinct
// difference (as a double) at every whole latitude.
TEST(PointingAngles, SweepFindsNoNaNAndStaysInRange) {
  const auto check = [](double latitude, double longitude, double satellite) {
    CalculatorResults r;
    computePointingAngles(r, latitude, longitude, satellite);
    const bool ok = !std::isnan(r.azimuth) && !std::isnan(r.elevation) && !std::isnan(r.polarization) &&
                    std::fabs(r.elevation) <= 90.00001 && std::fabs(r.polarization) <= 90.00001 &&
                    r.azimuth >= 0 && r.azimuth <= 360;
    bool azimuthInHemisphere = true;
    if (!isSubSatellitePoint(latitude, longitude, satellite)) {
      azimuthInHemisphere = latitude >= 0 ? (r.azimuth >= 89.99999 && r.azimuth <= 270.00001)
                                          : (r.azimuth > 0 && (r.azimuth <= 90.00001 || r.azimuth >= 269.99999));
    }
    if (!ok || !azimuthInHemisphere) {
      ADD_FAILURE() << "site " << latitude << "/" << longitude << " satellite " << satellite << ": azimuth "
                    << r.azimuth << " elevation " << r.elevation << " polarization " << r.polarization;
      return false;
    }
    return true;
  };

  std::unordered_map<double, std::pair<double, double>> pairByDifference;
  int failures = 0;
  for (int32_t longitude = -180; longitude <= 180 && failures < 5; ++longitude) {
    for (int32_t position = 0; position < 3600 && failures < 5; ++position) {
      const double lambda = siteCoordinate(longitude, 0);
      const double sigma = satelliteLongitude(position);
      pairByDifference.emplace(lambda - sigma, std::make_pair(lambda, sigma));
      for (int32_t latitude : {0, 1, -1, 90, -90})
        if (!check(siteCoordinate(latitude, 0), lambda, sigma)) ++failures;
    }
  }
  ASSERT_GT(pairByDifference.size(), 7200u);
  for (int32_t latitude = -90; latitude <= 90 && failures < 5; ++latitude)
    for (const auto& [difference, pair] : pairByDifference)
      if (!check(siteCoordinate(latitude, 0), pair.first, pair.second) && ++failures >= 5) break;
}
