// Dish pointing geometry: from the site's and the satellite's positions to azimuth,
// elevation, polarization skew and the offset angle of an offset dish.
#pragma once
#include <cstdint>

// The constants are the product's: results must match the figures users already have.
constexpr double kPi = 3.1415926535;               // every formula but the polarization
constexpr double kDegreesPerRadian = 57.29578;     // polarization only
constexpr double kOrbitRatio = 0.151;              // Earth radius / geostationary orbit radius
constexpr double kMinutesPerDegree = 60.0;
constexpr double kVisibilityLimit = -3.0;          // exclusive: visible when elevation > -3.0
constexpr double kGreatestHeightWidthRatio = 2.0;  // inclusive
constexpr double kNoOffsetAngle = 1000.0;

// All in degrees. Azimuth is clockwise from north; offsetAngle is kNoOffsetAngle when none applies.
struct CalculatorResults {
  double azimuth = 0;
  double elevation = 0;
  double polarization = 0;
  double offsetAngle = 0;
};

// The results the calculator window shows; kept for the whole run (all 0 at start).
extern CalculatorResults calculatorResults;

// Signed degrees from a list's degree value (negative south/west) and minutes; the
// hemisphere's sign covers the minutes too: (-33, 30) is -33.5.
double siteCoordinate(int32_t degrees, int32_t minutes);

// Position number (tenths of a degree eastward) to signed degrees, east positive:
// 130 -> 13.0, 3590 -> -1.0, 1800 -> 180.0, 1801 -> -179.9.
double satelliteLongitude(int32_t positionNumber);

// The site straight beneath the satellite, where azimuth and skew are 0/0.
bool isSubSatellitePoint(double latitude, double longitude, double satellite);

// Sets azimuth, elevation and polarization; leaves the offset angle alone.
// Never yields NaN: zero denominators give IEEE infinities whose arctangent is +-90.
void computePointingAngles(CalculatorResults& results, double latitude, double longitude, double satellite);

// Sets the offset angle from the dish's width and height (any one unit).
void computeOffsetAngle(CalculatorResults& results, uint32_t width, uint32_t height);

bool satelliteVisible(double elevation);
inline bool hasOffsetAngle(const CalculatorResults& results) { return results.offsetAngle != kNoOffsetAngle; }
inline double offsetDishElevation(const CalculatorResults& results) {
  return results.elevation - results.offsetAngle;
}
