// Finds the months ICU's Chinese calendar gets wrong from 1901 to 2100 by
// comparing every day with the astronomical computation, and prints them as
// the rows of the correction table (a month whose new moon, or next new moon,
// falls too close to midnight for the computation to decide is printed as a
// comment and left to ICU); then lists the new moons and principal solar terms
// that close to midnight.
#include <chrono>
#include <cmath>
#include <cstdio>

#include "AstronomicalCalendar.h"
#include "IcuChineseCalendar.h"

namespace {

using namespace std::chrono;
using lunar_check::LunarMonth;

constexpr sys_days kFirstDay = sys_days(1901y / February / 19);
constexpr sys_days kLastDay = sys_days(2100y / December / 31);

sys_days dayOf(std::int32_t daysSinceEpoch) { return sys_days(days(daysSinceEpoch)); }

void printDate(sys_days day) {
  const year_month_day d(day);
  std::printf("%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
              static_cast<unsigned>(d.day()));
}

void printLunar(const std::optional<settings_preview::LunarDate>& d) {
  if (!d) {
    std::printf("(none)");
    return;
  }
  std::printf("%d %s%d-%d", d->year, d->leap ? "leap " : "", d->month, d->day);
}

}  // namespace

int main() {
  const lunar_check::LunarMonths calendar = lunar_check::lunarMonthsCovering(1901, 2100);
  settings_preview::IcuChineseCalendar icu;

  std::printf("Months ICU gets wrong, as published:\n");
  for (std::size_t i = 0; i < calendar.months.size(); ++i) {
    const LunarMonth& m = calendar.months[i];
    const bool last = i + 1 == calendar.months.size();
    const std::int32_t end = last ? calendar.endDay : calendar.months[i + 1].firstDay;
    bool wrong = false;
    for (std::int32_t d = m.firstDay; d < end; ++d) {
      if (dayOf(d) < kFirstDay || dayOf(d) > kLastDay) continue;
      const settings_preview::LunarDate published{m.year, m.month, d - m.firstDay + 1, m.leap};
      if (icu.dateOf(dayOf(d)) != published) wrong = true;
    }
    if (!wrong) continue;
    const bool undecided = m.undecidedStart || (!last && calendar.months[i + 1].undecidedStart);
    const year_month_day first(dayOf(m.firstDay));
    std::printf("    %s{%dy / %u / %u, %d, %d, %s, %d},  // ICU: ", undecided ? "// undecided, left to ICU: " : "",
                static_cast<int>(first.year()), static_cast<unsigned>(first.month()),
                static_cast<unsigned>(first.day()), m.year, m.month, m.leap ? "true" : "false", end - m.firstDay);
    printLunar(icu.dateOf(dayOf(m.firstDay)));
    std::printf(" on the first day, ");
    printLunar(icu.dateOf(dayOf(end - 1)));
    std::printf(" on the last\n");
  }

  // The index of the month holding a day.
  auto monthHolding = [&](std::int32_t day) {
    std::size_t i = 0;
    while (i + 1 < calendar.months.size() && calendar.months[i + 1].firstDay <= day) ++i;
    return i;
  };
  std::printf("\nEvents within %.0f minutes of midnight (calendar clock):\n", lunar_check::kUndecidedMinutes);
  auto report = [&](const char* kind, double jdUt) {
    const double minutes = lunar_check::minutesFromMidnight(jdUt);
    if (std::abs(minutes) >= lunar_check::kUndecidedMinutes) return;
    // The day starting at the nearest midnight.
    const sys_days midnight = dayOf(lunar_check::calendarDay(jdUt)) + days(minutes < 0 ? 1 : 0);
    if (midnight < kFirstDay - days(60) || midnight > kLastDay) return;
    std::printf("  %-14s %+.2f min from the start of ", kind, minutes);
    printDate(midnight);
    const std::int32_t day = static_cast<std::int32_t>(midnight.time_since_epoch().count());
    std::printf("%s\n", monthHolding(day) != monthHolding(day - 1) ? ", a month's first day" : "");
  };
  const double from = 2415385.5, to = 2488434.5;  // 1901-01-01 to 2101-01-01
  for (double m : lunar_check::newMoonsBetween(from, to)) report("new moon", m);
  for (double t : lunar_check::principalTermsBetween(from, to)) report("principal term", t);
  return 0;
}
