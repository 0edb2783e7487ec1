#include "Preview.h"

#include <algorithm>

#include "EventKit/EventKit.h"
#include "platform/os/Clock.h"

namespace settings_preview {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// A holiday date "MMDD": four ASCII digits naming a month and a day.
std::optional<std::pair<unsigned, unsigned>> monthAndDay(const std::string& text) {
  if (text.size() != 4 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  unsigned m = static_cast<unsigned>((text[0] - '0') * 10 + (text[1] - '0'));
  unsigned d = static_cast<unsigned>((text[2] - '0') * 10 + (text[3] - '0'));
  if (m < 1 || m > 12 || d < 1) return std::nullopt;
  return std::pair{m, d};
}

// Holidays by month * 100 + day; entries that name no real date go to
// `unmatched`. A solar date is real when some year has it (0229 is); a lunar
// month has at most 30 days.
using HolidayIndex = std::vector<std::vector<std::string>>;

HolidayIndex indexHolidays(const platform::Dictionary& holidays, bool lunar, std::vector<UnmatchedHoliday>& unmatched) {
  HolidayIndex index(1300);
  for (const auto& [date, value] : holidays) {
    auto md = monthAndDay(date);
    const std::string* name = value.string();
    unsigned longest = lunar ? 30 : static_cast<unsigned>((year(2000) / month(md ? md->first : 1) / std::chrono::last).day());
    if (!md || md->second > longest || !name) {
      unmatched.push_back(UnmatchedHoliday{date, name ? *name : std::string(), lunar});
      continue;
    }
    index[md->first * 100 + md->second].push_back(*name);
  }
  return index;
}

// The first and last day shown.
std::pair<sys_days, sys_days> shownDays(bool weekView, const std::optional<PreviewDate>& date, year_month_day today) {
  year_month_day anchor = date ? date->date : today;
  if (!weekView) {
    year_month_day first = anchor.year() / anchor.month() / 1;
    year_month_day last = anchor.year() / anchor.month() / std::chrono::last;
    return {sys_days(first), sys_days(last)};
  }
  if (date && !date->dayGiven)
    anchor = today.year() == anchor.year() && today.month() == anchor.month() ? today : anchor.year() / anchor.month() / 1;
  sys_days chosen(anchor);
  sys_days sunday = chosen - days(std::chrono::weekday(chosen).c_encoding());
  return {sunday, sunday + days(6)};
}

platform::Date localMidnight(sys_days d) {
  year_month_day ymd(d);
  return platform::dateFromLocalTime({static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                                      static_cast<int>(static_cast<unsigned>(ymd.day())), 0, 0, 0});
}

sys_days localDay(platform::Date date) {
  platform::CivilTime t = platform::localTimeOf(date);
  return sys_days(year(t.year) / month(static_cast<unsigned>(t.month)) / day(static_cast<unsigned>(t.day)));
}

// Adds the chosen calendars' occurrences to the days they cover.
void addEvents(const StoredSettings& settings, sys_days first, std::vector<PreviewDay>& shown) {
  EKEventStore store;
  std::vector<std::shared_ptr<EKCalendar>> chosen;
  for (const auto& calendar : store.calendars()) {
    if (!settings.calendars || std::find(settings.calendars->begin(), settings.calendars->end(),
                                         calendar->calendarIdentifier()) != settings.calendars->end())
      chosen.push_back(calendar);
  }
  if (chosen.empty()) return;
  sys_days last = first + days(static_cast<int>(shown.size()) - 1);
  auto events = store.eventsMatchingPredicate(
      store.predicateForEventsWithStartDate(localMidnight(first), localMidnight(last + days(1)), chosen));
  for (const auto& event : events) {
    sys_days from = std::max(localDay(event->startDate()), first);
    // An occurrence covers the days up to the instant before it ends; one of
    // no length covers the day it starts.
    platform::Date lastInstant{std::max(event->startDate().seconds, event->endDate().seconds - 1)};
    sys_days to = std::min(localDay(lastInstant), last);
    for (sys_days d = from; d <= to; d += days(1))
      shown[static_cast<std::size_t>((d - first).count())].events.push_back(
          PreviewEvent{event->title(), event->calendar()->calendarIdentifier()});
  }
}

}  // namespace

std::optional<PreviewDate> parsePreviewDate(std::string_view text) {
  auto number = [&](std::size_t at, std::size_t length) -> std::optional<unsigned> {
    if (at + length > text.size()) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return value;
  };
  if ((text.size() != 7 && text.size() != 10) || text[4] != '-' || (text.size() == 10 && text[7] != '-'))
    return std::nullopt;
  auto y = number(0, 4), m = number(5, 2);
  auto d = text.size() == 10 ? number(8, 2) : std::optional<unsigned>(1);
  if (!y || !m || !d || *y < 1) return std::nullopt;
  year_month_day date = year(static_cast<int>(*y)) / month(*m) / day(*d);
  if (!date.ok()) return std::nullopt;
  return PreviewDate{date, text.size() == 10};
}

year_month_day localToday() {
  platform::CivilTime t = platform::localTimeOf(platform::now());
  return year(t.year) / month(static_cast<unsigned>(t.month)) / day(static_cast<unsigned>(t.day));
}

Preview buildPreview(const StoredSettings& settings, const std::optional<PreviewDate>& date, year_month_day today) {
  Preview preview;
  preview.weekView = settings.weekView;
  preview.today = today;
  preview.colors = settings.colors;
  auto solar = indexHolidays(settings.solarHolidays, false, preview.unmatched);
  auto lunar = indexHolidays(settings.lunarHolidays, true, preview.unmatched);

  auto [first, last] = shownDays(settings.weekView, date, today);
  int count = static_cast<int>((last - first).count()) + 1;
  year_month_day start(first);
  // Lunar holidays fall on their days whether or not lunar dates are shown.
  std::vector<std::optional<LunarDate>> lunarDates = lunarDatesFrom(static_cast<int>(start.year()), static_cast<int>(static_cast<unsigned>(start.month())),
                                static_cast<int>(static_cast<unsigned>(start.day())), count);
  for (int i = 0; i < count; ++i) {
    sys_days d = first + days(i);
    PreviewDay shown{year_month_day(d), std::chrono::weekday(d).c_encoding(), std::nullopt, {}, {}};
    for (const std::string& name : solar[static_cast<unsigned>(shown.date.month()) * 100 + static_cast<unsigned>(shown.date.day())])
      shown.holidays.push_back(PreviewHoliday{name, false});
    if (const std::optional<LunarDate>& lunarDate = lunarDates[static_cast<std::size_t>(i)]) {
      if (settings.showLunar) shown.lunar = lunarDate;
      if (!lunarDate->leap)
        for (const std::string& name : lunar[static_cast<std::size_t>(lunarDate->month * 100 + lunarDate->day)])
          shown.holidays.push_back(PreviewHoliday{name, true});
    }
    preview.days.push_back(std::move(shown));
  }
  addEvents(settings, first, preview.days);
  return preview;
}

}  // namespace settings_preview
