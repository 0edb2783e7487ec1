#include "NewMoon.h"

#include <cmath>
#include <numbers>

namespace lunar_check {
namespace {

double sinDegrees(double degrees) { return std::sin(degrees * std::numbers::pi / 180); }

// The small planetary corrections: argument (degrees at k = 0, per lunation)
// and coefficient (days).
struct Planetary {
  double a0, a1, coefficient;
};
constexpr Planetary kPlanetary[] = {
    {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164}, {349.42, 36.412478, 0.000126},
    {84.66, 18.206239, 0.000110},  {141.74, 53.303771, 0.000062}, {207.14, 2.453732, 0.000060},
    {154.84, 7.306860, 0.000056},  {34.52, 27.261239, 0.000047},  {207.19, 0.121824, 0.000042},
    {291.34, 1.844379, 0.000040},  {161.72, 24.198154, 0.000037}, {239.56, 25.513099, 0.000035},
    {331.55, 3.592518, 0.000023},
};

}  // namespace

double newMoonJde(int k) {
  const double T = k / 1236.85;
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  const double mean = 2451550.09766 + 29.530588861 * k + 0.00015437 * T2 - 0.000000150 * T3 + 0.00000000073 * T4;
  const double E = 1 - 0.002516 * T - 0.0000074 * T2;  // the Earth's decreasing eccentricity
  const double M = 2.5534 + 29.10535670 * k - 0.0000014 * T2 - 0.00000011 * T3;          // sun's anomaly
  const double Mp = 201.5643 + 385.81693528 * k + 0.0107582 * T2 + 0.00001238 * T3 - 0.000000058 * T4;  // moon's
  const double F = 160.7108 + 390.67050284 * k - 0.0016118 * T2 - 0.00000227 * T3 + 0.000000011 * T4;
  const double Om = 124.7746 - 1.56375588 * k + 0.0020672 * T2 + 0.00000215 * T3;

  double c = -0.40720 * sinDegrees(Mp) + 0.17241 * E * sinDegrees(M) + 0.01608 * sinDegrees(2 * Mp) +
             0.01039 * sinDegrees(2 * F) + 0.00739 * E * sinDegrees(Mp - M) - 0.00514 * E * sinDegrees(Mp + M) +
             0.00208 * E * E * sinDegrees(2 * M) - 0.00111 * sinDegrees(Mp - 2 * F) -
             0.00057 * sinDegrees(Mp + 2 * F) + 0.00056 * E * sinDegrees(2 * Mp + M) - 0.00042 * sinDegrees(3 * Mp) +
             0.00042 * E * sinDegrees(M + 2 * F) + 0.00038 * E * sinDegrees(M - 2 * F) -
             0.00024 * E * sinDegrees(2 * Mp - M) - 0.00017 * sinDegrees(Om) - 0.00007 * sinDegrees(Mp + 2 * M) +
             0.00004 * sinDegrees(2 * Mp - 2 * F) + 0.00004 * sinDegrees(3 * M) +
             0.00003 * sinDegrees(Mp + M - 2 * F) + 0.00003 * sinDegrees(2 * Mp + 2 * F) -
             0.00003 * sinDegrees(Mp + M + 2 * F) + 0.00003 * sinDegrees(Mp - M + 2 * F) -
             0.00002 * sinDegrees(Mp - M - 2 * F) - 0.00002 * sinDegrees(3 * Mp + M) +
             0.00002 * sinDegrees(4 * Mp);
  c += 0.000325 * sinDegrees(299.77 + 0.107408 * k - 0.009173 * T2);
  for (const Planetary& p : kPlanetary) c += p.coefficient * sinDegrees(p.a0 + p.a1 * k);
  return mean + c;
}

}  // namespace lunar_check
