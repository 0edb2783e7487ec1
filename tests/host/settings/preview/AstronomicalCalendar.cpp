#include "AstronomicalCalendar.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "NewMoon.h"
#include "SolarLongitude.h"

namespace lunar_check {
namespace {

constexpr double kUnixEpochJd = 2440587.5;
constexpr double kSynodicMonth = 29.530588861;

double julianDay(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  return sys_days(std::chrono::year(year) / month / day).time_since_epoch().count() + kUnixEpochJd;
}

// Days since 1970-01-01 on the calendar's clock, with the time of day.
double calendarTime(double jdUt) {
  static const double from1912 = julianDay(1912, 1, 1), from1929 = julianDay(1929, 1, 1);
  const double hours = jdUt >= from1912 && jdUt < from1929 ? 7 + 45 / 60.0 + 40 / 3600.0 : 8;
  return jdUt - kUnixEpochJd + hours / 24;
}

double jdeOfUt(double jdUt) {
  // Two rounds: delta T changes by well under a second a day.
  double jde = jdUt;
  for (int i = 0; i < 2; ++i) jde = jdUt + deltaTSeconds(2000 + (jde - 2451545) / 365.25) / 86400;
  return jde;
}

// The instant (UT) of the winter solstice in December of a year.
double winterSolstice(int year) {
  return universalTime(solarLongitudeCrossing(270, julianDay(year, 12, 21)));
}

}  // namespace

double deltaTSeconds(double y) {
  if (y < 1900 || y > 2150) throw std::out_of_range("delta T outside 1900-2150");
  if (y < 1920) {
    const double t = y - 1900;
    return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
  }
  if (y < 1941) {
    const double t = y - 1920;
    return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
  }
  if (y < 1961) {
    const double t = y - 1950;
    return 29.07 + t * (0.407 + t * (-1 / 233.0 + t / 2547));
  }
  if (y < 1986) {
    const double t = y - 1975;
    return 45.45 + t * (1.067 + t * (-1 / 260.0 - t / 718));
  }
  if (y < 2005) {
    const double t = y - 2000;
    return 63.86 + t * (0.3345 + t * (-0.060374 + t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
  }
  if (y < 2050) {
    const double t = y - 2000;
    return 62.92 + t * (0.32217 + t * 0.005589);
  }
  const double u = (y - 1820) / 100;
  return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

double universalTime(double jde) { return jde - deltaTSeconds(2000 + (jde - 2451545) / 365.25) / 86400; }

std::int32_t calendarDay(double jdUt) { return static_cast<std::int32_t>(std::floor(calendarTime(jdUt))); }

double minutesFromMidnight(double jdUt) {
  const double days = calendarTime(jdUt);
  return (days - std::round(days)) * 1440;
}

std::vector<double> newMoonsBetween(double fromJdUt, double toJdUt) {
  std::vector<double> moons;
  const double fromJde = jdeOfUt(fromJdUt);
  for (int k = static_cast<int>(std::floor((fromJde - 2451550.09766) / kSynodicMonth)) - 1;; ++k) {
    const double ut = universalTime(newMoonJde(k));
    if (ut > toJdUt) break;
    if (ut >= fromJdUt) moons.push_back(ut);
  }
  return moons;
}

std::vector<double> principalTermsBetween(double fromJdUt, double toJdUt) {
  std::vector<double> terms;
  // Start a little before, at the multiple of 30 degrees the sun last passed.
  double estimate = jdeOfUt(fromJdUt) - 31;
  double longitude = std::floor(apparentSolarLongitude(estimate) / 30) * 30;
  for (;;) {
    const double ut = universalTime(solarLongitudeCrossing(longitude, estimate));
    if (ut > toJdUt) break;
    if (ut >= fromJdUt) terms.push_back(ut);
    longitude = std::fmod(longitude + 30, 360.0);
    estimate = jdeOfUt(ut) + 30.44;
  }
  return terms;
}

LunarMonths lunarMonthsCovering(int firstYear, int lastYear) {
  // Each year from one winter solstice to the next decides its own months.
  std::vector<std::int32_t> solsticeDays;
  for (int y = firstYear - 1; y <= lastYear + 1; ++y) solsticeDays.push_back(calendarDay(winterSolstice(y)));
  const double from = winterSolstice(firstYear - 1) - 2 * kSynodicMonth;
  const double to = winterSolstice(lastYear + 1) + 2 * kSynodicMonth;
  std::vector<std::int32_t> moonDays, termDays;
  std::vector<bool> moonUndecided;
  for (double m : newMoonsBetween(from, to)) {
    moonDays.push_back(calendarDay(m));
    moonUndecided.push_back(std::abs(minutesFromMidnight(m)) < kUndecidedMinutes);
  }
  for (double t : principalTermsBetween(from, to)) termDays.push_back(calendarDay(t));

  // The index of the month holding a day.
  auto monthOf = [&](std::int32_t day) {
    return static_cast<std::size_t>(std::upper_bound(moonDays.begin(), moonDays.end(), day) - moonDays.begin()) - 1;
  };
  auto holdsTerm = [&](std::size_t i) {
    auto t = std::lower_bound(termDays.begin(), termDays.end(), moonDays[i]);
    return t != termDays.end() && *t < moonDays[i + 1];
  };

  LunarMonths result;
  for (std::size_t s = 0; s + 1 < solsticeDays.size(); ++s) {
    const int year = firstYear - 1 + static_cast<int>(s);
    const std::size_t eleventh = monthOf(solsticeDays[s]), nextEleventh = monthOf(solsticeDays[s + 1]);
    bool leapToPlace = nextEleventh - eleventh == 13;
    int number = 11, lunarYear = year;
    for (std::size_t i = eleventh; i < nextEleventh; ++i) {
      bool leap = false;
      if (i != eleventh) {
        if (leapToPlace && !holdsTerm(i)) {
          leap = true;
          leapToPlace = false;
        } else {
          number = number % 12 + 1;
          if (number == 1) lunarYear = year + 1;
        }
      }
      result.months.push_back({moonDays[i], lunarYear, number, leap, moonUndecided[i]});
    }
    result.endDay = moonDays[nextEleventh];
  }
  return result;
}

}  // namespace lunar_check
