// The Chinese lunar calendar as published for 1901 to 2100 (the Hong Kong
// Observatory's tables): months start on the day of the new moon, and the
// principal solar terms place the leap months, with days reckoned in China
// Standard Time (UTC+8), from 1912 to 1928 in Beijing mean solar time.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace settings_preview {

// A date of the lunar calendar. `year` is the Gregorian year in which that
// lunar year's first day (正月初一) falls; month is 1..12, day 1..30, and a
// leap month repeats the number of the month before it.
struct LunarDate {
  int year;
  int month;
  int day;
  bool leap;
  friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// The lunar date of a Gregorian date. Nothing for a date that is not a real
// date, one outside 1901-02-19 (lunar 1901-1-1) to 2100-12-31, or when the
// system's calendar library fails.
std::optional<LunarDate> lunarDateOf(int year, int month, int day);

// The lunar dates of `count` consecutive days from a Gregorian date, one
// entry per day, each as lunarDateOf would give it (a negative count gives
// none). Cheaper per day than separate calls: meant for a month's view.
std::vector<std::optional<LunarDate>> lunarDatesFrom(int year, int month, int day, int count);

// The traditional names: of a month (正月 二月 … 十月 冬月 腊月, a leap month
// with 闰 before it) and of a day (初一 … 初十 十一 … 十九 二十 廿一 … 廿九
// 三十). Empty for a month outside 1..12 or a day outside 1..30.
std::string lunarMonthName(int month, bool leap);
std::string lunarDayName(int day);

// How a calendar shows the date: the month's name on its first day, the
// day's name on every other.
std::string lunarDayText(const LunarDate& date);

}  // namespace settings_preview
