// A preview of what the stored settings describe: the days of a month (or,
// in the week view, of a week), each with its lunar date, the custom
// holidays that fall on it and the chosen calendars' events, and the colours
// they are drawn in. The widget's own drawing is its business; this shows
// the settings' effect without a device.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LunarCalendar.h"
#include "StoredSettings.h"

namespace settings_preview {

struct PreviewHoliday {
  std::string name;
  bool lunar = false;
};

struct PreviewEvent {
  std::string title;
  std::string calendar;  // the calendar's identifier
};

struct PreviewDay {
  std::chrono::year_month_day date;
  unsigned weekday = 0;  // 0 is Sunday
  std::optional<LunarDate> lunar;  // nothing when lunar dates are off
  std::vector<PreviewHoliday> holidays;
  std::vector<PreviewEvent> events;
};

// A custom holiday whose date is not four digits of a real date: it matches
// no day and is listed instead.
struct UnmatchedHoliday {
  std::string date;
  std::string name;
  bool lunar = false;
};

struct Preview {
  bool weekView = false;
  std::chrono::year_month_day today;
  std::vector<std::pair<std::string, std::uint32_t>> colors;
  std::vector<PreviewDay> days;
  std::vector<UnmatchedHoliday> unmatched;
};

// What to preview: a month ("YYYY-MM"), or a day ("YYYY-MM-DD") whose week
// the week view shows (the month view shows its month).
struct PreviewDate {
  std::chrono::year_month_day date;
  bool dayGiven = false;
};

// Parses "YYYY-MM" or "YYYY-MM-DD" (a real date, years 1 to 9999); nothing
// otherwise.
std::optional<PreviewDate> parsePreviewDate(std::string_view text);

// Builds the preview for a date (nothing: today's month or week). In the
// week view, a month without a day shows the week holding today when today
// is in that month, else the week holding its first day. Events come from
// the event store's calendars that the settings choose.
Preview buildPreview(const StoredSettings& settings, const std::optional<PreviewDate>& date,
                     std::chrono::year_month_day today);

// The local date now.
std::chrono::year_month_day localToday();

}  // namespace settings_preview
