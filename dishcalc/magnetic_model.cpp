#include "dishcalc/magnetic_model.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kDegree = 12;

struct Coefficient {
  int n, m;
  double g, h;        // main field at the epoch, nT
  double gDot, hDot;  // secular variation, nT a year
};

// World Magnetic Model 2025 (NOAA NCEI and the British Geological Survey, public domain):
// Gauss coefficients to degree and order 12 with their secular variation, epoch 2025.0. The
// numbers are the model's published coefficient table as carried in data/wmm-2025.json of
// npm's geomagnetism 0.2.0.
constexpr Coefficient kWmm2025[] = {
    { 1,  0,  -29351.8,       0.0,  12.0,   0.0},
    { 1,  1,   -1410.8,    4545.4,   9.7, -21.5},
    { 2,  0,   -2556.6,       0.0, -11.6,   0.0},
    { 2,  1,    2951.1,   -3133.6,  -5.2, -27.7},
    { 2,  2,    1649.3,    -815.1,  -8.0, -12.1},
    { 3,  0,    1361.0,       0.0,  -1.3,   0.0},
    { 3,  1,   -2404.1,     -56.6,  -4.2,   4.0},
    { 3,  2,    1243.8,     237.5,   0.4,  -0.3},
    { 3,  3,     453.6,    -549.5, -15.6,  -4.1},
    { 4,  0,     895.0,       0.0,  -1.6,   0.0},
    { 4,  1,     799.5,     278.6,  -2.4,  -1.1},
    { 4,  2,      55.7,    -133.9,  -6.0,   4.1},
    { 4,  3,    -281.1,     212.0,   5.6,   1.6},
    { 4,  4,      12.1,    -375.6,  -7.0,  -4.4},
    { 5,  0,    -233.2,       0.0,   0.6,   0.0},
    { 5,  1,     368.9,      45.4,   1.4,  -0.5},
    { 5,  2,     187.2,     220.2,   0.0,   2.2},
    { 5,  3,    -138.7,    -122.9,   0.6,   0.4},
    { 5,  4,    -142.0,      43.0,   2.2,   1.7},
    { 5,  5,      20.9,     106.1,   0.9,   1.9},
    { 6,  0,      64.4,       0.0,  -0.2,   0.0},
    { 6,  1,      63.8,     -18.4,  -0.4,   0.3},
    { 6,  2,      76.9,      16.8,   0.9,  -1.6},
    { 6,  3,    -115.7,      48.8,   1.2,  -0.4},
    { 6,  4,     -40.9,     -59.8,  -0.9,   0.9},
    { 6,  5,      14.9,      10.9,   0.3,   0.7},
    { 6,  6,     -60.7,      72.7,   0.9,   0.9},
    { 7,  0,      79.5,       0.0,   0.0,   0.0},
    { 7,  1,     -77.0,     -48.9,  -0.1,   0.6},
    { 7,  2,      -8.8,     -14.4,  -0.1,   0.5},
    { 7,  3,      59.3,      -1.0,   0.5,  -0.8},
    { 7,  4,      15.8,      23.4,  -0.1,   0.0},
    { 7,  5,       2.5,      -7.4,  -0.8,  -1.0},
    { 7,  6,     -11.1,     -25.1,  -0.8,   0.6},
    { 7,  7,      14.2,      -2.3,   0.8,  -0.2},
    { 8,  0,      23.2,       0.0,  -0.1,   0.0},
    { 8,  1,      10.8,       7.1,   0.2,  -0.2},
    { 8,  2,     -17.5,     -12.6,   0.0,   0.5},
    { 8,  3,       2.0,      11.4,   0.5,  -0.4},
    { 8,  4,     -21.7,      -9.7,  -0.1,   0.4},
    { 8,  5,      16.9,      12.7,   0.3,  -0.5},
    { 8,  6,      15.0,       0.7,   0.2,  -0.6},
    { 8,  7,     -16.8,      -5.2,   0.0,   0.3},
    { 8,  8,       0.9,       3.9,   0.2,   0.2},
    { 9,  0,       4.6,       0.0,   0.0,   0.0},
    { 9,  1,       7.8,     -24.8,  -0.1,  -0.3},
    { 9,  2,       3.0,      12.2,   0.1,   0.3},
    { 9,  3,      -0.2,       8.3,   0.3,  -0.3},
    { 9,  4,      -2.5,      -3.3,  -0.3,   0.3},
    { 9,  5,     -13.1,      -5.2,   0.0,   0.2},
    { 9,  6,       2.4,       7.2,   0.3,  -0.1},
    { 9,  7,       8.6,      -0.6,  -0.1,  -0.2},
    { 9,  8,      -8.7,       0.8,   0.1,   0.4},
    { 9,  9,     -12.9,      10.0,  -0.1,   0.1},
    {10,  0,      -1.3,       0.0,   0.1,   0.0},
    {10,  1,      -6.4,       3.3,   0.0,   0.0},
    {10,  2,       0.2,       0.0,   0.1,   0.0},
    {10,  3,       2.0,       2.4,   0.1,  -0.2},
    {10,  4,      -1.0,       5.3,   0.0,   0.1},
    {10,  5,      -0.6,      -9.1,  -0.3,  -0.1},
    {10,  6,      -0.9,       0.4,   0.0,   0.1},
    {10,  7,       1.5,      -4.2,  -0.1,   0.0},
    {10,  8,       0.9,      -3.8,  -0.1,  -0.1},
    {10,  9,      -2.7,       0.9,   0.0,   0.2},
    {10, 10,      -3.9,      -9.1,   0.0,   0.0},
    {11,  0,       2.9,       0.0,   0.0,   0.0},
    {11,  1,      -1.5,       0.0,   0.0,   0.0},
    {11,  2,      -2.5,       2.9,   0.0,   0.1},
    {11,  3,       2.4,      -0.6,   0.0,   0.0},
    {11,  4,      -0.6,       0.2,   0.0,   0.1},
    {11,  5,      -0.1,       0.5,  -0.1,   0.0},
    {11,  6,      -0.6,      -0.3,   0.0,   0.0},
    {11,  7,      -0.1,      -1.2,   0.0,   0.1},
    {11,  8,       1.1,      -1.7,  -0.1,   0.0},
    {11,  9,      -1.0,      -2.9,  -0.1,   0.0},
    {11, 10,      -0.2,      -1.8,  -0.1,   0.0},
    {11, 11,       2.6,      -2.3,  -0.1,   0.0},
    {12,  0,      -2.0,       0.0,   0.0,   0.0},
    {12,  1,      -0.2,      -1.3,   0.0,   0.0},
    {12,  2,       0.3,       0.7,   0.0,   0.0},
    {12,  3,       1.2,       1.0,   0.0,  -0.1},
    {12,  4,      -1.3,      -1.4,   0.0,   0.1},
    {12,  5,       0.6,       0.0,   0.0,   0.0},
    {12,  6,       0.6,       0.6,   0.1,   0.0},
    {12,  7,       0.5,      -0.1,   0.0,   0.0},
    {12,  8,      -0.1,       0.8,   0.0,   0.0},
    {12,  9,      -0.4,       0.1,   0.0,   0.0},
    {12, 10,      -0.2,      -1.0,  -0.1,   0.0},
    {12, 11,      -1.3,       0.1,   0.0,   0.0},
    {12, 12,      -0.7,       0.2,  -0.1,  -0.1},
};

// WGS 84 ellipsoid and the model's reference sphere, km.
constexpr double kEquatorialRadius = 6378.137;
constexpr double kFlattening = 1 / 298.257223563;
constexpr double kEccentricitySquared = kFlattening * (2 - kFlattening);
constexpr double kReferenceRadius = 6371.2;

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Schmidt semi-normalised associated Legendre functions of cos(colatitude) with their
// derivatives by colatitude. For m >= 1 each function carries a factor sin(colatitude); the
// east component needs the function divided by it, which the same recursion gives when
// started without that factor: no division, so the poles stay finite.
struct Legendre {
  double p[kDegree + 1][kDegree + 1] = {};
  double dp[kDegree + 1][kDegree + 1] = {};
  double pOverSin[kDegree + 1][kDegree + 1] = {};

  Legendre(double cosTheta, double sinTheta) {
    p[0][0] = 1;
    for (int n = 1; n <= kDegree; ++n) {
      for (int m = 0; m < n; ++m) {
        const double scale = 1 / std::sqrt(double(n * n - m * m));
        const double a = (2 * n - 1) * scale;
        const double b = n >= 2 ? std::sqrt(double((n - 1) * (n - 1) - m * m)) * scale : 0;
        const double p2 = n >= 2 ? p[n - 2][m] : 0;
        const double dp2 = n >= 2 ? dp[n - 2][m] : 0;
        const double q2 = n >= 2 ? pOverSin[n - 2][m] : 0;
        p[n][m] = a * cosTheta * p[n - 1][m] - b * p2;
        dp[n][m] = a * (cosTheta * dp[n - 1][m] - sinTheta * p[n - 1][m]) - b * dp2;
        pOverSin[n][m] = a * cosTheta * pOverSin[n - 1][m] - b * q2;
      }
      // The sectoral term: sqrt((2n-1)/2n) sin(theta) times the previous one, but plain
      // sin(theta) from degree 0 to 1, where the normalisation of order 0 differs.
      const double k = n == 1 ? 1 : std::sqrt((2.0 * n - 1) / (2.0 * n));
      p[n][n] = k * sinTheta * p[n - 1][n - 1];
      dp[n][n] = k * (cosTheta * p[n - 1][n - 1] + sinTheta * dp[n - 1][n - 1]);
      pOverSin[n][n] = n == 1 ? 1 : k * sinTheta * pOverSin[n - 1][n - 1];
    }
  }
};

}  // namespace

double decimalYear(int year, int month, int day) {
  static constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const bool leap = isLeapYear(year);
  const int monthIndex = month < 1 ? 0 : month > 12 ? 11 : month - 1;
  const int dayOfYear = kDaysBefore[monthIndex] + (leap && monthIndex >= 2 ? 1 : 0) + day - 1;
  return year + dayOfYear / (leap ? 366.0 : 365.0);
}

bool magneticModelValid(double year) { return year >= kMagneticModelEpoch && year < kMagneticModelEnd; }

MagneticField magneticField(double latitude, double longitude, double year) {
  // Geodetic to geocentric spherical coordinates at height 0.
  const double phi = latitude * kRadiansPerDegree;
  const double lambda = longitude * kRadiansPerDegree;
  const double sinPhi = std::sin(phi);
  const double primeVertical = kEquatorialRadius / std::sqrt(1 - kEccentricitySquared * sinPhi * sinPhi);
  const double p = primeVertical * std::cos(phi);
  const double z = primeVertical * (1 - kEccentricitySquared) * sinPhi;
  const double r = std::hypot(p, z);
  const double sinGeocentric = z / r;  // cos(colatitude)
  const double cosGeocentric = p / r;  // sin(colatitude), >= 0
  const Legendre legendre(sinGeocentric, cosGeocentric);

  // Field in the geocentric frame: north, east and down components, nT.
  const double t = year - kMagneticModelEpoch;
  double north = 0, east = 0, down = 0;
  for (const Coefficient& c : kWmm2025) {
    const double g = c.g + t * c.gDot;
    const double h = c.h + t * c.hDot;
    const double radial = std::pow(kReferenceRadius / r, c.n + 2);
    const double cosM = std::cos(c.m * lambda);
    const double sinM = std::sin(c.m * lambda);
    const double gh = g * cosM + h * sinM;
    north += radial * gh * legendre.dp[c.n][c.m];
    east += radial * c.m * (g * sinM - h * cosM) * legendre.pOverSin[c.n][c.m];
    down -= radial * (c.n + 1) * gh * legendre.p[c.n][c.m];
  }
  // Tilt north back into the ellipsoid's local horizontal; east is the same in both frames.
  const double tilt = std::asin(sinGeocentric) - phi;
  const double geodeticNorth = north * std::cos(tilt) - down * std::sin(tilt);
  return {std::atan2(east, geodeticNorth) / kRadiansPerDegree, std::hypot(geodeticNorth, east)};
}
