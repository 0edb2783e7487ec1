// The Chinese lunar calendar computed from the astronomical rules the
// published calendar follows, as the independent check of the calendar code:
// a month starts on the day of its new moon; the month holding the winter
// solstice is the 11th; in a year from one 11th month to the next with 13
// months, the first month holding no principal solar term (a multiple of 30
// degrees of solar longitude) is a leap month and repeats the previous month's
// number. Days are those of the calendar's clock: China Standard Time (UTC+8),
// except from 1912 to 1928, when the almanacs reckoned in Beijing mean solar
// time (UTC+7:45:40). (For 1901-1911 the published dates are those of the last
// imperial almanacs, which UTC+8 reproduces; Beijing mean time would start
// the fourth month of 1906 a day early.)
#pragma once

#include <cstdint>
#include <vector>

namespace lunar_check {

// TT - UT in seconds for a decimal year (the polynomials of Espenak and Meeus,
// fitted to observations up to 2005 and extrapolated after).
double deltaTSeconds(double year);

// The Julian Day (UT) of a Julian Ephemeris Day (TT).
double universalTime(double jde);

// The date on the calendar's clock of an instant given as a Julian Day (UT),
// as days since 1970-01-01.
std::int32_t calendarDay(double jdUt);

// Minutes from the nearest midnight on the calendar's clock to the instant:
// negative when the instant comes before that midnight.
double minutesFromMidnight(double jdUt);

// How close to midnight an event must fall for the computation (new moons to
// some 20 seconds, delta T extrapolated after 2024) not to decide its day.
constexpr double kUndecidedMinutes = 2;

// The instants (Julian Days, UT) of the new moons, and of the principal solar
// terms, between two Julian Days (UT), in order.
std::vector<double> newMoonsBetween(double fromJdUt, double toJdUt);
std::vector<double> principalTermsBetween(double fromJdUt, double toJdUt);

// One month: its first day (days since 1970-01-01), the Gregorian year in
// which its lunar year began, its number 1..12, whether it is a leap month,
// and whether its new moon falls too close to midnight to decide that day.
struct LunarMonth {
  std::int32_t firstDay;
  int year;
  int month;
  bool leap;
  bool undecidedStart;
};

// The months, in order, covering every day of the Gregorian years firstYear
// to lastYear, and the first day after the last of them.
struct LunarMonths {
  std::vector<LunarMonth> months;
  std::int32_t endDay;
};
LunarMonths lunarMonthsCovering(int firstYear, int lastYear);

}  // namespace lunar_check
