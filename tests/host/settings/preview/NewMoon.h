// Instants of new moon (Meeus, Astronomical Algorithms, chapter 49): within
// about 20 seconds of the modern lunar theory from 1900 to 2100.
#pragma once

namespace lunar_check {

// The Julian Ephemeris Day (TT) of new moon number k, counted from the new
// moon of 2000-01-06 (k = 0); negative k count back.
double newMoonJde(int k);

}  // namespace lunar_check
