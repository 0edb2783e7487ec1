// The sun's apparent longitude, precise to a fraction of an arcsecond (a few
// seconds of time) from 1900 to 2100: the place of the solar terms.
#pragma once

namespace lunar_check {

// The Earth's heliocentric longitude (radians, not reduced) and distance from
// the sun (AU), ecliptic and equinox of date, at t Julian millennia of
// Terrestrial Time from J2000.0.
double earthHeliocentricLongitude(double t);
double earthSunDistance(double t);

// The nutation in longitude, in arcseconds, at T Julian centuries of TT from
// J2000.0 (the 1980 IAU theory).
double nutationInLongitude(double T);

// The sun's apparent geocentric longitude in degrees, in [0, 360), at a Julian
// Ephemeris Day (TT): geometric longitude in the FK5 frame, plus nutation and
// aberration.
double apparentSolarLongitude(double jde);

// The Julian Ephemeris Day at which the apparent longitude reaches `degrees`,
// the crossing nearest to `estimateJde` (which must lie within a few days of
// it).
double solarLongitudeCrossing(double degrees, double estimateJde);

}  // namespace lunar_check
