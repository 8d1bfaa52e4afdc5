// Magnetic declination from the World Magnetic Model 2025, so the calculator can turn the true
// azimuth into the bearing an installer sets on a hand compass.
#pragma once

// The model's years: valid from 2025.0 up to, not including, 2030.0.
constexpr double kMagneticModelEpoch = 2025.0;
constexpr double kMagneticModelEnd = 2030.0;

// Decimal year of a calendar date (month 1-12, day 1-31): the year plus the whole days before
// that day over the year's length, so 1 January is exactly the year.
double decimalYear(int year, int month, int day);

bool magneticModelValid(double year);

// Near the magnetic poles the field's horizontal part is too weak for a compass: under 2000 nT it
// does not work (the model's blackout zone), under 6000 nT it is sluggish and easily pulled off.
constexpr double kCompassBlackoutNt = 2000;
constexpr double kCompassCautionNt = 6000;

struct MagneticField {
  double declination;  // degrees, east positive
  double horizontal;   // horizontal intensity, nT
};

// The field at a geodetic latitude and longitude in degrees (height 0 above the WGS 84
// ellipsoid) for a decimal year. Outside the model's years it extrapolates; at and around the
// poles it still gives numbers, never NaN.
MagneticField magneticField(double latitude, double longitude, double year);
