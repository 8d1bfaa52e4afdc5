#include "dishcalc/geometry.h"

#include <cmath>
#include <limits>

CalculatorResults calculatorResults;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double radians(double degrees) { return degrees * kPi / 180.0; }
double degrees(double radians) { return radians * 180.0 / kPi; }

// IEEE division spelled out, so a zero denominator gives the signed infinity the formulas
// rely on even where a sanitizer would trap on a float division by zero.
double quotient(double numerator, double denominator) {
  if (denominator != 0.0) return numerator / denominator;
  if (numerator == 0.0 || std::isnan(numerator)) return std::numeric_limits<double>::quiet_NaN();
  const bool negative = std::signbit(numerator) != std::signbit(denominator);
  return negative ? -kInfinity : kInfinity;
}

double elevationFor(double latitude, double longitudeDifference) {
  const double c = std::cos(radians(latitude)) * std::cos(radians(longitudeDifference));
  return degrees(std::atan(quotient(c - kOrbitRatio, std::sqrt(1.0 - c * c))));
}

double azimuthFor(double latitude, double longitudeDifference) {
  const double a =
      degrees(std::atan(quotient(std::tan(radians(longitudeDifference)), std::sin(radians(latitude)))));
  double azimuth = latitude < 0 ? a + 360.0 : a + 180.0;
  if (azimuth > 360.0) azimuth -= 360.0;
  return azimuth;
}

double polarizationFor(double latitude, double longitudeDifference) {
  return -kDegreesPerRadian * std::atan(quotient(std::sin(longitudeDifference / kDegreesPerRadian),
                                                 std::tan(latitude / kDegreesPerRadian)));
}

}  // namespace

double siteCoordinate(int32_t degrees, int32_t minutes) {
  const double fraction = minutes / kMinutesPerDegree;
  return degrees >= 0 ? degrees + fraction : degrees - fraction;
}

double satelliteLongitude(int32_t positionNumber) {
  double longitude = positionNumber / 10.0;
  if (longitude > 180.0) longitude -= 360.0;
  return longitude;
}

bool isSubSatellitePoint(double latitude, double longitude, double satellite) {
  return longitude == satellite && latitude == 0.0;
}

void computePointingAngles(CalculatorResults& results, double latitude, double longitude, double satellite) {
  // Not reduced to +-180: the periodic functions treat 340 as -20.
  const double longitudeDifference = longitude - satellite;
  results.elevation = elevationFor(latitude, longitudeDifference);
  if (isSubSatellitePoint(latitude, longitude, satellite)) {
    results.azimuth = 0;
    results.polarization = 0;
    return;
  }
  results.azimuth = azimuthFor(latitude, longitudeDifference);
  // + 0.0 turns a negative zero (satellite due south) into 0, so it never shows as "-0.00".
  results.polarization = polarizationFor(latitude, longitudeDifference) + 0.0;
}

void computeOffsetAngle(CalculatorResults& results, uint32_t width, uint32_t height) {
  const double w = width;
  const double h = height;
  if (w >= h || quotient(h, w) > kGreatestHeightWidthRatio) {
    results.offsetAngle = kNoOffsetAngle;
    return;
  }
  const double r = w / h;  // 0.5 <= r < 1
  results.offsetAngle = degrees(std::atan2(std::sqrt(1.0 - r * r), r));
}

bool satelliteVisible(double elevation) { return elevation > kVisibilityLimit; }
