// Lunar dates: every day from 1901 to 2100 against the astronomical rules,
// and published dates and names.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <string>

#include "AstronomicalCalendar.h"
#include "LunarCalendar.h"
#include "NewMoon.h"
#include "SolarLongitude.h"

namespace {

using namespace settings_preview;
using namespace std::chrono;

std::string text(sys_days day) {
  const year_month_day d(day);
  return std::to_string(static_cast<int>(d.year())) + "-" + std::to_string(static_cast<unsigned>(d.month())) + "-" +
         std::to_string(static_cast<unsigned>(d.day()));
}

std::string text(const std::optional<LunarDate>& d) {
  if (!d) return "nothing";
  return std::to_string(d->year) + (d->leap ? " leap " : " ") + std::to_string(d->month) + "-" +
         std::to_string(d->day);
}

// The checker itself reproduces Meeus's worked examples (Astronomical
// Algorithms, examples 22.a, 25.b and 49.a).
TEST(LunarCheck, AstronomyReproducesWorkedExamples) {
  EXPECT_NEAR(lunar_check::nutationInLongitude((2446895.5 - 2451545) / 36525), -3.788, 0.001);
  const double t = (2448908.5 - 2451545) / 365250;
  const double longitude = std::fmod(lunar_check::earthHeliocentricLongitude(t) * 180 / std::numbers::pi, 360.0);
  EXPECT_NEAR(longitude + (longitude < 0 ? 360 : 0), 19.907372, 1e-4);
  EXPECT_NEAR(lunar_check::earthSunDistance(t), 0.99760775, 2e-5);
  EXPECT_NEAR(lunar_check::newMoonJde(-283), 2443192.65118, 1e-5);
}

// Every day, fetched in 42-day spans as a month's view does, matches the
// astronomical calendar, except in a month whose new moon (or the next) falls
// too close to midnight for the computation to decide its day.
TEST(LunarCalendar, EveryDayMatchesTheAstronomicalCalendar) {
  const lunar_check::LunarMonths calendar = lunar_check::lunarMonthsCovering(1901, 2100);
  const auto& months = calendar.months;
  const sys_days first = sys_days(1901y / February / 19), last = sys_days(2100y / December / 31);
  std::size_t m = 0;  // the month holding the day
  int undecidedDays = 0;
  for (sys_days from = sys_days(1901y / January / 1); from <= last + days(30); from += days(42)) {
    const year_month_day start(from);
    const auto dates = lunarDatesFrom(static_cast<int>(start.year()), static_cast<int>(unsigned(start.month())),
                                      static_cast<int>(unsigned(start.day())), 42);
    ASSERT_EQ(dates.size(), 42u);
    for (std::size_t i = 0; i < dates.size(); ++i) {
      const sys_days day = from + days(i);
      if (day < first || day > last) {
        EXPECT_FALSE(dates[i]) << text(day);
        continue;
      }
      const auto n = static_cast<std::int32_t>(day.time_since_epoch().count());
      while (months[m + 1].firstDay <= n) ++m;
      ASSERT_LT(m + 1, months.size());
      const LunarDate expected{months[m].year, months[m].month, n - months[m].firstDay + 1, months[m].leap};
      if (dates[i] == expected) continue;
      if (months[m].undecidedStart || months[m + 1].undecidedStart) {
        ++undecidedDays;
        continue;
      }
      ADD_FAILURE() << text(day) << ": expected " << text(expected) << ", got " << text(dates[i]);
    }
  }
  EXPECT_LT(undecidedDays, 40);  // the month of 2057-09-28/29, left to ICU
}

TEST(LunarCalendar, PublishedDates) {
  EXPECT_EQ(lunarDateOf(2026, 2, 17), (LunarDate{2026, 1, 1, false}));   // New Year
  EXPECT_EQ(lunarDateOf(2027, 2, 6), (LunarDate{2027, 1, 1, false}));    // New Year
  EXPECT_EQ(lunarDateOf(2026, 9, 25), (LunarDate{2026, 8, 15, false}));  // mid-autumn
  EXPECT_EQ(lunarDateOf(2025, 7, 25), (LunarDate{2025, 6, 1, true}));
  EXPECT_EQ(lunarDateOf(1987, 7, 26), (LunarDate{1987, 6, 1, true}));
  EXPECT_EQ(lunarDateOf(1901, 2, 19), (LunarDate{1901, 1, 1, false}));
  EXPECT_FALSE(lunarDateOf(1901, 2, 18));
  EXPECT_FALSE(lunarDateOf(2101, 1, 1));
  EXPECT_FALSE(lunarDateOf(2026, 2, 29));
  EXPECT_FALSE(lunarDateOf(2026, 13, 1));
  EXPECT_EQ(lunarDatesFrom(2026, 2, 30, 3), (std::vector<std::optional<LunarDate>>(3)));
  EXPECT_TRUE(lunarDatesFrom(2026, 2, 1, -1).empty());
}

TEST(LunarCalendar, TraditionalNames) {
  EXPECT_EQ(lunarDayText({2026, 1, 1, false}), "正月");
  EXPECT_EQ(lunarDayText({2025, 6, 1, true}), "闰六月");
  EXPECT_EQ(lunarDayText({2025, 11, 1, false}), "冬月");
  EXPECT_EQ(lunarDayText({2025, 12, 1, false}), "腊月");
  EXPECT_EQ(lunarDayText({2025, 12, 29, false}), "廿九");
  EXPECT_EQ(lunarDayText({2025, 12, 30, false}), "三十");
  EXPECT_EQ(lunarDayName(1), "初一");
  EXPECT_EQ(lunarDayName(10), "初十");
  EXPECT_EQ(lunarDayName(11), "十一");
  EXPECT_EQ(lunarDayName(20), "二十");
  EXPECT_EQ(lunarDayName(21), "廿一");
  EXPECT_EQ(lunarDayName(31), "");
  EXPECT_EQ(lunarMonthName(13, false), "");
}

}  // namespace
