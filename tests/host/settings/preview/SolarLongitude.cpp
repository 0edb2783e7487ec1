// The sun's apparent longitude and the instants of given longitudes (Meeus,
// Astronomical Algorithms, chapters 25 and 32).
#include "SolarLongitude.h"

#include <cmath>
#include <numbers>

namespace lunar_check {
namespace {

constexpr double kJ2000 = 2451545.0;

// The difference a - b of two longitudes in degrees, in [-180, 180).
double longitudeDifference(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d < -180) d += 360;
  if (d >= 180) d -= 360;
  return d;
}

}  // namespace

double apparentSolarLongitude(double jde) {
  const double t = (jde - kJ2000) / 365250;
  // Geocentric: the opposite of the Earth's heliocentric longitude.
  double degrees = earthHeliocentricLongitude(t) * 180 / std::numbers::pi + 180;
  const double arcseconds = -0.09033                           // VSOP87 to FK5
                            + nutationInLongitude(t * 10)      //
                            - 20.4898 / earthSunDistance(t);  // aberration
  degrees = std::fmod(degrees + arcseconds / 3600, 360.0);
  return degrees < 0 ? degrees + 360 : degrees;
}

double solarLongitudeCrossing(double degrees, double estimateJde) {
  // Secant steps: the longitude is smooth and nearly linear over days.
  double t0 = estimateJde;
  double f0 = longitudeDifference(apparentSolarLongitude(t0), degrees);
  double t1 = t0 - f0 * 365.2422 / 360;
  for (int i = 0; i < 20; ++i) {
    const double f1 = longitudeDifference(apparentSolarLongitude(t1), degrees);
    if (f1 == f0) break;
    const double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
    t0 = t1;
    f0 = f1;
    t1 = t2;
    if (std::abs(t1 - t0) < 1e-8) break;  // about a millisecond
  }
  return t1;
}

}  // namespace lunar_check
