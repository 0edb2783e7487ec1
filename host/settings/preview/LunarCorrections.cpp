#include "LunarCorrections.h"

#include <algorithm>
#include <iterator>

namespace settings_preview {
namespace {

using namespace std::chrono;

// One month as published: its first day, its lunar year, number and leap
// flag, and its length in days.
struct PublishedMonth {
  year_month_day first;
  int year;
  int month;
  bool leap;
  int length;
};

// In order of first day. The new moon of 2057-09-28/29 falls within seconds of
// midnight, closer than any computation can place it: that month is left to
// ICU, which starts it on the 29th.
constexpr PublishedMonth kMonths[] = {
    {1917y / 3 / 23, 1917, 2, true, 29},  // ICU: 3rd month here, leap 3rd next
    {1917y / 4 / 21, 1917, 3, false, 30},
    {1922y / 6 / 25, 1922, 5, true, 29},  // ICU: 6th month here, leap 6th next
    {1922y / 7 / 24, 1922, 6, false, 30},
    {1954y / 2 / 3, 1954, 1, false, 30},  // ICU: a day late
    {1955y / 2 / 22, 1955, 2, false, 30},  // ICU: a day late
    {1987y / 7 / 26, 1987, 6, true, 29},  // ICU: 7th month here, leap 7th next
    {1987y / 8 / 24, 1987, 7, false, 30},
    {1999y / 1 / 17, 1998, 12, false, 30},  // ICU: a day late
    {2012y / 8 / 17, 2012, 7, false, 30},  // ICU: a day late
    {2018y / 10 / 9, 2018, 9, false, 30},  // ICU: the 10th month a day early
    {2018y / 11 / 8, 2018, 10, false, 29},
    {2027y / 2 / 6, 2027, 1, false, 30},  // ICU: a day late
    {2030y / 1 / 4, 2029, 12, false, 30},  // ICU: the 1st month a day early
    {2030y / 2 / 3, 2030, 1, false, 29},
    {2070y / 3 / 12, 2070, 2, false, 30},  // ICU: a day late
};

}  // namespace

std::optional<LunarDate> correctedLunarDate(sys_days day) {
  auto after = std::upper_bound(std::begin(kMonths), std::end(kMonths), day,
                                [](sys_days d, const PublishedMonth& m) { return d < sys_days(m.first); });
  if (after == std::begin(kMonths)) return std::nullopt;
  const PublishedMonth& m = *std::prev(after);
  const auto offset = (day - sys_days(m.first)).count();
  if (offset >= m.length) return std::nullopt;
  return LunarDate{m.year, m.month, static_cast<int>(offset) + 1, m.leap};
}

}  // namespace settings_preview
