// Lunar dates: ICU's Chinese calendar, with the months it gets wrong replaced
// by the published ones.
#include "LunarCalendar.h"

#include <array>
#include <chrono>

#include "IcuChineseCalendar.h"
#include "LunarCorrections.h"

namespace settings_preview {
namespace {

using namespace std::chrono;

constexpr sys_days kFirstDay = sys_days(1901y / February / 19);
constexpr sys_days kLastDay = sys_days(2100y / December / 31);

// Looks days up, opening ICU's calendar only when a day needs it.
class LunarLookup {
 public:
  std::optional<LunarDate> dateOf(sys_days day) {
    if (day < kFirstDay || day > kLastDay) return std::nullopt;
    if (auto corrected = correctedLunarDate(day)) return corrected;
    if (!icu_) icu_.emplace();
    return icu_->dateOf(day);
  }

 private:
  std::optional<IcuChineseCalendar> icu_;
};

std::optional<sys_days> dayOf(int y, int m, int d) {
  if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  const year_month_day date{year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d))};
  if (!date.ok()) return std::nullopt;
  return sys_days(date);
}

}  // namespace

std::optional<LunarDate> lunarDateOf(int year, int month, int day) {
  const auto date = dayOf(year, month, day);
  if (!date) return std::nullopt;
  return LunarLookup().dateOf(*date);
}

std::vector<std::optional<LunarDate>> lunarDatesFrom(int year, int month, int day, int count) {
  std::vector<std::optional<LunarDate>> dates;
  if (count <= 0) return dates;
  const auto first = dayOf(year, month, day);
  if (!first) return std::vector<std::optional<LunarDate>>(static_cast<std::size_t>(count));
  dates.reserve(static_cast<std::size_t>(count));
  LunarLookup lookup;
  std::optional<LunarDate> previous;
  for (int i = 0; i < count; ++i) {
    const sys_days date = *first + days(i);
    // Every month has at least 29 days: up to the 28th the next day follows
    // in the same month, and only the days after need a lookup.
    if (previous && previous->day < 29 && date <= kLastDay) {
      ++previous->day;
    } else {
      previous = lookup.dateOf(date);
    }
    dates.push_back(previous);
  }
  return dates;
}

std::string lunarMonthName(int month, bool leap) {
  static constexpr std::array<const char*, 12> kNames = {"正月", "二月", "三月", "四月", "五月", "六月",
                                                         "七月", "八月", "九月", "十月", "冬月", "腊月"};
  if (month < 1 || month > 12) return {};
  return std::string(leap ? "闰" : "") + kNames[static_cast<std::size_t>(month - 1)];
}

std::string lunarDayName(int day) {
  static constexpr std::array<const char*, 10> kDigits = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
  if (day < 1 || day > 30) return {};
  if (day == 20) return "二十";
  if (day == 30) return "三十";
  static constexpr std::array<const char*, 3> kTens = {"初", "十", "廿"};
  const auto index = static_cast<std::size_t>(day - 1);
  return std::string(kTens[index / 10]) + kDigits[index % 10];
}

std::string lunarDayText(const LunarDate& date) {
  return date.day == 1 ? lunarMonthName(date.month, date.leap) : lunarDayName(date.day);
}

}  // namespace settings_preview
