// One iCalendar file as the event store sees it: its calendar (title and
// identifier) and its events, parsed once with libical and kept until the
// file changes on disk.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EventKit/EKCalendar.h"
#include "platform/core/Value.h"

namespace eventkit {

class CalendarFile {
 public:
  // The file in a host directory, read now or taken from the process-wide
  // cache when its stamp is unchanged; null when the file is hidden, not
  // named "*.ics", unreadable, over the size limit or not iCalendar, or when
  // its name, title or identifier is not valid UTF-8.
  static std::shared_ptr<const CalendarFile> open(const std::string& directory, const std::string& fileName);

  ~CalendarFile();
  CalendarFile(const CalendarFile&) = delete;
  CalendarFile& operator=(const CalendarFile&) = delete;

  const std::shared_ptr<EKCalendar>& calendar() const { return calendar_; }

  // Calls `occurrence` for every occurrence overlapping [from, to), recurring
  // events expanded (RRULE, RDATE, EXDATE, and instances that a RECURRENCE-ID
  // component replaces). Expansion is bounded per event, so a rule that
  // repeats every second cannot run away.
  using Occurrence = std::function<void(const std::string& title, platform::Date start, platform::Date end, bool allDay)>;
  void occurrences(platform::Date from, platform::Date to, const Occurrence& occurrence) const;

  struct Parsed;

 private:
  static std::shared_ptr<const CalendarFile> parse(const std::string& directory, const std::string& fileName);
  explicit CalendarFile(std::unique_ptr<Parsed> parsed, std::shared_ptr<EKCalendar> calendar);

  std::unique_ptr<Parsed> parsed_;
  std::shared_ptr<EKCalendar> calendar_;
};

}  // namespace eventkit
